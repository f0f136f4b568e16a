// The image of the phrase data: mapped, it answers every question as the data parsed from its
// text files does; made from other files than those beside it, cut short or with a damaged
// header, it is passed over and the text files are read instead; with forged arrays, it answers
// only from within them.
#include "reading/context/PhraseImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/TextFile.h"
#include "platform/UnicodeText.h"
#include "reading/shared/DataFiles.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::string Utf8(std::u32string_view text) {
  std::string out;
  for (const char32_t cp : text) unicode::AppendCodePoint(out, cp);
  return out;
}

std::string ReplaceFirst(std::string text, std::string_view what, std::string_view with) {
  text.replace(text.find(what), what.size(), with);
  return text;
}

// Small files with a word beyond the Basic Multilingual Plane, a light syllable, a default
// reading left to the characters file, a disputed pair and a pair given twice.
const std::string kWords =
    "一\t500\tyi1\n"
    "一下\t40\tyi2 xia4\n"
    "一下子\t9\tyi2 xia4 zi5\n"
    "中\t300\tzhong1\n"
    "中国\t80\tzhong1 guo2\n"
    "中国人\t20\tzhong1 guo2 ren2\n"
    "人\t400\tren2\n"
    "朋友\t60\tpeng2 you3:5\n"
    "行\t70\t-\n"
    "银行\t30\tyin2 hang2\n"
    "𠀀\t5\tqiu1\n"
    "𠀀𠀁\t3\tqiu1 -\n";
const std::string kPairs =
    "银行\t2\thang2\n"
    "行长\t1\thang2\n"
    "行长\t1\t*\n"
    "长大\t1\tzhang3\n";
const std::string kCharacters =
    "行\txing2\n"
    "长\tchang2\n"
    "长\tzhang3\n"
    "𠀁\tkao3\n";
const std::u32string kLetters = U"一下子中国人朋友行银长大𠀀𠀁乙";

// Everything the data answers about the letters and texts made of them, one line per answer.
std::vector<std::string> Answers(const PhraseData& data) {
  const auto name = [&](SyllableId id) -> std::string {
    if (id == kDefaultSyllable) return "-";
    if (id == kDisputedSyllable) return "*";
    return id < data.SyllableCount() ? data.Syllable(id) : "?";
  };
  std::vector<std::string> out;
  out.push_back("unknown " + std::to_string(data.UnknownLogProbability()) + " words " +
                std::to_string(data.WordCount()));
  for (std::size_t id = 0; id < data.SyllableCount(); ++id)
    out.push_back("syllable " + data.Syllable(static_cast<SyllableId>(id)));
  const PhraseData::RuleSyllables& r = data.Rules();
  for (const SyllableId id :
       {r.yi1, r.yi2, r.yi4, r.bu2, r.bu4, r.de5, r.dei3, r.zhe5, r.er5, r.r5})
    out.push_back("rule " + name(id));
  std::vector<std::u32string> texts;
  for (std::size_t i = 0; i < kLetters.size(); ++i) {
    texts.push_back(kLetters.substr(i));
    texts.push_back(std::u32string(kLetters.rbegin(), kLetters.rend()).substr(i));
  }
  texts.push_back(U"中国人一下子银行行长𠀀𠀁朋友");
  for (const std::u32string& text : texts) {
    data.ForEachWordAt(text, [&](const PhraseData::WordMatch& match) {
      std::string line = Utf8(text) + " " + std::to_string(match.length) + " " +
                         std::to_string(match.logProbability);
      const SyllableId* spoken = data.SpokenReadingsOf(match.readings.data());
      for (std::size_t k = 0; k < match.readings.size(); ++k)
        line += " " + name(match.readings[k]) + "/" + name(spoken[k]);
      out.push_back(line);
    });
  }
  for (const char32_t c : kLetters) {
    const auto standing = data.DefaultReading(c);
    out.push_back(Utf8(std::u32string{c}) + " default " + (standing ? name(*standing) : "none"));
    for (const char32_t other : kLetters) {
      for (const int which : {1, 2}) {
        const auto pair = data.PairReading(c, other, which);
        if (pair)
          out.push_back(Utf8(std::u32string{c, other}) + " " + std::to_string(which) + " " +
                        name(*pair));
      }
    }
  }
  return out;
}

struct Files {
  TempDir dir;
  std::filesystem::path words = dir / "w.txt";
  std::filesystem::path pairs = dir / "p.txt";
  std::filesystem::path characters = dir / "c.txt";
  std::filesystem::path image = dir / "phrases.img";

