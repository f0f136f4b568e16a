#include "reading/shared/UserWordList.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform/Error.h"
#include "platform/ScratchFile.h"
#include "platform/TextFile.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;

// The syllables of Mandarin pinyin without their tones, ü written v, in the spelling the phrase
// data uses (lue, nue), sorted for a binary search. Interjections (hm, hng, m, n, ng) and the r
// of erhua are among them, since words are written with them.
constexpr std::string_view kSyllables[] = {
    "a",     "ai",     "an",    "ang",   "ao",    "ba",     "bai",    "ban",  "bang",  "bao",
    "bei",   "ben",    "beng",  "bi",    "bian",  "biang",  "biao",   "bie",  "bin",   "bing",
    "bo",    "bu",     "ca",    "cai",   "can",   "cang",   "cao",    "ce",   "cei",   "cen",
    "ceng",  "cha",    "chai",  "chan",  "chang", "chao",   "che",    "chen", "cheng", "chi",
    "chong", "chou",   "chu",   "chua",  "chuai", "chuan",  "chuang", "chui", "chun",  "chuo",
    "ci",    "cong",   "cou",   "cu",    "cuan",  "cui",    "cun",    "cuo",  "da",    "dai",
    "dan",   "dang",   "dao",   "de",    "dei",   "den",    "deng",   "di",   "dia",   "dian",
    "diao",  "die",    "din",   "ding",  "diu",   "dong",   "dou",    "du",   "duan",  "dui",
    "dun",   "duo",    "e",     "ei",    "en",    "eng",    "er",     "fa",   "fan",   "fang",
    "fei",   "fen",    "feng",  "fiao",  "fo",    "fou",    "fu",     "ga",   "gai",   "gan",
    "gang",  "gao",    "ge",    "gei",   "gen",   "geng",   "gong",   "gou",  "gu",    "gua",
    "guai",  "guan",   "guang", "gui",   "gun",   "guo",    "ha",     "hai",  "han",   "hang",
    "hao",   "he",     "hei",   "hen",   "heng",  "hm",     "hng",    "hong", "hou",   "hu",
    "hua",   "huai",   "huan",  "huang", "hui",   "hun",    "huo",    "ji",   "jia",   "jian",
    "jiang", "jiao",   "jie",   "jin",   "jing",  "jiong",  "jiu",    "ju",   "juan",  "jue",
    "jun",   "ka",     "kai",   "kan",   "kang",  "kao",    "ke",     "kei",  "ken",   "keng",
    "kong",  "kou",    "ku",    "kua",   "kuai",  "kuan",   "kuang",  "kui",  "kun",   "kuo",
    "la",    "lai",    "lan",   "lang",  "lao",   "le",     "lei",    "leng", "li",    "lia",
    "lian",  "liang",  "liao",  "lie",   "lin",   "ling",   "liu",    "lo",   "long",  "lou",
    "lu",    "luan",   "lue",   "lun",   "luo",   "lv",     "m",      "ma",   "mai",   "man",
    "mang",  "mao",    "me",    "mei",   "men",   "meng",   "mi",     "mian", "miao",  "mie",
    "min",   "ming",   "miu",   "mo",    "mou",   "mu",     "n",      "na",   "nai",   "nan",
    "nang",  "nao",    "ne",    "nei",   "nen",   "neng",   "ng",     "ni",   "nian",  "niang",
    "niao",  "nie",    "nin",   "ning",  "niu",   "nong",   "nou",    "nu",   "nuan",  "nue",
    "nun",   "nuo",    "nv",    "o",     "ou",    "pa",     "pai",    "pan",  "pang",  "pao",
    "pei",   "pen",    "peng",  "pi",    "pian",  "piao",   "pie",    "pin",  "ping",  "po",
    "pou",   "pu",     "qi",    "qia",   "qian",  "qiang",  "qiao",   "qie",  "qin",   "qing",
    "qiong", "qiu",    "qu",    "quan",  "que",   "qun",    "r",      "ran",  "rang",  "rao",
    "re",    "ren",    "reng",  "ri",    "rong",  "rou",    "ru",     "rua",  "ruan",  "rui",
    "run",   "ruo",    "sa",    "sai",   "san",   "sang",   "sao",    "se",   "sen",   "seng",
    "sha",   "shai",   "shan",  "shang", "shao",  "she",    "shei",   "shen", "sheng", "shi",
    "shou",  "shu",    "shua",  "shuai", "shuan", "shuang", "shui",   "shun", "shuo",  "si",
    "song",  "sou",    "su",    "suan",  "sui",   "sun",    "suo",    "ta",   "tai",   "tan",
    "tang",  "tao",    "te",    "tei",   "teng",  "ti",     "tian",   "tiao", "tie",   "ting",
    "tong",  "tou",    "tu",    "tuan",  "tui",   "tun",    "tuo",    "wa",   "wai",   "wan",
    "wang",  "wei",    "wen",   "weng",  "wo",    "wong",   "wu",     "xi",   "xia",   "xian",
    "xiang", "xiao",   "xie",   "xin",   "xing",  "xiong",  "xiu",    "xu",   "xuan",  "xue",
    "xun",   "ya",     "yan",   "yang",  "yao",   "ye",     "yi",     "yin",  "ying",  "yo",
    "yong",  "you",    "yu",    "yuan",  "yue",   "yun",    "za",     "zai",  "zan",   "zang",
    "zao",   "ze",     "zei",   "zen",   "zeng",  "zha",    "zhai",   "zhan", "zhang", "zhao",
    "zhe",   "zhei",   "zhen",  "zheng", "zhi",   "zhong",  "zhou",   "zhu",  "zhua",  "zhuai",
    "zhuan", "zhuang", "zhui",  "zhun",  "zhuo",  "zi",     "zong",   "zou",  "zu",    "zuan",
    "zui",   "zun",    "zuo",
};

