#include "reading/orthography/WordUnits.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "reading/orthography/LatinPunctuation.h"

namespace tolvane {
namespace {

constexpr std::u32string_view kNumerals = U"〇零一二两三四五六七八九十百千万亿";
// Where a larger number is cut: after its hundreds, thousands, ten thousands and hundred
// millions (sānbǎi wǔshí).
constexpr std::u32string_view kNumberUnits = U"百千万亿";
constexpr std::u32string_view kMeasureWords =
    U"个岁点天年月号日次本张只件位口块元分角斤杯瓶条双辆家层种样遍周碗把台节首座封支枝篇"
    U"句场部间所棵朵匹头架份套顿趟回声";
// Numeral and measure word that are words of their own: a little, a while, some.
constexpr std::u32string_view kNumeralWords[] = {U"一点", U"一些", U"一下", U"一会", U"一样"};
// Words the particle 的 ends that written pinyin keeps whole.
constexpr std::u32string_view kWordsEndingInDe[] = {
    U"有的",   U"别的",   U"似的", U"觉得",   U"记得", U"值得", U"懂得",   U"显得",
    U"晓得",   U"舍得",   U"免得", U"使得",   U"认得", U"省得", U"怪不得", U"恨不得",
    U"巴不得", U"不由得", U"见得", U"不见得", U"乐得", U"落得"};
// What follows a surname in a title: Wáng lǎoshī.
constexpr std::u32string_view kTitles[] = {
    U"先生", U"太太", U"小姐", U"女士", U"老师", U"经理", U"师傅", U"同学", U"阿姨", U"叔叔",
    U"医生", U"教授", U"大夫", U"校长", U"主任", U"夫人", U"大爷", U"大妈", U"老板", U"总"};

// Demonstratives, written apart from their measure word (zhè zhǒng, nà běn).
constexpr std::u32string_view kDemonstratives = U"这那哪";
// Common surnames, the ones a name that no dictionary holds is found by.
constexpr std::u32string_view kCommonSurnames =
    U"王李张刘陈杨赵黄周吴徐孙胡朱高林何郭马罗梁宋郑谢韩唐冯于董萧程曹袁邓许傅沈曾彭吕苏卢"
    U"蒋蔡贾丁魏薛叶阎余潘杜戴夏钟汪田任姜范方石姚谭廖邹熊金陆郝孔白崔康毛邱秦江史顾侯邵孟"
    U"龙万段雷钱汤尹黎易常武乔贺赖龚文";
// Surnames that after 小 or 老 make a common word more often than a name (小马 a pony, 小白 a
// beginner, 老牛 an ox): the dictionary's word is kept.
constexpr std::u32string_view kSurnamesThatAreWords = U"马白黄金龙石方田钱高毛牛江";
// Single characters that are no part of a given name: particles, pronouns, numerals and the
// common verbs and adverbs that follow a name (王说, 陈静和赵丽来了).
constexpr std::u32string_view kNoGivenName =
    U"的地得了着过吗呢吧啊呀哦嘛们我你他她它这那哪谁个是在和与跟同也都就还又很太更最不没别"
    U"说叫要会能想给来去有到把被让对向从比等或而但却再才已先"
    U"看吃喝买卖写读听做走跑坐站住开关拿放打用找送问请教回进出上下起家里"
    U"〇零一二两三四五六七八九十百千万亿几";
// What a personal name stands after, besides the start of a clause and a word of its own.
constexpr std::u32string_view kBeforeName = U"叫和跟与同给找问请让对被把见像是帮教送陪及或姓";

bool IsIn(std::u32string_view set, char32_t cp) {
  return set.find(cp) != std::u32string_view::npos;
}

template <std::size_t N>
bool IsOneOf(const std::u32string_view (&words)[N], std::u32string_view word) {
  return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

struct Piece {
  std::uint32_t begin;
  std::uint32_t length;
  bool fixed = false;  // a proper noun's word: the other rules leave it as it is
  bool capital = false;
  std::uint32_t hyphenAt = 0;
  std::uint32_t End() const { return begin + length; }
};

class Units {
 public:
  Units(std::span<const char32_t> text, std::span<std::string_view> syllables,
        const ProperNouns& nouns, NeutralTone light)
      : text_(text), syllables_(syllables), nouns_(nouns), light_(light) {}

  std::vector<Piece> pieces;

  std::u32string_view Chars(const Piece& p) const {
    return std::u32string_view(text_.data() + p.begin, p.length);
  }
  std::string_view SyllableAt(std::uint32_t i) const { return syllables_[i]; }
  bool Adjacent(std::size_t j) const {
    return j + 1 < pieces.size() && pieces[j].End() == pieces[j + 1].begin;
  }
  bool IsNumeralPiece(const Piece& p) const {
    return std::all_of(text_.begin() + p.begin, text_.begin() + p.End(),
                       [](char32_t c) { return IsIn(kNumerals, c); });
  }

  void ProperNames();
  void PersonalNames();
  void ParticlesApart();
  void Demonstratives();
  void QuestionsAnotA();
  void Numerals();
  void JoinSuffixes();

 private:
  // Whether a clause ends before character `i`: the line or a punctuation mark.
  bool EndsClause(std::uint32_t i) const {
    if (i >= text_.size()) return true;
    const char32_t c = text_[i];
    return LatinPunctuation(c, 0).has_value() || (c < 0x80 && std::ispunct(static_cast<int>(c)));
  }
  void MarkProper(std::size_t j, std::size_t count, std::string_view pattern);
  bool Single(std::size_t j) const { return j < pieces.size() && pieces[j].length == 1; }
  // Whether the piece `j` may be (part of) a given name: a character of its own, not fixed, and
  // none of kNoGivenName.
  bool MayBeGivenName(std::size_t j) const {
    return Single(j) && !pieces[j].fixed && !IsIn(kNoGivenName, text_[pieces[j].begin]);
  }
  // Whether a name may end before the piece `j` (adjacent to the one before): the clause ends, or
  // a word of its own or a character of kNoGivenName follows.
  bool NameMayEndBefore(std::size_t j) const {
    if (j >= pieces.size() || pieces[j - 1].End() != pieces[j].begin)
      return EndsClause(pieces[j - 1].End());
    return pieces[j].length > 1 || IsIn(kNoGivenName, text_[pieces[j].begin]);
  }
  // A boundary before character `i`: the piece that holds it cut there.
  void CutBefore(std::uint32_t i);
  // `syllables_[i]` made light where it reads `full` (a user's own reading stays).
  void MakeLight(std::uint32_t i, std::initializer_list<std::string_view> full,
                 std::string_view lightSyllable) {
    if (light_ != NeutralTone::Spoken) return;
    for (const std::string_view f : full)
      if (syllables_[i] == f) syllables_[i] = lightSyllable;
  }

  std::span<const char32_t> text_;
  std::span<std::string_view> syllables_;
  const ProperNouns& nouns_;
  NeutralTone light_;
};

void Units::CutBefore(std::uint32_t i) {
  for (std::size_t j = 0; j < pieces.size(); ++j) {
    Piece& p = pieces[j];
    if (p.begin >= i || p.End() <= i) continue;
    const Piece rest{i, p.End() - i, p.fixed, p.capital, 0};
    p.length = i - p.begin;
    p.hyphenAt = 0;
    pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(j + 1), rest);
    return;
  }
}

void Units::PersonalNames() {
  for (std::size_t j = 0; j < pieces.size(); ++j) {
    const Piece& p = pieces[j];
    const std::u32string_view chars = Chars(p);
    // A surname after 姓: tā xìng Wáng.
    if (j > 0 && Adjacent(j - 1) && Chars(pieces[j - 1]) == U"姓" && nouns_.IsSurname(chars)) {
      pieces[j].fixed = pieces[j].capital = true;
      continue;
    }
    // 小 or 老 before a surname, made one word by the dictionary (小张): Xiǎo Zhāng.
    if (!p.fixed && p.length == 2 && (chars[0] == U'小' || chars[0] == U'老') &&
        IsIn(kCommonSurnames, chars[1]) && !IsIn(kSurnamesThatAreWords, chars[1])) {
      pieces[j] = Piece{p.begin, 1, true, true, 0};
      pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(j + 1),
                    Piece{p.begin + 1, 1, true, true, 0});
      ++j;
      continue;
    }
    // A surname and a given name of one or two characters, where the dictionary has none of it
    // but single characters: a common surname of one character, or a compound one that reads as
    // a proper noun (欧阳, 司马), after the start of a clause, a word or a character that names
    // follow (叫 和 跟 ...), and before the end of the clause, a word or a character that follows
    // names (说 是 来 ...).
    const bool single = !p.fixed && p.length == 1 && IsIn(kCommonSurnames, chars[0]);
    const bool compound = p.capital && p.length == 2 && nouns_.IsSurname(chars);
    if (!single && !compound) continue;
    const bool nameMayBegin = j == 0 || !Adjacent(j - 1) || pieces[j - 1].length > 1 ||
                              IsIn(kBeforeName, text_[pieces[j - 1].begin]);
    if (!nameMayBegin || !Adjacent(j) || !MayBeGivenName(j + 1)) continue;
    std::size_t given = 0;
    if (MayBeGivenName(j + 2) && Adjacent(j + 1) && NameMayEndBefore(j + 3)) {
      given = 2;
    } else if (NameMayEndBefore(j + 2)) {
      given = 1;
    }
    if (given == 0) continue;
    pieces[j].fixed = pieces[j].capital = true;
    Piece& name = pieces[j + 1];
    name.fixed = name.capital = true;
    if (given == 2) {
      name.length += pieces[j + 2].length;
      pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(j + 2));
    }
    ++j;
  }
}

