#include "reading/context/PhraseImage.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>
#include <system_error>
#include <type_traits>
#include <vector>

#include "platform/Error.h"

namespace tolvane {
namespace {

// The arrays of an image, in the order they follow the header.
enum Section : std::size_t {
  kSyllableText,
  kSyllableEnds,
  kWords,
  kCharacters,
  kThirdCharacters,
  kReadings,
  kSpokenReadings,
  kBmpFirst,
  kBmpDefaults,
  kPairedCharacters,
  kPrefixKeys,
  kPrefixValues,
  kDefaultKeys,
  kDefaultValues,
  kPairKeys,
  kPairValues,
  kSectionCount
};

struct SectionPlace {
  std::uint64_t offset = 0;  // bytes from the image's start, a multiple of 8
  std::uint64_t count = 0;   // entries
};

// The image's first bytes. The arrays are written as this machine holds them, so the byte order
// and the version name the layout: an image of another layout is passed over.
struct Header {
  std::array<char, 8> magic;
  std::uint32_t version;
  std::uint32_t byteOrder;
  std::uint64_t imageSize;
  // Of the header with this field 0. The arrays after it have no hash: reading them all at every
  // start would cost what the image saves. Their entries are checked where lookups read them
  // (PhraseTables::WellFormed), so damaged arrays can give wrong answers but never unsafe ones.
  std::uint64_t hash;
  FileFingerprint sources[3];
  double unknownLogProbability;
  PhraseRuleSyllables rules;
  std::uint16_t unused0[2];
  std::uint32_t shifts[3];  // of the prefix, default and pair tables
  std::uint32_t unused1;
  SectionPlace sections[kSectionCount];
};
static_assert(std::is_trivially_copyable_v<Header>);
// No padding: every byte of a header is a field's, so its hash covers all of them.
static_assert(sizeof(PhraseRuleSyllables) == 20 && sizeof(FileFingerprint) == 16 &&
              sizeof(Header) == 128 + sizeof(SectionPlace) * kSectionCount);

constexpr std::array<char, 8> kMagic = {'T', 'L', 'V', 'P', 'H', 'R', 'A', 'S'};
// Raised whenever the layout of an image or of an entry of its arrays changes.
constexpr std::uint32_t kVersion = 2;
constexpr std::uint32_t kByteOrder = 0x01020304;

std::uint64_t HashOfHeader(const Header& header) {
  Header zeroed = header;
  zeroed.hash = 0;
  return HashBytes(std::string_view(reinterpret_cast<const char*>(&zeroed), sizeof zeroed));
}

// A file mapped read-only for as long as the data read from it lives.
class MappedFile {
 public:
  MappedFile(const void* address, std::size_t size) : address_(address), size_(size) {}
  ~MappedFile() { ::munmap(const_cast<void*>(address_), size_); }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  std::string_view Bytes() const { return {static_cast<const char*>(address_), size_}; }

 private:
  const void* address_;
  std::size_t size_;
};

std::shared_ptr<MappedFile> MapFile(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat status {};
  void* address = MAP_FAILED;
  if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
      static_cast<std::uint64_t>(status.st_size) >= sizeof(Header)) {
    // Not populated: a page is mapped when a lookup first reads it, so a short run holds the few
    // pages its lookups need rather than all 30 MB of the image.
    address =
        ::mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  }
  ::close(fd);
  if (address == MAP_FAILED) return nullptr;
  return std::make_shared<MappedFile>(address, static_cast<std::size_t>(status.st_size));
}

// Appends the arrays after a header, each at a multiple of 8 bytes.
class ImageWriter {
 public:
  ImageWriter() : bytes_(sizeof(Header), '\0') {}

  template <typename T>
  void Append(Section section, std::span<const T> entries) {
    static_assert(std::is_trivially_copyable_v<T> && alignof(T) <= 8);
    bytes_.resize((bytes_.size() + 7) / 8 * 8, '\0');
    places_[section] = {bytes_.size(), entries.size()};
    bytes_.append(reinterpret_cast<const char*>(entries.data()), entries.size_bytes());
  }

