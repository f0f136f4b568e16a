// Detection, decoding and encoding lose nothing: whatever the bytes, read in the encoding that
// detection (or a forced choice) gives and written back in the same encoding, they come back
// byte for byte. And a whole conversion in the hanpy layout carries every byte of the text into
// the target, in order, with readings between them.
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "FuzzInput.h"
#include "engine/BatchConversion.h"
#include "platform/Cp936.h"
#include "platform/EncodingDetection.h"
#include "platform/TextCodec.h"
#include "platform/UnicodeText.h"
#include "reading/Session.h"
#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"

using namespace tolvane;

namespace {

// Unicode text back into code page 936: raw bytes as they stand, code points by the table.
std::string EncodeCp936(std::string_view text) {
  std::string out;
  unicode::ForEachCodePoint(text, [&](std::string_view, char32_t cp) {
    if (unicode::IsRawByte(cp)) {
      out.push_back(static_cast<char>(unicode::RawByteOf(cp)));
    } else {
      const cp936::EncodedChar gb = cp936::EncodeChar(cp);
      FUZZ_CHECK(gb.length > 0);
      out.append(gb.view());
    }
  });
  return out;
}

void CheckRoundTrip(std::string_view bytes, const SourceEncoding& source) {
  FUZZ_CHECK(source.byteOrderMarkLength <= bytes.size());
  const std::string_view body = bytes.substr(source.byteOrderMarkLength);
  const Encoding encoding = source.encoding.encoding;
  const DecodedText decoded = DecodeText(body, encoding, source.byteOrderMarkLength);
  const std::string back =
      encoding == Encoding::Cp936 ? EncodeCp936(decoded.text) : EncodeText(decoded.text, encoding);
  FUZZ_CHECK(back + decoded.trailingBytes == body);
  FUZZ_CHECK(decoded.firstUndecodable.has_value() == unicode::HoldsRawBytes(decoded.text) ||
             !decoded.trailingBytes.empty());
  if (decoded.firstUndecodable) FUZZ_CHECK(*decoded.firstUndecodable < bytes.size());
}

// Whether `part` can be had from `whole` by leaving bytes out.
bool IsSubsequence(std::string_view part, std::string_view whole) {
  std::size_t at = 0;
  for (const char c : whole) {
    if (at < part.size() && part[at] == c) ++at;
  }
  return at == part.size();
}

class QuietObserver : public RunObserver {
 public:
  void ProgressStarted(std::size_t) override {}
  void ProgressStepped() override {}
  void ProgressRangeCorrected(std::size_t) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::uint8_t choice = input.Byte();
  const std::string bytes(input.Rest());

  CheckRoundTrip(bytes, DetectEncoding(bytes));
  const EncodingChoice forced = static_cast<EncodingChoice>(choice % 6);
  CheckRoundTrip(bytes, ChooseEncoding(bytes, forced));

  // The whole conversion, for UTF-8 and code page 936 text: the text's bytes (those before a
  // NUL, less the byte-order mark and the line ends) stand in the target in order.
  // The built-in tables alone, started once: nothing the inputs change.
  static const std::shared_ptr<const ReadingData> loaded = [] {
    Session session;
    StartSession(session, "/nonexistent-folder");
    return session.Data();
  }();
  const SourceEncoding source = ChooseEncoding(bytes, forced);
  if (source.encoding.encoding != Encoding::Cp936 && source.encoding.encoding != Encoding::Utf8)
    return 0;
  BatchRequest request;
  request.source = "-";
  request.target = "-";
  request.settings.toneStyle = ToneStyle::Numbered;
  request.settings.outputFormat =
      choice & 0x80 ? OutputFormat::rb_output_hanpy : OutputFormat::rb_output_pyhan;
  request.sourceEncoding = forced;
  request.sourceBytes = &bytes;
  request.data = loaded;
  std::ostringstream target;
  request.targetStream = &target;
  QuietObserver observer;
  FUZZ_CHECK(BatchConversion(request, observer).status == RunStatus::Completed);
  std::string text;
  for (const char c : std::string_view(bytes).substr(source.byteOrderMarkLength)) {
    if (c == '\0') break;
    if (c != '\r' && c != '\n') text.push_back(c);
  }
  FUZZ_CHECK(IsSubsequence(text, target.str()));
  return 0;
}
