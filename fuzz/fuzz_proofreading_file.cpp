// A proofreading file (.tolvane-proof) read from arbitrary bytes. Properties: a file either
// reads or raises Error "<file>:<line>: <what>" naming a line of the file; a file that reads
// keeps its text byte for byte (everything after the empty line) and only corrections that
// stand where they say; it reads back the same after being written, from memory and through a
// file; and its line ends written as LF or as CR LF keep every correction on its characters.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "FuzzInput.h"
#include "documents/ProofreadingFile.h"
#include "platform/Error.h"

using namespace tolvane;

namespace {

// Each correction of one occurrence has its characters at its place in the text.
void CheckCorrectionsStand(const ProofreadingText& text) {
  const std::string& whole = text.Text();
  for (const Correction& correction : text.Corrections()) {
    FUZZ_CHECK(CorrectionProblem(correction).empty());
    if (correction.scope != CorrectionScope::Occurrence) continue;
    const std::size_t begin = ByteOffsetOfCodePoint(whole, correction.position);
    FUZZ_CHECK(whole.compare(begin, correction.characters.size(), correction.characters) == 0);
  }
  FUZZ_CHECK(text.ChosenSyllables().size() == CodePointCount(whole));
}

ProofreadingText ReadBack(const ProofreadingText& text) {
  return ParseProofreadingFile(ProofreadingFileText(text), "again.tolvane-proof");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("tolvane-fuzz-proofreading-" + std::to_string(getpid()) + ".tolvane-proof");
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  ProofreadingText text;
  try {
    text = ParseProofreadingFile(content, "fuzz.tolvane-proof");
  } catch (const Error& error) {
    const std::string_view what(error.what());
    constexpr std::string_view kStart = "fuzz.tolvane-proof:";
    FUZZ_CHECK(what.starts_with(kStart));
    FUZZ_CHECK(error.path() == "fuzz.tolvane-proof");
    // The line named is one of the file's, or the one after its last when a line is missing.
    const std::size_t line =
        std::strtoul(std::string(what.substr(kStart.size())).c_str(), nullptr, 10);
    const auto lines = static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n'));
    FUZZ_CHECK(line >= 1 && line <= lines + 1);
    return 0;
  }
  FUZZ_CHECK(content.ends_with(text.Text()));
  CheckCorrectionsStand(text);

  FUZZ_CHECK(ReadBack(text) == text);
  WriteProofreadingFile(text, path);
  FUZZ_CHECK(ReadProofreadingFile(path) == text);
  std::filesystem::remove(path);

  for (const bool crlf : {false, true}) {
    const ProofreadingText ends = WithLineEnds(text, crlf);
    FUZZ_CHECK(ends.Corrections().size() == text.Corrections().size());
    CheckCorrectionsStand(ends);
    FUZZ_CHECK(ReadBack(ends) == ends);
  }
  return 0;
}
