#include "reading/orthography/ProperNouns.h"

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
  std::size_t number = 0;
  for (std::string_view line : SplitLines(text)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || tab == 0)
      Malformed(name, number, "expected word TAB pattern");
    std::u32string word;
    unicode::ForEachCodePoint(line.substr(0, tab),
                              [&](std::string_view, char32_t cp) { word.push_back(cp); });
    const std::string_view pattern = line.substr(tab + 1);
    if (pattern == "surname") {
      nouns->surnames_.insert(std::move(word));
      continue;
    }
    if (pattern.size() != word.size() || pattern.front() != 'A' ||
        pattern.find_first_not_of("Aa") != std::string_view::npos)
      Malformed(name, number, "the pattern needs an A or a for each character, A first");
    nouns->longest_ = std::max(nouns->longest_, word.size());
    if (word.size() >= 2) nouns->openings_[OpeningBit(word)] = true;
    nouns->patterns_.emplace(std::move(word), std::string(pattern));
  }
  return nouns;
}

std::string_view ProperNouns::PatternOf(std::u32string_view word) const {
  if (word.size() >= 2 && !openings_[OpeningBit(word)]) return {};
  const auto found = patterns_.find(word);
  return found == patterns_.end() ? std::string_view() : std::string_view(found->second);
}

}  // namespace tolvane
