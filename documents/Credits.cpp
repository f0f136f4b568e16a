#include "documents/Credits.h"

namespace tolvane {

const std::vector<DataCredit>& DataCredits() {
  static const std::vector<DataCredit> credits{
      {"CC-CEDICT", "MDBG", "CC BY-SA 4.0", "https://cc-cedict.org/",
       "the readings of words (adapted; the word and character data files are under CC BY-SA "
       "4.0)"},
      {"jieba", "Sun Junyi", "MIT", "https://github.com/fxsjy/jieba",
       "word frequencies and personal names"},
      {"pinyin-pro", "zh-lx", "MIT", "https://github.com/zh-lx/pinyin-pro",
       "phrases and character readings"},
      {"@pinyin-pro/data", "chinese-data", "ISC", "https://github.com/chinese-data/pinyin-pro-data",
       "word readings"},
      {"g2pM", "Kakao Brain", "Apache-2.0", "https://github.com/kakaobrain/g2pM",
       "the polyphone model's weights"},
      {"Unihan", "Unicode, Inc.", "Unicode License v3",
       "https://www.unicode.org/charts/unihan.html",
       "character readings and the common-character list"},
  };
  return credits;
}

std::string CreditsText() {
  std::string text = "Pinyin by Tolvane, with data from ";
  const auto& credits = DataCredits();
  for (std::size_t i = 0; i < credits.size(); ++i) {
    const DataCredit& credit = credits[i];
    if (i > 0) text += i + 1 == credits.size() ? " and " : ", ";
    text += credit.name + " (" + credit.holder + ", " + credit.licence + ", " + credit.url + ")";
  }
  return text + ".";
}

}  // namespace tolvane