  std::string Finish(Header header) {
    bytes_.resize((bytes_.size() + 7) / 8 * 8, '\0');
    std::copy(std::begin(places_), std::end(places_), std::begin(header.sections));
    header.imageSize = bytes_.size();
    header.hash = HashOfHeader(header);
    std::memcpy(bytes_.data(), &header, sizeof header);
    return std::move(bytes_);
  }

 private:
  std::string bytes_;
  SectionPlace places_[kSectionCount] = {};
};

// Reads the arrays of a mapped image, each only where it lies wholly within the image.
class ImageReader {
 public:
  ImageReader(std::string_view bytes, const Header& header) : bytes_(bytes), header_(header) {}

  template <typename T>
  bool Read(Section section, std::span<const T>& out) const {
    const SectionPlace& place = header_.sections[section];
    if (place.offset % 8 != 0 || place.offset < sizeof(Header) || place.offset > bytes_.size() ||
        place.count > (bytes_.size() - place.offset) / sizeof(T))
      return false;
    out = {reinterpret_cast<const T*>(bytes_.data() + place.offset),
           static_cast<std::size_t>(place.count)};
    return true;
  }

 private:
  std::string_view bytes_;
  const Header& header_;
};

}  // namespace

std::optional<PhraseSources> FingerprintPhraseFiles(const std::filesystem::path& wordsFile,
                                                    const std::filesystem::path& pairsFile,
                                                    const std::filesystem::path& charactersFile) {
  const auto words = FingerprintFile(wordsFile);
  const auto pairs = FingerprintFile(pairsFile);
  const auto characters = FingerprintFile(charactersFile);
  if (!words || !pairs || !characters) return std::nullopt;
  return PhraseSources{*words, *pairs, *characters};
}

void WritePhraseImage(const PhraseData& data, const PhraseSources& sources,
                      const std::filesystem::path& image) {
  const PhraseTables& tables = data.Tables();
  std::string syllableText;
  std::vector<std::uint32_t> syllableEnds;
  for (std::size_t id = 0; id < data.SyllableCount(); ++id) {
    syllableText += data.Syllable(static_cast<SyllableId>(id));
    syllableEnds.push_back(static_cast<std::uint32_t>(syllableText.size()));
  }
  ImageWriter writer;
  writer.Append(kSyllableText, std::span<const char>(syllableText));
  writer.Append(kSyllableEnds, std::span<const std::uint32_t>(syllableEnds));
  writer.Append(kWords, tables.words);
  writer.Append(kCharacters, tables.characters);
  writer.Append(kThirdCharacters, tables.thirdCharacters);
  writer.Append(kReadings, tables.readings);
  writer.Append(kSpokenReadings, tables.spokenReadings);
  writer.Append(kBmpFirst, tables.bmpFirst);
  writer.Append(kBmpDefaults, tables.bmpDefaults);
  writer.Append(kPairedCharacters, tables.pairedCharacters);
  writer.Append(kPrefixKeys, tables.prefixes.keys);
  writer.Append(kPrefixValues, tables.prefixes.values);
  writer.Append(kDefaultKeys, tables.defaults.keys);
  writer.Append(kDefaultValues, tables.defaults.values);
  writer.Append(kPairKeys, tables.pairs.keys);
  writer.Append(kPairValues, tables.pairs.values);

  Header header;
  std::memset(static_cast<void*>(&header), 0, sizeof header);  // no undefined bytes, padding too
  header.magic = kMagic;
  header.version = kVersion;
  header.byteOrder = kByteOrder;
  header.sources[0] = sources.words;
  header.sources[1] = sources.pairs;
  header.sources[2] = sources.characters;
  header.unknownLogProbability = tables.unknownLogProbability;
  header.rules = tables.rules;
  header.shifts[0] = tables.prefixes.shift;
  header.shifts[1] = tables.defaults.shift;
  header.shifts[2] = tables.pairs.shift;
  const std::string bytes = writer.Finish(header);

  std::filesystem::path scratch = image;
  scratch += ".part";
  {
    std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw FileError(errno != 0 ? errno : EIO, scratch);
  }
  std::error_code ec;
  std::filesystem::rename(scratch, image, ec);
  if (ec) {
    std::filesystem::remove(scratch, ec);
    throw FileError(EIO, image);
  }
}