void Units::Demonstratives() {
  for (std::size_t j = 0; j < pieces.size(); ++j) {
    Piece& p = pieces[j];
    if (p.fixed || p.length != 2 || !IsIn(kDemonstratives, text_[p.begin])) continue;
    const char32_t measure = text_[p.begin + 1];
    // 这个 那个 哪个 are words of their own, with a light 个 (zhège); so are 这样 and its kind.
    if (measure == U'个') {
      MakeLight(p.begin + 1, {"ge4"}, "ge5");
      continue;
    }
    if (measure == U'样' || !IsIn(kMeasureWords, measure)) continue;
    p.length = 1;
    pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(j + 1), Piece{p.begin + 1, 1});
    ++j;
  }
}

void Units::QuestionsAnotA() {
  // A不A and AB不AB (好不好, 喜欢不喜欢), and the 喜不喜欢 of speech: the 不 a word of its own
  // and light, each A a word.
  const auto read = [&](std::uint32_t i) { return !syllables_[i].empty(); };
  for (std::uint32_t i = 1; i + 1 < text_.size(); ++i) {
    if (text_[i] != U'不' || !read(i) || !read(i - 1) || !read(i + 1) || text_[i - 1] == U'不')
      continue;
    const bool one = text_[i - 1] == text_[i + 1];
    const bool two = !one && i >= 2 && i + 2 < text_.size() && text_[i - 2] == text_[i + 1] &&
                     text_[i - 1] == text_[i + 2] && read(i - 2) && read(i + 2);
    if (!one && !two) continue;
    bool fixed = false;
    for (const Piece& p : pieces) fixed |= p.fixed && p.begin <= i + 1 && p.End() + 1 > i;
    if (fixed) continue;
    // A one-character A stands apart from what precedes it; what follows the second A is the
    // segmentation's (喜不喜欢: xǐ bu xǐhuan).
    if (one) CutBefore(i - 1);
    CutBefore(i);
    CutBefore(i + 1);
    MakeLight(i, {"bu4", "bu2"}, "bu5");
  }
}

