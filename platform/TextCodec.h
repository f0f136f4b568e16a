#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/TextEncoding.h"

// Decoding whole texts into Unicode text (platform/UnicodeText.h) and encoding Unicode text
// into the encodings Tolvane writes. Nothing is lost either way: a byte sequence that does not
// decode becomes raw bytes, and raw bytes are written as the bytes they stand for, so decoding
// and then encoding in the same encoding gives the input back byte for byte.
namespace tolvane {

struct DecodedText {
  std::string text;  // Unicode text
  // A UTF-16 file of odd length: its last byte, which belongs after the last line.
  std::string trailingBytes;
  // Byte offset, in the file, of the first sequence that did not decode.
  std::optional<std::size_t> firstUndecodable;
};

// Decodes `bytes`, a file's bytes after its byte-order mark; `offset` is the length of that mark,
// so that the offsets reported count from the start of the file.
DecodedText DecodeText(std::string_view bytes, Encoding encoding, std::size_t offset = 0);

// Encodes Unicode text into one encoding; it keeps what a conversion needs between calls.
class TextEncoder {
 public:
  explicit TextEncoder(Encoding encoding);
  ~TextEncoder();
  TextEncoder(const TextEncoder&) = delete;
  TextEncoder& operator=(const TextEncoder&) = delete;

  Encoding encoding() const { return encoding_; }

  // Appends `text` encoded to `out`. Raw bytes go out as they stand; in UTF-16 a run of an odd
  // number of them (possible only when the text came from another encoding) is followed by one
  // zero byte, so that the code units after it stay whole.
  void Append(std::string_view text, std::string& out);

 private:
  struct Icu;
  void AppendCodePoints(std::string_view text, std::string& out);

  Encoding encoding_;
  std::unique_ptr<Icu> icu_;
};

// Encodes a whole Unicode text (see TextEncoder::Append).
std::string EncodeText(std::string_view text, Encoding encoding);

}  // namespace tolvane