std::unique_ptr<PhraseData> OpenPhraseImage(const std::filesystem::path& image,
                                            const PhraseSources& sources) {
  const std::shared_ptr<MappedFile> mapped = MapFile(image);
  if (!mapped) return nullptr;
  const std::string_view bytes = mapped->Bytes();
  Header header;
  std::memcpy(static_cast<void*>(&header), bytes.data(), sizeof header);
  if (header.magic != kMagic || header.version != kVersion || header.byteOrder != kByteOrder ||
      header.imageSize != bytes.size() || !(header.sources[0] == sources.words) ||
      !(header.sources[1] == sources.pairs) || !(header.sources[2] == sources.characters) ||
      header.hash != HashOfHeader(header))
    return nullptr;

  const ImageReader reader(bytes, header);
  std::span<const char> syllableText;
  std::span<const std::uint32_t> syllableEnds;
  PhraseTables tables;
  if (!reader.Read(kSyllableText, syllableText) || !reader.Read(kSyllableEnds, syllableEnds) ||
      !reader.Read(kWords, tables.words) || !reader.Read(kCharacters, tables.characters) ||
      !reader.Read(kThirdCharacters, tables.thirdCharacters) ||
      !reader.Read(kReadings, tables.readings) ||
      !reader.Read(kSpokenReadings, tables.spokenReadings) ||
      !reader.Read(kBmpFirst, tables.bmpFirst) || !reader.Read(kBmpDefaults, tables.bmpDefaults) ||
      !reader.Read(kPairedCharacters, tables.pairedCharacters) ||
      !reader.Read(kPrefixKeys, tables.prefixes.keys) ||
      !reader.Read(kPrefixValues, tables.prefixes.values) ||
      !reader.Read(kDefaultKeys, tables.defaults.keys) ||
      !reader.Read(kDefaultValues, tables.defaults.values) ||
      !reader.Read(kPairKeys, tables.pairs.keys) || !reader.Read(kPairValues, tables.pairs.values))
    return nullptr;
  tables.prefixes.shift = header.shifts[0];
  tables.defaults.shift = header.shifts[1];
  tables.pairs.shift = header.shifts[2];
  tables.unknownLogProbability = header.unknownLogProbability;
  tables.rules = header.rules;

  if (syllableEnds.size() >= kDisputedSyllable - 16) return nullptr;
  std::vector<std::string> syllables;
  syllables.reserve(syllableEnds.size());
  std::uint32_t begin = 0;
  for (const std::uint32_t end : syllableEnds) {
    if (end < begin || end > syllableText.size()) return nullptr;
    syllables.emplace_back(syllableText.data() + begin, end - begin);
    begin = end;
  }
  if (!tables.WellFormed(syllables.size())) return nullptr;
  return PhraseData::FromTables(std::move(syllables), tables, mapped);
}

void SealPhraseImage(std::string& bytes) {
  if (bytes.size() < sizeof(Header)) return;
  Header header;
  std::memcpy(static_cast<void*>(&header), bytes.data(), sizeof header);
  header.hash = HashOfHeader(header);
  std::memcpy(bytes.data(), &header, sizeof header);
}

std::unique_ptr<PhraseData> LoadPhraseData(const std::filesystem::path& wordsFile,
                                           const std::filesystem::path& pairsFile,
                                           const std::filesystem::path& charactersFile,
                                           const std::filesystem::path& image) {
  std::error_code ec;
  if (std::filesystem::is_regular_file(image, ec)) {
    if (const auto sources = FingerprintPhraseFiles(wordsFile, pairsFile, charactersFile)) {
      if (auto data = OpenPhraseImage(image, *sources)) return data;
    }
  }
  return PhraseData::Load(wordsFile, pairsFile, charactersFile);
}

}  // namespace tolvane
