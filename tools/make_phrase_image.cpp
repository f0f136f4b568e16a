// Makes the image of the phrase data (reading/context/PhraseImage.h) from its three text files,
// at build time:
//
//   make_phrase_image WORDS PAIRS CHARACTERS IMAGE
#include <cstdio>
#include <exception>

#include "reading/context/PhraseImage.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s WORDS PAIRS CHARACTERS IMAGE\n", argv[0]);
    return 2;
  }
  try {
    const auto sources = tolvane::FingerprintPhraseFiles(argv[1], argv[2], argv[3]);
    const auto data = tolvane::PhraseData::Load(argv[1], argv[2], argv[3]);
    if (!sources) {
      std::fprintf(stderr, "%s: cannot read the text files\n", argv[0]);
      return 1;
    }
    tolvane::WritePhraseImage(*data, *sources, argv[4]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
  }
  return 0;
}