// A letter with a tone mark, or ü, as the plain letter (v for ü) and its tone (0: none).
struct MarkedLetter {
  char32_t cp;
  char letter;
  char tone;
};
constexpr MarkedLetter kMarkedLetters[] = {
    {U'ā', 'a', '1'}, {U'á', 'a', '2'}, {U'ǎ', 'a', '3'}, {U'à', 'a', '4'}, {U'Ā', 'a', '1'},
    {U'Á', 'a', '2'}, {U'Ǎ', 'a', '3'}, {U'À', 'a', '4'}, {U'ē', 'e', '1'}, {U'é', 'e', '2'},
    {U'ě', 'e', '3'}, {U'è', 'e', '4'}, {U'Ē', 'e', '1'}, {U'É', 'e', '2'}, {U'Ě', 'e', '3'},
    {U'È', 'e', '4'}, {U'ī', 'i', '1'}, {U'í', 'i', '2'}, {U'ǐ', 'i', '3'}, {U'ì', 'i', '4'},
    {U'Ī', 'i', '1'}, {U'Í', 'i', '2'}, {U'Ǐ', 'i', '3'}, {U'Ì', 'i', '4'}, {U'ō', 'o', '1'},
    {U'ó', 'o', '2'}, {U'ǒ', 'o', '3'}, {U'ò', 'o', '4'}, {U'Ō', 'o', '1'}, {U'Ó', 'o', '2'},
    {U'Ǒ', 'o', '3'}, {U'Ò', 'o', '4'}, {U'ū', 'u', '1'}, {U'ú', 'u', '2'}, {U'ǔ', 'u', '3'},
    {U'ù', 'u', '4'}, {U'Ū', 'u', '1'}, {U'Ú', 'u', '2'}, {U'Ǔ', 'u', '3'}, {U'Ù', 'u', '4'},
    {U'ǖ', 'v', '1'}, {U'ǘ', 'v', '2'}, {U'ǚ', 'v', '3'}, {U'ǜ', 'v', '4'}, {U'Ǖ', 'v', '1'},
    {U'Ǘ', 'v', '2'}, {U'Ǚ', 'v', '3'}, {U'Ǜ', 'v', '4'}, {U'ü', 'v', 0},   {U'Ü', 'v', 0},
    {U'ń', 'n', '2'}, {U'ň', 'n', '3'}, {U'ǹ', 'n', '4'}, {U'Ń', 'n', '2'}, {U'Ň', 'n', '3'},
    {U'Ǹ', 'n', '4'}, {U'ḿ', 'm', '2'}, {U'Ḿ', 'm', '2'},
};

// The combining marks that decomposed text writes after the letter they mark.
char CombiningTone(char32_t cp) {
  switch (cp) {
    case 0x0304:
      return '1';
    case 0x0301:
      return '2';
    case 0x030C:
      return '3';
    case 0x0300:
      return '4';
    default:
      return 0;
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> Fields(std::string_view text) {
  std::vector<std::string_view> fields;
  for (std::size_t pos = 0; pos < text.size();) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    std::size_t end = pos;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    if (end > pos) fields.push_back(text.substr(pos, end - pos));
    pos = end;
  }
  return fields;
}

bool IsWellFormedUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = unicode::WellFormedUtf8Length(text, pos);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

std::size_t CodePointCount(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < utf8.size(); ++count)
    pos += unicode::WellFormedUtf8Length(utf8, pos);
  return count;
}