void Units::MarkProper(std::size_t j, std::size_t count, std::string_view pattern) {
  const std::uint32_t begin = pieces[j].begin;
  std::vector<Piece> words;
  for (std::uint32_t k = 0; k < pattern.size(); ++k) {
    if (pattern[k] == 'A') words.push_back({begin + k, 0, true, true, 0});
    ++words.back().length;
  }
  pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(j),
               pieces.begin() + static_cast<std::ptrdiff_t>(j + count));
  pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(j), words.begin(), words.end());
}

void Units::ProperNames() {
  for (std::size_t j = 0; j < pieces.size(); ++j) {
    // The longest proper noun that begins here and ends where a piece ends.
    std::size_t count = 1;
    std::uint32_t length = pieces[j].length;
    std::size_t best = 0;
    std::string_view bestPattern;
    for (std::size_t k = j;; ++k, ++count) {
      if (length > nouns_.LongestWord()) break;
      if (length >= 2) {
        const std::string_view pattern =
            nouns_.PatternOf(std::u32string_view(text_.data() + pieces[j].begin, length));
        if (!pattern.empty()) {
          best = count;
          bestPattern = pattern;
        }
      }
      if (count >= 4 || !Adjacent(k)) break;
      length += pieces[k + 1].length;
    }
    if (best > 0) {
      const std::size_t words =
          static_cast<std::size_t>(std::count(bestPattern.begin(), bestPattern.end(), 'A'));
      MarkProper(j, best, bestPattern);
      j += words - 1;
      continue;
    }
    // A surname before a title (Wáng lǎoshī), and 老 or 小 before a surname (Xiǎo Wáng).
    const std::u32string_view chars = Chars(pieces[j]);
    if (Adjacent(j) && nouns_.IsSurname(chars) && IsOneOf(kTitles, Chars(pieces[j + 1]))) {
      pieces[j].fixed = pieces[j].capital = true;
      continue;
    }
    // The same made one word by the dictionary (王老师).
    if (chars.size() >= 2 && nouns_.IsSurname(chars.substr(0, 1)) &&
        IsOneOf(kTitles, chars.substr(1))) {
      const Piece title{pieces[j].begin + 1, pieces[j].length - 1};
      pieces[j] = Piece{pieces[j].begin, 1, true, true, 0};
      pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(j + 1), title);
      ++j;
      continue;
    }
    if (Adjacent(j) && (chars == U"老" || chars == U"小") && pieces[j + 1].length == 1 &&
        nouns_.IsSurname(Chars(pieces[j + 1]))) {
      pieces[j].fixed = pieces[j].capital = true;
      pieces[j + 1].fixed = pieces[j + 1].capital = true;
      ++j;
    }
  }
}

