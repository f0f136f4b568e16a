#include "dictionary/PhraseData.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>

#include "platform/Error.h"
#include "platform/TextFile.h"
#include "platform/UnicodeText.h"

namespace tolvane {

// Builds a PhraseData from the two files' text.
class PhraseDataBuilder {
 public:
  explicit PhraseDataBuilder(PhraseData& data) : data_(data) {}

  void ReadWords(std::string_view text, const std::filesystem::path& file) {
    ForEachDataLine(text, file, [&](std::string_view line, std::size_t number) {
      const auto fields = Fields(line, 3, file, number);
      Entry entry;
      entry.cpBegin = static_cast<std::uint32_t>(codePoints_.size());
      AppendCodePoints(fields[0], file, number);
      entry.cpLength = static_cast<std::uint32_t>(codePoints_.size() - entry.cpBegin);
      const auto [end, error] =
          std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), entry.frequency);
      if (error != std::errc() || end != fields[1].data() + fields[1].size() || entry.frequency == 0)
        Fail(file, number, "the frequency is not a positive whole number");
      entry.readings = static_cast<std::uint32_t>(readings_.size());
      AppendSyllables(fields[2], file, number);
      if (readings_.size() - entry.readings != entry.cpLength)
        Fail(file, number, "not one syllable per character");
      entry.line = number;
      entries_.push_back(entry);
    });
  }

  void ReadCharacters(std::string_view text, const std::filesystem::path& file) {
    ForEachDataLine(text, file, [&](std::string_view line, std::size_t number) {
      const auto fields = Fields(line, 2, file, number);
      const std::size_t before = codePoints_.size();
      AppendCodePoints(fields[0], file, number);
      if (codePoints_.size() - before != 1) Fail(file, number, "not one character");
      const char32_t cp = codePoints_.back();
      codePoints_.resize(before);
      const std::size_t readingsBefore = readings_.size();
      AppendSyllables(fields[1], file, number);
      if (readings_.size() - readingsBefore != 1) Fail(file, number, "not one syllable");
      const SyllableId id = readings_.back();
      readings_.resize(readingsBefore);
      characterDefaults_.emplace_back(cp, id);
    });
  }

  void Build(const std::filesystem::path& wordsFile) {
    // Words in code point order, so that the words under one trie node stand together.
    const auto less = [&](const Entry& a, const Entry& b) {
      return std::lexicographical_compare(Cps(a).begin(), Cps(a).end(), Cps(b).begin(),
                                          Cps(b).end());
    };
    if (!std::is_sorted(entries_.begin(), entries_.end(), less))
      std::stable_sort(entries_.begin(), entries_.end(), less);
    for (std::size_t i = 1; i < entries_.size(); ++i) {
      if (std::ranges::equal(Cps(entries_[i - 1]), Cps(entries_[i])))
        Fail(wordsFile, entries_[i].line, "the word is given twice");
    }

    const double total = std::accumulate(entries_.begin(), entries_.end(), 0.0,
                                         [](double sum, const Entry& e) { return sum + e.frequency; });
    const double logTotal = std::log(std::max(total, 1.0));
    // A character that is no word counts as a word seen once, as in jieba.
    data_.unknownLogProbability_ = -logTotal;

    data_.words_.reserve(entries_.size());
    data_.readings_.reserve(readings_.size());
    for (const Entry& entry : entries_) {
      data_.words_.push_back(
          {static_cast<float>(std::log(static_cast<double>(entry.frequency)) - logTotal),
           static_cast<std::uint32_t>(data_.readings_.size()), entry.cpLength});
      data_.readings_.insert(data_.readings_.end(), readings_.begin() + entry.readings,
                             readings_.begin() + entry.readings + entry.cpLength);
    }

    data_.nodes_.reserve(entries_.size() * 2);
    data_.nodes_.push_back({0, 0, 0, -1});
    BuildChildren(0, 0, entries_.size(), 0);
    data_.nodes_.shrink_to_fit();
    data_.rootIndex_.assign(0x10000, 0);
    const PhraseData::Node& root = data_.nodes_[0];
    for (std::uint32_t i = 0; i < root.childCount; ++i) {
      const PhraseData::Node& child = data_.nodes_[root.firstChild + i];
      if (child.cp < 0x10000) data_.rootIndex_[child.cp] = root.firstChild + i + 1;
    }

    // Default readings: a word file's one-character line first, then the characters file.
    data_.bmpDefaults_.assign(0x10000, 0);
    const auto setDefault = [&](char32_t cp, SyllableId id) {
      if (cp < 0x10000) {
        if (data_.bmpDefaults_[cp] == 0) data_.bmpDefaults_[cp] = static_cast<SyllableId>(id + 1);
      } else {
        data_.defaults_.try_emplace(cp, id);
      }
    };
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (entries_[i].cpLength == 1)
        setDefault(codePoints_[entries_[i].cpBegin], data_.readings_[data_.words_[i].readings]);
    }
    for (const auto& [cp, id] : characterDefaults_) setDefault(cp, id);
  }

 private:
  struct Entry {
    std::uint32_t cpBegin = 0;
    std::uint32_t cpLength = 0;
    std::uint64_t frequency = 0;
    std::uint32_t readings = 0;
    std::size_t line = 0;
  };

  std::span<const char32_t> Cps(const Entry& e) const {
    return {codePoints_.data() + e.cpBegin, e.cpLength};
  }

  // The children of the node `parent` at `depth`: the entries [begin, end) all share the first
  // `depth` characters; the one of exactly that length is the node's own word.
  void BuildChildren(std::uint32_t parent, std::size_t begin, std::size_t end, std::size_t depth) {
    if (begin < end && entries_[begin].cpLength == depth) {
      data_.nodes_[parent].word = static_cast<std::int32_t>(begin);
      ++begin;
    }
    // First the block of children, so that they stand together; then each child's subtree.
    struct Group {
      std::size_t begin, end;
    };
    std::vector<Group> groups;
    for (std::size_t i = begin; i < end;) {
      const char32_t cp = codePoints_[entries_[i].cpBegin + depth];
      std::size_t j = i + 1;
      while (j < end && codePoints_[entries_[j].cpBegin + depth] == cp) ++j;
      groups.push_back({i, j});
      i = j;
    }
    const auto first = static_cast<std::uint32_t>(data_.nodes_.size());
    data_.nodes_[parent].firstChild = first;
    data_.nodes_[parent].childCount = static_cast<std::uint32_t>(groups.size());
    for (const Group& g : groups)
      data_.nodes_.push_back({codePoints_[entries_[g.begin].cpBegin + depth], 0, 0, -1});
    for (std::size_t k = 0; k < groups.size(); ++k)
      BuildChildren(first + static_cast<std::uint32_t>(k), groups[k].begin, groups[k].end,
                    depth + 1);
  }

  template <typename OnLine>
  static void ForEachDataLine(std::string_view text, const std::filesystem::path&, OnLine&& onLine) {
    std::size_t number = 0;
    for (const std::string_view line : SplitLines(text)) {
      ++number;
      if (line.empty() || line.front() == '#') continue;
      onLine(line, number);
    }
  }

  [[noreturn]] static void Fail(const std::filesystem::path& file, std::size_t line,
                                const std::string& what) {
    throw Error(file.string() + ":" + std::to_string(line) + ": " + what, file);
  }

  static std::vector<std::string_view> Fields(std::string_view line, std::size_t count,
                                              const std::filesystem::path& file,
                                              std::size_t number) {
    std::vector<std::string_view> fields;
    for (std::size_t begin = 0;;) {
      const std::size_t tab = line.find('\t', begin);
      fields.push_back(line.substr(begin, tab == std::string_view::npos ? tab : tab - begin));
      if (tab == std::string_view::npos) break;
      begin = tab + 1;
    }
    if (fields.size() != count || fields[0].empty())
      Fail(file, number, "expected " + std::to_string(count) + " fields separated by TABs");
    return fields;
  }

  void AppendCodePoints(std::string_view utf8, const std::filesystem::path& file,
                        std::size_t number) {
    for (std::size_t pos = 0; pos < utf8.size();) {
      const std::size_t length = unicode::WellFormedUtf8Length(utf8, pos);
      if (length == 0) Fail(file, number, "not UTF-8");
      codePoints_.push_back(unicode::CodePointAt(utf8, pos, length));
      pos += length;
    }
  }

  void AppendSyllables(std::string_view field, const std::filesystem::path& file,
                       std::size_t number) {
    for (std::size_t begin = 0; begin <= field.size();) {
      std::size_t end = field.find(' ', begin);
      if (end == std::string_view::npos) end = field.size();
      const std::string_view syllable = field.substr(begin, end - begin);
      if (syllable.empty()) Fail(file, number, "an empty syllable");
      readings_.push_back(SyllableIdOf(syllable));
      begin = end + 1;
    }
  }

  SyllableId SyllableIdOf(std::string_view syllable) {
    const auto it = syllableIds_.find(std::string(syllable));
    if (it != syllableIds_.end()) return it->second;
    if (data_.syllables_.size() >= 0xFFFF) throw Error("too many syllables in the phrase data");
    const auto id = static_cast<SyllableId>(data_.syllables_.size());
    data_.syllables_.emplace_back(syllable);
    syllableIds_.emplace(std::string(syllable), id);
    return id;
  }

  PhraseData& data_;
  std::vector<char32_t> codePoints_;
  std::vector<SyllableId> readings_;
  std::vector<Entry> entries_;
  std::vector<std::pair<char32_t, SyllableId>> characterDefaults_;
  std::unordered_map<std::string, SyllableId> syllableIds_;
};

