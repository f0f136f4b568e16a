// Subtitles annotated cue by cue, read by context from the shipped data: every encoding and line
// end read, everything but the cues' text kept byte for byte, the cue markup kept, and damaged
// files reported by file and line with the old target left alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "documents/Subtitles.h"
#include "platform/Error.h"
#include "platform/TextCodec.h"
#include "support/LayoutSupport.h"
#include "support/ShippedDataFixture.h"

namespace tolvane {
namespace {

std::string WithLineEnds(std::string_view text, std::string_view lineEnd) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') {
      out += lineEnd;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::vector<std::string> LinesOf(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string line(text.substr(0, end));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// What must come out as it went in: every line but the text lines of the cues (those after a
// timing line up to the next blank one), timings, numbers and identifiers among them.
std::vector<std::string> Skeleton(std::string_view text) {
  std::vector<std::string> kept;
  bool inCueText = false;
  for (const std::string& line : LinesOf(text)) {
    if (line.empty()) inCueText = false;
    if (!inCueText) kept.push_back(line);
    if (line.find("-->") != std::string::npos) inCueText = true;
  }
  return kept;
}

std::vector<std::string> TimingLines(std::string_view text) {
  std::vector<std::string> timings;
  for (const std::string& line : LinesOf(text))
    if (line.find("-->") != std::string::npos) timings.push_back(line);
  return timings;
}

class SubtitlesTest : public test::ShippedDataFixture {
 protected:
  static ConversionSettings Settings(bool written = false) {
    return test::ByContext(OutputFormat::rb_output_py, ToneStyle::Marked, written);
  }

  std::string Annotated(std::string_view text, SubtitleFormat format, bool written = false,
                        VttReadings vtt = VttReadings::Ruby) {
    SubtitleOptions options;
    options.vttReadings = vtt;
    return AnnotateSubtitleText(reader(), text, format, "cues", Settings(written), options);
  }

  // The lines one SRT text line becomes.
  std::vector<std::string> SrtLine(const std::string& line, bool written = false) {
    const std::string text = "1\n00:00:01,000 --> 00:00:02,000\n" + line + "\n";
    std::vector<std::string> lines = LinesOf(Annotated(text, SubtitleFormat::Srt, written));
    return {lines.begin() + 2, lines.end()};
  }

  // The lines one WebVTT text line becomes.
  std::vector<std::string> VttLine(const std::string& line, bool written = false,
                                   VttReadings vtt = VttReadings::Ruby) {
    const std::string text = "WEBVTT\n\n00:01.000 --> 00:02.000\n" + line + "\n";
    std::vector<std::string> lines = LinesOf(Annotated(text, SubtitleFormat::Vtt, written, vtt));
    return {lines.begin() + 3, lines.end()};
  }

  test::TempDir dir;
};

// A cue of one line, one of a line in markup and a Latin one, an empty cue, and (where the
// encoding holds it) a character beyond the BMP.
std::string SrtSource(bool beyondBmp) {
  return std::string(
             "1\n00:00:01,000 --> 00:00:02,500\n你好\n\n"
             "2\n00:00:03,000 --> 00:00:04,000 X1:10 X2:20 Y1:5 Y2:9\n<i>我们</i>\nOK!\n\n"
             "3\n00:00:05,000 --> 00:00:06,000\n\n"
             "4\n00:01:00,000 --> 01:00:00,000\n银行\n") +
         (beyondBmp ? "\n5\n01:00:00,000 --> 01:00:01,000\n𠀀\n" : "");
}

std::string SrtExpected(bool beyondBmp) {
  return std::string(
             "1\n00:00:01,000 --> 00:00:02,500\nnǐ hǎo\n你好\n\n"
             "2\n00:00:03,000 --> 00:00:04,000 X1:10 X2:20 Y1:5 Y2:9\nwǒ men\n<i>我们</i>\nOK!\n\n"
             "3\n00:00:05,000 --> 00:00:06,000\n\n"
             "4\n00:01:00,000 --> 01:00:00,000\nyín háng\n银行\n") +
         (beyondBmp ? "\n5\n01:00:00,000 --> 01:00:01,000\nhē\n𠀀\n" : "");
}

std::string VttSource(bool beyondBmp) {
  return std::string(
             "WEBVTT - 字幕\nKind: captions\n\nNOTE 注释\n不读\n\n"
             "STYLE\n::cue(rt) { font-size: 50%; }\n\n"
             "00:01.000 --> 00:02.500 align:start line:0\n你好\n\n"
             "第二\n00:00:03.000 --> 00:00:04.000\n<i>我们</i>\nOK!\n\n"
             "00:05.000 --> 00:06.000\n") +
         (beyondBmp ? "\n01:00:00.000 --> 01:00:01.000\n𠀀\n" : "");
}

std::string VttExpected(bool beyondBmp) {
  return std::string(
             "WEBVTT - 字幕\nKind: captions\n\nNOTE 注释\n不读\n\n"
             "STYLE\n::cue(rt) { font-size: 50%; }\n\n"
             "00:01.000 --> 00:02.500 align:start line:0\n"
             "<ruby>你<rt>nǐ</rt></ruby><ruby>好<rt>hǎo</rt></ruby>\n\n"
             "第二\n00:00:03.000 --> 00:00:04.000\n"
             "<i><ruby>我<rt>wǒ</rt></ruby><ruby>们<rt>men</rt></ruby></i>\nOK!\n\n"
             "00:05.000 --> 00:06.000\n") +
         (beyondBmp ? "\n01:00:00.000 --> 01:00:01.000\n<ruby>𠀀<rt>hē</rt></ruby>\n" : "");
}

TEST_F(SubtitlesTest, EveryEncodingAndLineEndIsReadAndWrittenAsUtf8WithEveryCueAnnotated) {
  struct Encoded {
    const char* name;
    Encoding encoding;
    bool byteOrderMark;
  };
  const Encoded encodings[] = {
      {"UTF-8", Encoding::Utf8, false},      {"UTF-8 BOM", Encoding::Utf8, true},
      {"UTF-16LE", Encoding::Utf16Le, true}, {"UTF-16BE", Encoding::Utf16Be, true},
      {"GB18030", Encoding::Gb18030, false}, {"code page 936", Encoding::Cp936, false},
  };
  struct Format {
    SubtitleFormat format;
    const char* file;
    std::string (*source)(bool);
    std::string (*expected)(bool);
  };
  const Format formats[] = {{SubtitleFormat::Srt, "film.srt", SrtSource, SrtExpected},
                            {SubtitleFormat::Vtt, "film.vtt", VttSource, VttExpected}};
  for (const Format& format : formats) {
    for (const Encoded& encoded : encodings) {
      for (const std::string_view lineEnd : {"\n", "\r\n"}) {
        SCOPED_TRACE(std::string(format.file) + " " + encoded.name +
                     (lineEnd.size() == 2 ? " CR LF" : " LF"));
        const bool beyondBmp = encoded.encoding != Encoding::Cp936;
        const std::string text = WithLineEnds(format.source(beyondBmp), lineEnd);
        const std::string bytes =
            std::string(encoded.byteOrderMark ? ByteOrderMark(encoded.encoding) : "") +
            (encoded.encoding == Encoding::Cp936 ? test::Gb(text)
                                                 : EncodeText(text, encoded.encoding));
        const auto source = dir / format.file;
        const auto target = dir / "target";
        test::WriteBytes(source, bytes);
        EXPECT_EQ(ConvertSubtitles(reader(), source, target, Settings()), format.format);
        const std::string written = test::ReadBytes(target);
        EXPECT_EQ(written, (encoded.byteOrderMark ? "\xEF\xBB\xBF" : "") +
                               WithLineEnds(format.expected(beyondBmp), lineEnd));
        // Read back, the target has the source's cues at the source's times.
        const std::string_view utf8 =
            std::string_view(written).substr(encoded.byteOrderMark ? 3 : 0);
        EXPECT_EQ(TimingLines(utf8), TimingLines(text));
        EXPECT_EQ(Skeleton(utf8), Skeleton(text));
      }
    }
  }
}

TEST_F(SubtitlesTest, SrtTextLinesGetTheirPinyinLineAboveThemAndLatinLinesStayAlone) {
  struct Case {
    const char* line;
    bool written;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"你好", false, {"nǐ hǎo", "你好"}},
      {"<font color=\"#ffff00\">你好</font>",
       false,
       {"nǐ hǎo", "<font color=\"#ffff00\">你好</font>"}},
      {"{\\an8}你好", false, {"nǐ hǎo", "{\\an8}你好"}},
      {"- 你好", false, {"- nǐ hǎo", "- 你好"}},
      {"Hello, <i>world</i>!", false, {"Hello, <i>world</i>!"}},
      {"2024", false, {"2024"}},
      {"你好！", true, {"Nǐhǎo!", "你好！"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(SrtLine(c.line, c.written), c.lines);
  }
}

TEST_F(SubtitlesTest, VttCueMarkupIsKeptAndOnlyItsTextIsSetInRuby) {
  struct Case {
    const char* line;
    bool written;
    const char* out;
  };
  const Case cases[] = {
      {"<i>你好</i>", false, "<i><ruby>你<rt>nǐ</rt></ruby><ruby>好<rt>hǎo</rt></ruby></i>"},
      // A voice's name and a class are markup, not text.
      {"<v 老师>好</v>", false, "<v 老师><ruby>好<rt>hǎo</rt></ruby></v>"},
      {"<c.yellow.bg_blue>好</c>", false, "<c.yellow.bg_blue><ruby>好<rt>hǎo</rt></ruby></c>"},
      {"你<00:00:01.500>好", false,
       "<ruby>你<rt>nǐ</rt></ruby><00:00:01.500><ruby>好<rt>hǎo</rt></ruby>"},
      // Character references stay as written.
      {"&lt;好&gt; &amp; R&D", false, "&lt;<ruby>好<rt>hǎo</rt></ruby>&gt; &amp; R&D"},
      // The cue's own ruby is left as it is.
      {"<ruby>银行<rt>yínháng</rt></ruby>好", false,
       "<ruby>银行<rt>yínháng</rt></ruby><ruby>好<rt>hǎo</rt></ruby>"},
      {"Hello, world.", false, "Hello, world."},
      {"𠀀好", false, "<ruby>𠀀<rt>hē</rt></ruby><ruby>好<rt>hǎo</rt></ruby>"},
      // Written pinyin: a word in one ruby; cut by a tag, its reading stands over its first part.
      {"我们好", true, "<ruby>我们<rt>Wǒmen</rt></ruby><ruby>好<rt>hǎo</rt></ruby>"},
      {"<b>我</b>们", true, "<b><ruby>我<rt>Wǒmen</rt></ruby></b>们"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(VttLine(c.line, c.written), std::vector<std::string>{c.out});
  }
}

TEST_F(SubtitlesTest, VttPinyinLinesAboveHoldTheTextsReadingEscaped) {
  struct Case {
    const char* line;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"<i>你好</i>", {"nǐ hǎo", "<i>你好</i>"}},
      {"<ruby>银行<rt>yínháng</rt></ruby>", {"yín háng", "<ruby>银行<rt>yínháng</rt></ruby>"}},
      {"你&lt;好", {"nǐ&lt;hǎo", "你&lt;好"}},
      {"OK &amp; bye", {"OK &amp; bye"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(VttLine(c.line, false, VttReadings::LineAbove), c.lines);
  }
}

TEST_F(SubtitlesTest, TheFormatComesFromTheContentElseFromTheExtension) {
  const std::string srt = "1\n00:00:01,000 --> 00:00:02,000\n你好\n";
  struct Case {
    const char* name;
    std::string bytes;
    std::optional<SubtitleFormat> format;
  };
  const Case cases[] = {
      {"film.txt", srt, SubtitleFormat::Srt},
      {"film.txt", "\r\n\r\n" + WithLineEnds(srt, "\r\n"), SubtitleFormat::Srt},
      {"film.txt", "00:00:01,000 --> 00:00:02,000\n你好\n", SubtitleFormat::Srt},
      {"film.txt",
       std::string(ByteOrderMark(Encoding::Utf16Le)) + EncodeText(srt, Encoding::Utf16Le),
       SubtitleFormat::Srt},
      {"film.txt", test::Gb(srt), SubtitleFormat::Srt},
      {"film.srt", "WEBVTT\n\n00:01.000 --> 00:02.000\n你好\n", SubtitleFormat::Vtt},
      {"film.txt", "\xEF\xBB\xBFWEBVTT\n", SubtitleFormat::Vtt},
      {"film.txt", "WEBVTT\tzh\n", SubtitleFormat::Vtt},
      {"FILM.SRT", "从前有座山。\n", SubtitleFormat::Srt},
      {"film.vtt", "", SubtitleFormat::Vtt},
      {"film.txt", "从前有座山。\n", std::nullopt},
      {"film.txt", "WEBVTTX\n", std::nullopt},
      {"film.txt", "1\n从前有座山。\n", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ": " + c.bytes);
    EXPECT_EQ(DetectSubtitleFormat(c.name, c.bytes), c.format);
  }
}

TEST_F(SubtitlesTest, ADamagedFileIsReportedByFileAndLineAndTheOldTargetStays) {
  struct Case {
    const char* name;
    std::string text;
    int line;
  };
  const Case cases[] = {
      {"a.srt", "1\n00:00:01,000 -> 00:00:02,000\n你好\n", 2},
      {"a.srt", "1\n00:00:01,000 --> 00:00:02,000\n你好\n\n2\n00:00:61,000 --> 00:01:02,000\n好\n",
       6},
      {"a.srt", "1\n00:00:01,000 --> 00:00:02,000\n你好\n\n2\n", 5},
      {"a.srt", "1\n00:00:01,000 --> 00:00:02,000\n你好\n\n\n你好\n", 6},
      {"a.srt", "从前有座山。\n山里有座庙。\n", 1},
      {"a.vtt", "1\n00:01.000 --> 00:02.000\n好\n", 1},
      {"a.vtt", "WEBVTT\n\n00:01.000 --> 00:02.00\n好\n", 3},
      {"a.vtt", "WEBVTT\n\n00:01.000 --> 00:02.000\n好\n\nid\nnot a timing\n", 7},
      {"a.vtt", "WEBVTT\n\n00:01.000 --> 00:02.000\n好\n\n0:01.000 --> 00:02.000\n", 6},
      {"a.txt", "从前有座山。\n", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto source = dir / c.name;
    const auto target = dir / "old target";
    // In UTF-16, so that the lines are counted in the text, not in bytes.
    test::WriteBytes(source, std::string(ByteOrderMark(Encoding::Utf16Le)) +
                                 EncodeText(c.text, Encoding::Utf16Le));
    test::WriteBytes(target, "old");
    try {
      ConvertSubtitles(reader(), source, target, Settings());
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find("\"" + source.string() + "\""), std::string::npos) << message;
      EXPECT_NE(message.find("line " + std::to_string(c.line) + ":"), std::string::npos) << message;
      EXPECT_EQ(error.path(), source);
    }
    EXPECT_EQ(test::ReadBytes(target), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
    std::filesystem::remove(source);
  }
}

TEST_F(SubtitlesTest, TheTargetIsReplacedWholeEvenWhenItIsTheSource) {
  const auto source = dir / "film.srt";
  const auto target = dir / "film.py.srt";
  test::WriteBytes(source, SrtSource(true));
  test::WriteBytes(target, std::string(100000, 'x'));
  ConvertSubtitles(reader(), source, target, Settings());
  EXPECT_EQ(test::ReadBytes(target), SrtExpected(true));
  ConvertSubtitles(reader(), source, source, Settings());
  EXPECT_EQ(test::ReadBytes(source), SrtExpected(true));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

}  // namespace
}  // namespace tolvane