void Units::ParticlesApart() {
  for (std::size_t j = 0; j < pieces.size(); ++j) {
    Piece& p = pieces[j];
    if (p.fixed || p.length < 2) continue;
    const std::uint32_t last = p.End() - 1;
    const char32_t c = text_[last];
    if ((c != U'的' && c != U'地' && c != U'得') || SyllableAt(last) != "de5") continue;
    if (IsOneOf(kWordsEndingInDe, Chars(p))) continue;
    --p.length;
    pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(j + 1), Piece{last, 1});
    ++j;
  }
}

void Units::Numerals() {
  // A numeral apart from its measure word (sān gè), but for the words they make (yīdiǎn).
  for (std::size_t j = 0; j < pieces.size(); ++j) {
    Piece& p = pieces[j];
    if (p.fixed || p.length < 2) continue;
    const std::uint32_t last = p.End() - 1;
    if (!IsIn(kMeasureWords, text_[last]) || IsOneOf(kNumeralWords, Chars(p))) continue;
    bool numerals = true;
    // An ordinal too: 第一个 is dì-yī gè.
    const std::uint32_t first = text_[p.begin] == U'第' ? p.begin + 1 : p.begin;
    if (first == last) continue;
    for (std::uint32_t i = first; i < last; ++i) numerals &= IsIn(kNumerals, text_[i]);
    if (!numerals) continue;
    --p.length;
    pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(j + 1), Piece{last, 1});
    ++j;
  }
  // The digits of a number together, then cut after its hundreds and thousands.
  for (std::size_t j = 0; j < pieces.size(); ++j) {
    if (pieces[j].fixed || !IsNumeralPiece(pieces[j])) continue;
    while (Adjacent(j) && !pieces[j + 1].fixed && IsNumeralPiece(pieces[j + 1])) {
      pieces[j].length += pieces[j + 1].length;
      pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(j + 1));
    }
    for (std::uint32_t i = pieces[j].begin; i + 1 < pieces[j].End(); ++i) {
      if (!IsIn(kNumberUnits, text_[i])) continue;
      const std::uint32_t end = pieces[j].End();
      pieces[j].length = i + 1 - pieces[j].begin;
      pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(j + 1), Piece{i + 1, end - i - 1});
      break;
    }
  }
  // 第 and its numeral: dì-yī.
  for (std::size_t j = 0; j < pieces.size(); ++j) {
    Piece& p = pieces[j];
    if (p.fixed || text_[p.begin] != U'第') continue;
    if (p.length == 1 && Adjacent(j) && IsNumeralPiece(pieces[j + 1])) {
      p.length += pieces[j + 1].length;
      pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(j + 1));
    }
    if (p.length > 1 && IsIn(kNumerals, text_[p.begin + 1])) p.hyphenAt = 1;
  }
}

