// The image of the phrase data from arbitrary bytes: passed over, or taken and then safe to ask
// anything. The input changes a valid image made from small files, its header's hash made to pass
// as a forger would: opening checks only the header, so what the fuzzer explores is the entries
// of every array, which lookups check where they read them. Whatever is taken must answer from
// within its arrays, with syllable ids that are the data's, and end every lookup.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzInput.h"
#include "reading/context/PhraseImage.h"

using namespace tolvane;

namespace {

struct Fixture {
  std::filesystem::path folder;
  PhraseSources sources;
  std::string image;
};

void Write(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

const Fixture& TheFixture() {
  static const Fixture fixture = [] {
    Fixture f;
    f.folder = std::filesystem::temp_directory_path() /
               ("fuzz_phrase_image." + std::to_string(::getpid()));
    std::filesystem::create_directories(f.folder);
    Write(f.folder / "w",
          "一\t5\tyi1\n一下\t4\tyi2 xia4\n中国人\t3\tzhong1 guo2 ren2\n𠀀𠀁\t2\tqiu1 -\n");
    Write(f.folder / "p", "行长\t1\thang2\n长大\t2\t*\n");
    Write(f.folder / "c", "长\tzhang3\n𠀁\tkao3\n");
    f.sources = *FingerprintPhraseFiles(f.folder / "w", f.folder / "p", f.folder / "c");
    WritePhraseImage(*PhraseData::Load(f.folder / "w", f.folder / "p", f.folder / "c"), f.sources,
                     f.folder / "image");
    std::ifstream in(f.folder / "image", std::ios::binary);
    f.image.assign(std::istreambuf_iterator<char>(in), {});
    return f;
  }();
  return fixture;
}

// The arrays' places follow the header's first 128 bytes: an offset and a count each, 16 of them.
constexpr std::size_t kArrays = 16;
std::size_t ArrayOffset(const std::string& image, std::size_t array) {
  std::uint64_t offset = 0;
  std::memcpy(&offset, image.data() + 128 + 16 * array, sizeof offset);
  return static_cast<std::size_t>(offset);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Fixture& fixture = TheFixture();
  fuzz::FuzzInput input(data, size);
  // Bytes written over the valid image at a place the input picks: within one of the arrays (an
  // image is mostly the tables of the Basic Multilingual Plane and the open tables, beyond what
  // two bytes of offset reach from its start), or from the start; the rest cuts it.
  std::string bytes = fixture.image;
  const std::size_t array = input.Byte();
  std::size_t at = input.Byte() * 256 + input.Byte();
  if (array < kArrays) at += ArrayOffset(fixture.image, array);
  const std::string patch = input.Bytes(64);
  if (at < bytes.size()) bytes.replace(at, std::min(patch.size(), bytes.size() - at), patch);
  if (input.Byte() == 0) bytes.resize(std::min(bytes.size(), std::size_t{input.Byte()} * 97));
  SealPhraseImage(bytes);
  const auto path = fixture.folder / "try";
  Write(path, bytes);

  const auto phrases = OpenPhraseImage(path, fixture.sources);
  if (!phrases) return 0;
  const std::u32string text = U"一下中国人行长大𠀀𠀁乙";
  for (std::size_t i = 0; i < text.size(); ++i) {
    phrases->ForEachWordAt(
        std::u32string_view(text).substr(i), [&](const PhraseData::WordMatch& match) {
          FUZZ_CHECK(match.readings.size() == match.length);
          const SyllableId* spoken = phrases->SpokenReadingsOf(match.readings.data());
          for (std::size_t k = 0; k < match.length; ++k) {
            const SyllableId id = match.readings[k];
            FUZZ_CHECK(id == kDefaultSyllable || id < phrases->SyllableCount());
            FUZZ_CHECK(id == kDefaultSyllable || spoken[k] < phrases->SyllableCount());
          }
        });
    if (const auto id = phrases->DefaultReading(text[i]))
      FUZZ_CHECK(*id < phrases->SyllableCount());
    if (i + 1 < text.size()) {
      for (const int which : {1, 2}) {
        const auto id = phrases->PairReading(text[i], text[i + 1], which);
        FUZZ_CHECK(!id || *id == kDisputedSyllable || *id < phrases->SyllableCount());
      }
    }
  }
  (void)phrases->Syllable(phrases->Rules().r5);
  return 0;
}