  Files() {
    WriteBytes(words, kWords);
    WriteBytes(pairs, kPairs);
    WriteBytes(characters, kCharacters);
  }
  std::unique_ptr<PhraseData> Parsed() const { return PhraseData::Load(words, pairs, characters); }
  PhraseSources Sources() const { return *FingerprintPhraseFiles(words, pairs, characters); }
  void MakeImage() const { WritePhraseImage(*Parsed(), Sources(), image); }
  std::unique_ptr<PhraseData> Loaded() const {
    return LoadPhraseData(words, pairs, characters, image);
  }
};

TEST(PhraseImage, AnswersAsTheDataParsedFromItsFiles) {
  const Files files;
  files.MakeImage();
  const auto mapped = OpenPhraseImage(files.image, files.Sources());
  ASSERT_NE(mapped, nullptr);
  const std::vector<std::string> expected = Answers(*files.Parsed());
  EXPECT_GT(expected.size(), 60u);  // the texts do meet the words, the pairs and the defaults
  EXPECT_EQ(Answers(*mapped), expected);
  EXPECT_EQ(Answers(*files.Loaded()), expected);
  // Made again from the same files, the image is the same bytes.
  const std::string first = ReadBytes(files.image);
  files.MakeImage();
  EXPECT_EQ(ReadBytes(files.image), first);
}

TEST(PhraseImage, TheBuiltImageAnswersAsTheShippedFilesDo) {
  const std::filesystem::path folder = test::BuildProgramFolder();
  const auto words = folder / kContextWordsFile;
  const auto pairs = folder / kContextPairsFile;
  const auto characters = folder / kContextCharactersFile;
  const auto sources = FingerprintPhraseFiles(words, pairs, characters);
  ASSERT_TRUE(sources.has_value());
  const auto mapped = OpenPhraseImage(folder / kPhraseImageFile, *sources);
  ASSERT_NE(mapped, nullptr) << "the build makes the image beside the text files";
  const auto parsed = PhraseData::Load(words, pairs, characters);
  ASSERT_EQ(mapped->WordCount(), parsed->WordCount());
  ASSERT_EQ(mapped->SyllableCount(), parsed->SyllableCount());
  const PhraseTables& a = mapped->Tables();
  const PhraseTables& b = parsed->Tables();
  const auto same = [](auto x, auto y) { return std::ranges::equal(x, y); };
  const auto sameWords = std::ranges::equal(a.words, b.words, [](const auto& x, const auto& y) {
    return x.begin == y.begin && x.length == y.length && x.logProbability == y.logProbability;
  });
  EXPECT_TRUE(sameWords);
  EXPECT_TRUE(same(a.characters, b.characters));
  EXPECT_TRUE(same(a.readings, b.readings));
  EXPECT_TRUE(same(a.spokenReadings, b.spokenReadings));
  EXPECT_TRUE(same(a.bmpDefaults, b.bmpDefaults));
  EXPECT_TRUE(same(a.pairedCharacters, b.pairedCharacters));
  EXPECT_TRUE(same(a.pairs.keys, b.pairs.keys));
  EXPECT_TRUE(same(a.pairs.values, b.pairs.values));
  EXPECT_TRUE(same(a.prefixes.keys, b.prefixes.keys));
  EXPECT_EQ(a.unknownLogProbability, b.unknownLogProbability);
  for (std::size_t id = 0; id < parsed->SyllableCount(); ++id)
    EXPECT_EQ(mapped->Syllable(static_cast<SyllableId>(id)),
              parsed->Syllable(static_cast<SyllableId>(id)));
}

