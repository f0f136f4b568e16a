#include <gtest/gtest.h>

#include <sstream>

#include "engine/BatchConversion.h"
#include "platform/TextCodec.h"
#include "platform/TextEncoding.h"
#include "support/ScriptedRunObserver.h"
#include "support/SessionSupport.h"
#include "support/TestSupport.h"

// A NUL in a user's document is a character like any other without a reading: it is copied, and
// nothing after it is lost.
namespace tolvane {
namespace {

using namespace std::string_literals;

// Reports where the run found its first NUL.
class NulObserver : public test::ScriptedObserver {
 public:
  std::vector<std::uint64_t> nulOffsets;
  void NulCharacters(const std::filesystem::path&, std::uint64_t offset) override {
    nulOffsets.push_back(offset);
  }
};

class NulCharactersTest : public testing::Test {
 protected:
  void SetUp() override { StartSession(session_, test::SourceDataFolder()); }

  // The target's bytes of a run over `source`, read from memory and written to a stream.
  std::string Convert(const std::string& source, const ConversionSettings& settings,
                      NulObserver& observer) {
    BatchRequest request;
    request.source = "a.txt";
    request.target = "a_out.txt";
    request.settings = settings;
    request.data = session_.Data();
    request.programFolder = program_.path();
    request.sourceBytes = &source;
    std::ostringstream target;
    request.targetStream = &target;
    EXPECT_EQ(BatchConversion(request, observer).status, RunStatus::Completed);
    return target.str();
  }

  Session session_;
  test::TempDir program_;
};

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
    text.replace(at, from.size(), to);
  return text;
}

// Every encoding, layout and wrap: the NUL comes out exactly where a character without a reading
// (a backtick) comes out, and the line after it is annotated.
TEST_F(NulCharactersTest, NulIsCopiedWhereAnyCharacterWithoutAReadingWouldBe) {
  const struct {
    const char* name;
    Encoding encoding;
    bool mark;
  } encodings[] = {
      {"GB2312", Encoding::Cp936, false},          {"UTF-8", Encoding::Utf8, false},
      {"UTF-8 with a mark", Encoding::Utf8, true}, {"UTF-16LE", Encoding::Utf16Le, true},
      {"UTF-16BE", Encoding::Utf16Be, true},       {"GB18030", Encoding::Gb18030, false}};
  const std::string textUtf8 = "我`爱\r\n北京`\r\n`\r\n天安门";
  for (const auto& encoding : encodings) {
    const auto encode = [&](const std::string& utf8) {
      if (encoding.encoding == Encoding::Cp936) return test::Gb(utf8);
      return std::string(encoding.mark ? ByteOrderMark(encoding.encoding) : "") +
             EncodeText(utf8, encoding.encoding);
    };
    // GB18030 needs a four-byte sequence to be told from GB2312.
    const std::string extra = encoding.encoding == Encoding::Gb18030 ? "\r\n😀" : "";
    const std::string withBacktick = encode(textUtf8 + extra);
    const std::string withNul = encode(Replaced(textUtf8, "`", "\0"s) + extra);
    for (const OutputFormat format :
         {OutputFormat::rb_output_py, OutputFormat::rb_output_han, OutputFormat::rb_output_hanpy,
          OutputFormat::rb_output_pyhan, OutputFormat::rb_output_py_only, OutputFormat::html})
      for (const int wrap : {0, 2}) {
        SCOPED_TRACE(std::string(encoding.name) + ", layout " +
                     std::to_string(static_cast<int>(format)) + ", wrap " + std::to_string(wrap));
        ConversionSettings settings;
        settings.outputFormat = format;
        settings.wrapWidth = wrap;
        NulObserver plain;
        NulObserver nul;
        const std::string expected = Convert(withBacktick, settings, plain);
        const std::string got = Convert(withNul, settings, nul);
        const bool utf16 =
            encoding.encoding == Encoding::Utf16Le || encoding.encoding == Encoding::Utf16Be;
        const bool targetUtf16 = utf16 && format != OutputFormat::html;
        const std::string backtick = targetUtf16 ? EncodeText("`", encoding.encoding) : "`";
        const std::string zero = targetUtf16 ? "\0\0"s : "\0"s;
        EXPECT_EQ(got, Replaced(expected, backtick, zero));
        EXPECT_TRUE(plain.nulOffsets.empty());
        ASSERT_EQ(nul.nulOffsets.size(), 1u);
        EXPECT_EQ(nul.nulOffsets[0], withNul.find(zero));
      }
  }
}

TEST_F(NulCharactersTest, ASourceOfNothingButNulsIsCopiedWhole) {
  const std::string source(5000, '\0');
  ConversionSettings settings;
  settings.outputFormat = OutputFormat::rb_output_hanpy;
  NulObserver observer;
  EXPECT_EQ(Convert(source, settings, observer), source + "\r\n");
  EXPECT_EQ(observer.nulOffsets, std::vector<std::uint64_t>{0});
}

}  // namespace
}  // namespace tolvane