std::string_view WithoutBom(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  return text;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Collects the entries of a parse: a word given again is a problem of its later line.
class Collector {
 public:
  explicit Collector(const fs::path& file) : file_(file) {}

  void Problem(std::size_t line, std::string reason) {
    parse_.problems.push_back({file_, line, std::move(reason)});
  }
  void Line(std::size_t line, std::string_view word, std::string_view syllables) {
    std::string reason;
    auto entry = MakeUserWordEntry(word, syllables, &reason);
    if (!entry) return Problem(line, reason);
    const auto found = std::find_if(lines_.begin(), lines_.end(),
                                    [&](const auto& seen) { return seen.first == entry->word; });
    if (found != lines_.end())
      return Problem(
          line, Quoted(entry->word) + " is already given on line " + std::to_string(found->second));
    lines_.emplace_back(entry->word, line);
    parse_.list.Set(std::move(*entry));
  }
  UserWordParse Take() { return std::move(parse_); }

 private:
  fs::path file_;
  UserWordParse parse_;
  std::vector<std::pair<std::string, std::size_t>> lines_;
};

std::string_view Unquoted(std::string_view field) {
  field = Trimmed(field);
  if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
    field = field.substr(1, field.size() - 2);
  return field;
}

}  // namespace

bool IsPinyinSyllable(std::string_view toneless) {
  if (toneless.empty()) return false;
  return std::binary_search(std::begin(kSyllables), std::end(kSyllables), toneless);
}

std::optional<std::string> NumberedSyllable(std::string_view text) {
  if (text == kNoSyllable) return std::string(kNoSyllable);
  std::string letters;
  char tone = 0;
  bool digit = false;
  bool valid = IsWellFormedUtf8(text);
  if (!valid) return std::nullopt;
  const auto setTone = [&](char t) {
    if (tone != 0) valid = false;  // two tones
    tone = t;
  };
  unicode::ForEachCodePoint(text, [&](std::string_view, char32_t cp) {
    if (!valid) return;
    if (cp >= 'A' && cp <= 'Z') cp += 'a' - 'A';
    if (digit) {
      valid = false;  // nothing follows a tone digit
    } else if (cp >= '0' && cp <= '5' && !letters.empty()) {
      setTone(cp == '0' ? '5' : static_cast<char>(cp));
      digit = true;
    } else if (cp >= 'a' && cp <= 'z') {
      letters.push_back(static_cast<char>(cp));
    } else if (cp == ':' && !letters.empty() && letters.back() == 'u') {
      letters.back() = 'v';  // lu:4
    } else if (const char combining = CombiningTone(cp); combining != 0 && !letters.empty()) {
      setTone(combining);
    } else if (cp == 0x0308 && !letters.empty() && letters.back() == 'u') {
      letters.back() = 'v';
    } else {
      const auto marked = std::find_if(std::begin(kMarkedLetters), std::end(kMarkedLetters),
                                       [&](const MarkedLetter& m) { return m.cp == cp; });
      if (marked == std::end(kMarkedLetters)) {
        valid = false;
        return;
      }
      letters.push_back(marked->letter);
      if (marked->tone != 0) setTone(marked->tone);
    }
  });
  if (!valid || letters.empty()) return std::nullopt;
  // After j, q, x and y a ü is written u; the phrase data writes lüe and nüe as lue and nue.
  if (letters.size() >= 2 && letters[1] == 'v' &&
      std::string_view("jqxy").find(letters[0]) != std::string_view::npos)
    letters[1] = 'u';
  if (letters == "lve" || letters == "nve") letters[1] = 'u';
  if (!IsPinyinSyllable(letters)) return std::nullopt;
  letters.push_back(tone == 0 ? '5' : tone);
  return letters;
}

std::string UserWordEntry::SyllableText() const {
  std::string text;
  for (const std::string& syllable : syllables) {
    if (!text.empty()) text.push_back(' ');
    text += syllable;
  }
  return text;
}

std::optional<UserWordEntry> MakeUserWordEntry(std::string_view word, std::string_view syllables,
                                               std::string* reason) {
  const auto fail = [&](std::string why) -> std::optional<UserWordEntry> {
    if (reason != nullptr) *reason = std::move(why);
    return std::nullopt;
  };
  if (word.empty()) return fail("no word");
  if (!IsWellFormedUtf8(word) || !IsWellFormedUtf8(syllables)) return fail("not UTF-8 text");
  if (std::any_of(word.begin(), word.end(), [](char c) { return IsBlank(c) || c == '\n'; }))
    return fail(Quoted(word) + " holds a blank");
  // user_words.txt would keep such a word as a comment line, and lose it when read again.
  if (word.front() == '#') return fail(Quoted(word) + " begins with #, which starts a comment");
  UserWordEntry entry{std::string(word), {}};
  for (const std::string_view field : Fields(syllables)) {
    auto numbered = NumberedSyllable(field);
    if (!numbered) return fail(Quoted(field) + " is not a pinyin syllable");
    entry.syllables.push_back(std::move(*numbered));
  }
  if (entry.syllables.empty()) return fail("no syllables after the word");
  const std::size_t characters = CodePointCount(word);
  if (entry.syllables.size() != characters)
    return fail(std::to_string(entry.syllables.size()) + " syllables for " +
                std::to_string(characters) + " characters");
  return entry;
}

