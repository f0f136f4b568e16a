#include "reading/orthography/ProperNouns.h"

#include <algorithm>

#include "platform/Error.h"
#include "platform/TextFile.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

[[noreturn]] void Malformed(const std::filesystem::path& file, std::size_t line,
                            const std::string& what) {
  throw Error(file.string() + ":" + std::to_string(line) + ": " + what, file);
}

}  // namespace

std::unique_ptr<ProperNouns> ProperNouns::Load(const std::filesystem::path& file) {
  return FromText(ReadFileBytes(file).view(), file);
}

std::unique_ptr<ProperNouns> ProperNouns::FromText(std::string_view text,
                                                   const std::filesystem::path& name) {
  auto nouns = std::make_unique<ProperNouns>();
  if (text.size() >= UINT32_MAX) throw Error(name.string() + ": too large", name);
  nouns->text_.assign(text);
  const std::string_view own = nouns->text_;
  std::size_t number = 0;
  std::u32string word;
  for (std::string_view line : SplitLines(own)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || tab == 0)
      Malformed(name, number, "expected word TAB pattern");
    word.clear();
    unicode::ForEachCodePoint(line.substr(0, tab),
                              [&](std::string_view, char32_t cp) { word.push_back(cp); });
    const std::string_view pattern = line.substr(tab + 1);
    const Entry entry{static_cast<std::uint32_t>(line.data() - own.data()),
                      static_cast<std::uint32_t>(tab),
                      static_cast<std::uint32_t>(pattern.data() - own.data()),
                      static_cast<std::uint32_t>(pattern.size())};
    if (pattern == "surname") {
      nouns->surnames_.push_back(entry);
      continue;
    }
    if (pattern.size() != word.size() || pattern.front() != 'A' ||
        pattern.find_first_not_of("Aa") != std::string_view::npos)
      Malformed(name, number, "the pattern needs an A or a for each character, A first");
    nouns->longest_ = std::max(nouns->longest_, word.size());
    if (word.size() >= 2) nouns->openings_[OpeningBit(word)] = true;
    nouns->nouns_.push_back(entry);
  }
  // UTF-8 sorts as its code points do. The generator writes the file sorted; a file of a user's
  // own may not be, and where a word stands twice its first line counts.
  for (auto* entries : {&nouns->nouns_, &nouns->surnames_}) {
    const auto byWord = [&](const Entry& a, const Entry& b) {
      return nouns->WordOf(a) < nouns->WordOf(b);
    };
    if (!std::is_sorted(entries->begin(), entries->end(), byWord))
      std::stable_sort(entries->begin(), entries->end(), byWord);
  }
  return nouns;
}

const ProperNouns::Entry* ProperNouns::Find(const std::vector<Entry>& entries,
                                            std::u32string_view word) const {
  // The probe in UTF-8, as the entries hold their words (most names fit in a short string).
  std::string probe;
  for (const char32_t cp : word) unicode::AppendCodePoint(probe, cp);
  const auto found =
      std::lower_bound(entries.begin(), entries.end(), probe,
                       [&](const Entry& entry, std::string_view w) { return WordOf(entry) < w; });
  return found != entries.end() && WordOf(*found) == probe ? &*found : nullptr;
}

std::string_view ProperNouns::PatternOf(std::u32string_view word) const {
  if (word.empty() || word.size() > longest_) return {};
  if (word.size() >= 2 && !openings_[OpeningBit(word)]) return {};
  const Entry* entry = Find(nouns_, word);
  return entry == nullptr ? std::string_view()
                          : std::string_view(text_).substr(entry->pattern, entry->patternBytes);
}

bool ProperNouns::IsSurname(std::u32string_view word) const {
  return !word.empty() && Find(surnames_, word) != nullptr;
}

}  // namespace tolvane