void Units::JoinSuffixes() {
  for (std::size_t j = 1; j < pieces.size(); ++j) {
    const Piece& p = pieces[j];
    if (p.length != 1 || pieces[j - 1].End() != p.begin) continue;
    const char32_t c = text_[p.begin];
    const std::string_view syllable = SyllableAt(p.begin);
    bool join = c == U'们' || syllable == "r5";
    if (c == U'着') join = syllable == "zhe5";
    if (c == U'过') join = syllable == "guo5";
    // 了 ending a sentence is a particle of the sentence, not of the verb.
    if (c == U'了') join = syllable == "le5" && !EndsClause(p.End());
    const Piece& before = pieces[j - 1];
    if (!join || IsNumeralPiece(before) || (before.fixed && c != U'们')) continue;
    pieces[j - 1].length += 1;
    pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(j));
    --j;
  }
}

}  // namespace

void OrthographicWords(std::span<const char32_t> text, std::span<std::string_view> syllables,
                       std::span<const Segment> segments, const ProperNouns& nouns,
                       std::vector<OrthographicWord>& out, NeutralTone light) {
  Units units(text, syllables, nouns, light);
  for (const Segment& segment : segments) {
    bool read = true;
    for (std::uint32_t k = 0; k < segment.length; ++k)
      read &= !syllables[segment.begin + k].empty();
    if (read) {
      units.pieces.push_back({segment.begin, segment.length});
      continue;
    }
    for (std::uint32_t k = 0; k < segment.length; ++k)
      if (!syllables[segment.begin + k].empty()) units.pieces.push_back({segment.begin + k, 1});
  }
  units.ProperNames();
  units.PersonalNames();
  units.ParticlesApart();
  units.Numerals();
  units.Demonstratives();
  units.QuestionsAnotA();
  units.JoinSuffixes();
  out.clear();
  for (const Piece& p : units.pieces) out.push_back({p.begin, p.length, p.capital, p.hyphenAt});
}

}  // namespace tolvane