// Each file changed after the image was made, keeping its size: the image is stale.
TEST(PhraseImage, AnImageOfOtherFilesIsPassedOver) {
  struct Case {
    const char* what;
    std::function<void(const Files&)> change;
  };
  const std::vector<Case> cases = {
      {"a word's frequency",
       [](const Files& f) { WriteBytes(f.words, ReplaceFirst(kWords, "中国\t80", "中国\t90")); }},
      {"a pair's reading",
       [](const Files& f) { WriteBytes(f.pairs, ReplaceFirst(kPairs, "zhang3", "chang2")); }},
      {"a character's reading",
       [](const Files& f) {
         WriteBytes(f.characters, ReplaceFirst(kCharacters, "xing2", "hang2"));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Files files;
    files.MakeImage();
    c.change(files);
    EXPECT_FALSE(OpenPhraseImage(files.image, files.Sources())) << "the image was taken";
    EXPECT_EQ(Answers(*files.Loaded()), Answers(*files.Parsed()));
    EXPECT_NE(Answers(*files.Loaded()), Answers(*[&] {
                Files original;
                return original.Parsed();
              }()));
  }
}

TEST(PhraseImage, ADamagedImageIsPassedOver) {
  struct Case {
    const char* what;
    std::function<void(std::string&)> damage;
  };
  const std::vector<Case> cases = {
      {"empty", [](std::string& b) { b.clear(); }},
      {"cut within the header", [](std::string& b) { b.resize(100); }},
      {"cut short by a byte", [](std::string& b) { b.pop_back(); }},
      {"cut in half", [](std::string& b) { b.resize(b.size() / 2); }},
      {"a byte longer", [](std::string& b) { b.push_back('\0'); }},
      {"the version changed", [](std::string& b) { b[9] ^= 1; }},
      {"a source's hash changed", [](std::string& b) { b[40] ^= 1; }},
      {"an array's place changed", [](std::string& b) { b[128] ^= 8; }},
      {"not an image", [](std::string& b) { b.assign(b.size(), 'x'); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Files files;
    files.MakeImage();
    std::string bytes = ReadBytes(files.image);
    c.damage(bytes);
    WriteBytes(files.image, bytes);
    EXPECT_FALSE(OpenPhraseImage(files.image, files.Sources())) << "the image was taken";
    EXPECT_EQ(Answers(*files.Loaded()), Answers(*files.Parsed()));
  }
}

// An image whose header is right but whose arrays point outside themselves, hold syllable ids
// that are none or leave a table without a free slot, as damage or a forger could make them.
// Opening reads only the header, so the image is taken; each entry is checked where a lookup
// reads it, and reads as absent. Where the arrays are left unchecked, the values far out of range
// make a lookup fault, loop or hand out a syllable id that is none.
TEST(PhraseImage, AForgedImageAnswersOnlyFromWithinItsArrays) {
  const Files files;
  files.MakeImage();
  const std::string good = ReadBytes(files.image);
  const auto parsed = files.Parsed();
  const std::vector<std::string> truth = Answers(*parsed);
  const PhraseTables& tables = parsed->Tables();
  // Where an array lies in the image: found by its bytes, which are unique enough here.
  const auto offsetOf = [&](auto span) {
    const std::string_view needle(reinterpret_cast<const char*>(span.data()), span.size_bytes());
    const std::size_t at = good.find(needle, 0);
    EXPECT_NE(at, std::string::npos);
    return at;
  };
  const auto put = [](std::string& b, std::size_t at, auto value) {
    std::memcpy(b.data() + at, &value, sizeof value);
  };
  // Every entry of an array, or only those a filled slot of an open table holds.
  const auto putEach = [&](std::string& b, auto span, auto value) {
    const std::size_t at = offsetOf(span);
    for (std::size_t i = 0; i < span.size(); ++i) put(b, at + sizeof value * i, value);
  };
  const auto putFilled = [&](std::string& b, const auto& table, auto value) {
    const std::size_t at = offsetOf(table.values);
    for (std::size_t i = 0; i < table.keys.size(); ++i)
      if (table.keys[i] != ~std::uint64_t{0}) put(b, at + sizeof value * i, value);
  };
  const std::uint32_t farCharacter = 0xFFFFFF00;
  struct Case {
    const char* what;
    std::function<void(std::string&)> forge;
  };
  const std::vector<Case> cases = {
      {"the last word's characters far beyond the arrays (a word beyond the plane)",
       [&](std::string& b) {
         put(b, offsetOf(tables.words) + sizeof(PhraseWord) * (tables.words.size() - 1),
             farCharacter);
       }},
      {"every word's characters far beyond the arrays",
       [&](std::string& b) {
         for (std::size_t w = 0; w < tables.words.size(); ++w)
           put(b, offsetOf(tables.words) + sizeof(PhraseWord) * w, farCharacter);
       }},
      {"words longer than the characters",
       [&](std::string& b) {
         for (std::size_t w = 0; w < tables.words.size(); ++w)
           put(b, offsetOf(tables.words) + sizeof(PhraseWord) * w + 4, std::uint16_t{0xFFFF});
       }},
      {"readings beyond the syllables",
       [&](std::string& b) { putEach(b, tables.readings, SyllableId{0xFFF0}); }},
      {"light syllables beyond the syllables",
       [&](std::string& b) { putEach(b, tables.spokenReadings, SyllableId{0xFFF0}); }},
      {"a character's word far beyond the words",
       [&](std::string& b) {
         put(b, offsetOf(tables.bmpFirst) + sizeof(PhraseFirstCharacter) * U'中',
             std::int32_t{0x7FFFFF00});
       }},
      {"ranges of words far beyond the words",
       [&](std::string& b) {
         putFilled(b, tables.prefixes, PhraseWordRange{0, 0xFFFFFF00});
       }},
      {"ranges of words that end before they begin",
       [&](std::string& b) {
         putFilled(b, tables.prefixes, PhraseWordRange{0xFFFFFF00, 1});
       }},
      {"defaults beyond the syllables",
       [&](std::string& b) { putEach(b, tables.bmpDefaults, SyllableId{0x8000}); }},
      {"defaults beyond the plane beyond the syllables",
       [&](std::string& b) { putFilled(b, tables.defaults, SyllableId{0x8000}); }},
      {"pairs' readings beyond the syllables",
       [&](std::string& b) { putFilled(b, tables.pairs, SyllableId{0x8000}); }},
      {"a pair table with no free slot",
       [&](std::string& b) {
         for (std::size_t i = 0; i < tables.pairs.keys.size(); ++i)
           put(b, offsetOf(tables.pairs.keys) + 8 * i, std::uint64_t{i});
       }},
      {"a prefix table with no free slot",
       [&](std::string& b) {
         for (std::size_t i = 0; i < tables.prefixes.keys.size(); ++i)
           put(b, offsetOf(tables.prefixes.keys) + 8 * i, std::uint64_t{i});
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = good;
    c.forge(bytes);
    ASSERT_NE(bytes, good);
    SealPhraseImage(bytes);
    WriteBytes(files.image, bytes);
    const auto mapped = OpenPhraseImage(files.image, files.Sources());
    ASSERT_TRUE(mapped) << "the image was passed over";
    // Every answer is one the files give too (Answers names an id beyond the syllables "?"),
    // or a default that is none: what is forged is gone, nothing else is made up.
    const std::vector<std::string> answers = Answers(*mapped);
    for (const std::string& answer : answers)
      EXPECT_TRUE(std::ranges::find(truth, answer) != truth.end() ||
                  answer.ends_with(" default none"))
          << answer;
    EXPECT_NE(answers, truth) << "the forgery changed nothing the answers read";
  }
}

// Opening reads only the header: the shape of the arrays it records is checked there, and an
// image of the wrong shape is passed over even with its hash right.
TEST(PhraseImage, AnImageOfTheWrongShapeIsPassedOver) {
  const Files files;
  files.MakeImage();
  const std::string good = ReadBytes(files.image);
  const auto parsed = files.Parsed();
  const PhraseTables& tables = parsed->Tables();
  // The places of the arrays follow 128 bytes of the header, an offset and a count each, in the
  // order PhraseImage.cpp gives them.
  const auto countAt = [](std::size_t section) { return 128 + 16 * section + 8; };
  struct Case {
    const char* what;
    std::size_t section;
    std::uint64_t count;
  };
  const std::vector<Case> cases = {
      {"fewer readings than characters", 5, tables.readings.size() - 1},
      {"fewer light syllables than readings", 6, tables.spokenReadings.size() - 1},
      {"fewer third characters than words", 4, tables.words.size() - 1},
      {"the plane's first characters cut short", 7, 0xFFFF},
      {"the plane's defaults cut short", 8, 0xFFFF},
      {"the paired characters cut short", 9, 1023},
      {"a prefix table of fewer values than keys", 11, tables.prefixes.keys.size() / 2},
      {"a pair table not a power of two", 14, tables.pairs.keys.size() - 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = good;
    std::memcpy(bytes.data() + countAt(c.section), &c.count, sizeof c.count);
    SealPhraseImage(bytes);
    WriteBytes(files.image, bytes);
    EXPECT_FALSE(OpenPhraseImage(files.image, files.Sources())) << "the image was taken";
    EXPECT_EQ(Answers(*files.Loaded()), Answers(*parsed));
  }
  // Sealed as it is, the image is taken: the cases above fail for their change alone.
  std::string bytes = good;
  SealPhraseImage(bytes);
  WriteBytes(files.image, bytes);
  EXPECT_TRUE(OpenPhraseImage(files.image, files.Sources()));
}

}  // namespace
}  // namespace tolvane