const UserWordEntry* UserWordList::Find(std::string_view word) const {
  for (const UserWordEntry& entry : entries_)
    if (entry.word == word) return &entry;
  return nullptr;
}

void UserWordList::Set(UserWordEntry entry) {
  for (UserWordEntry& existing : entries_) {
    if (existing.word == entry.word) {
      existing.syllables = std::move(entry.syllables);
      return;
    }
  }
  entries_.push_back(std::move(entry));
}

bool UserWordList::Remove(std::string_view word) {
  const auto found = std::find_if(entries_.begin(), entries_.end(),
                                  [&](const UserWordEntry& entry) { return entry.word == word; });
  if (found == entries_.end()) return false;
  entries_.erase(found);
  return true;
}

UserWordParse ParseUserWords(std::string_view text, const fs::path& file) {
  Collector collector(file);
  const std::vector<std::string_view> lines = SplitLines(WithoutBom(text));
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string_view line = Trimmed(lines[n]);
    if (line.empty() || line.front() == '#') continue;
    std::size_t end = 0;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    collector.Line(n + 1, line.substr(0, end), line.substr(end));
  }
  return collector.Take();
}

UserWordParse ReadUserWords(const fs::path& file) {
  std::error_code ec;
  if (!fs::exists(file, ec) && !ec) return {};
  try {
    return ParseUserWords(ReadWholeFile(file), file);
  } catch (const Error& error) {
    UserWordParse parse;
    parse.problems.push_back({file, 0, error.what()});
    return parse;
  }
}

std::string UserWordsText(const UserWordList& list) {
  std::string text =
      "# The user's own words: a word, a tab, then one pinyin syllable per character\n"
      "# (numbered: yin2 hang2; 5 for a light syllable, v for u with two dots, - for none).\n";
  for (const UserWordEntry& entry : list.Entries())
    text += entry.word + "\t" + entry.SyllableText() + "\n";
  return text;
}

void WriteUserWords(const UserWordList& list, const fs::path& file) {
  const std::string text = UserWordsText(list);
  ScratchFile scratch;
  scratch.Create(file, true);
  std::FILE* out = std::fopen(scratch.path().c_str(), "wb");
  if (out == nullptr) throw FileError(errno, file);
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  const int writeError = errno;
  if (std::fclose(out) != 0 || !written) throw FileError(written ? errno : writeError, file);
  scratch.RenameTo(file);
}

UserWordParse ParseUserWordsTsv(std::string_view text, const fs::path& file) {
  Collector collector(file);
  const std::vector<std::string_view> lines = SplitLines(WithoutBom(text));
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string_view line = lines[n];
    if (Trimmed(line).empty()) continue;
    const std::size_t tab = line.find('\t');
    const std::string_view word = Unquoted(line.substr(0, tab));
    std::string_view syllables;
    if (tab != std::string_view::npos) {
      const std::size_t next = line.find('\t', tab + 1);
      syllables =
          Unquoted(line.substr(tab + 1, next == std::string_view::npos ? next : next - tab - 1));
    }
    if (n == 0 && !MakeUserWordEntry(word, syllables)) {
      const auto fields = Fields(syllables);
      const bool pinyin =
          !fields.empty() && std::all_of(fields.begin(), fields.end(), [](std::string_view f) {
            return NumberedSyllable(f).has_value();
          });
      if (!pinyin) continue;  // a header
    }
    collector.Line(n + 1, word, syllables);
  }
  return collector.Take();
}

std::string UserWordsTsv(const UserWordList& list) {
  std::string text = "word\tpinyin\n";
  for (const UserWordEntry& entry : list.Entries()) {
    // A word in quotes of its own gets one more pair, since reading takes one pair off a field.
    const bool quoted =
        entry.word.size() >= 2 && entry.word.front() == '"' && entry.word.back() == '"';
    text += (quoted ? Quoted(entry.word) : entry.word) + "\t" + entry.SyllableText() + "\n";
  }
  return text;
}

}  // namespace tolvane