std::unique_ptr<PhraseData> PhraseData::Load(const std::filesystem::path& wordsFile,
                                             const std::filesystem::path& charactersFile) {
  auto data = std::unique_ptr<PhraseData>(new PhraseData());
  PhraseDataBuilder builder(*data);
  builder.ReadWords(ReadWholeFile(wordsFile), wordsFile);
  builder.ReadCharacters(ReadWholeFile(charactersFile), charactersFile);
  builder.Build(wordsFile);
  return data;
}

const PhraseData::Node* PhraseData::RootChild(char32_t cp) const {
  if (cp < 0x10000) {
    const std::uint32_t index = rootIndex_[cp];
    return index == 0 ? nullptr : &nodes_[index - 1];
  }
  return Child(nodes_[0], cp);
}

const PhraseData::Node* PhraseData::Child(const Node& node, char32_t cp) const {
  const Node* first = nodes_.data() + node.firstChild;
  const Node* last = first + node.childCount;
  if (node.childCount <= 8) {
    for (const Node* child = first; child != last; ++child)
      if (child->cp == cp) return child;
    return nullptr;
  }
  const Node* found =
      std::lower_bound(first, last, cp, [](const Node& n, char32_t c) { return n.cp < c; });
  return found != last && found->cp == cp ? found : nullptr;
}

std::optional<SyllableId> PhraseData::DefaultReading(char32_t cp) const {
  if (cp < 0x10000) {
    const SyllableId stored = bmpDefaults_[cp];
    if (stored == 0) return std::nullopt;
    return static_cast<SyllableId>(stored - 1);
  }
  const auto it = defaults_.find(cp);
  if (it == defaults_.end()) return std::nullopt;
  return it->second;
}

std::size_t PhraseData::MemoryBytes() const {
  std::size_t bytes = nodes_.capacity() * sizeof(Node) + rootIndex_.capacity() * 4 +
                      words_.capacity() * sizeof(Word) + readings_.capacity() * 2 +
                      bmpDefaults_.capacity() * 2 + defaults_.size() * 32;
  for (const std::string& s : syllables_) bytes += sizeof(std::string) + s.capacity();
  return bytes;
}

}  // namespace tolvane
