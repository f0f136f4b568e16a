#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/TextCodec.h"
#include "platform/TextEncoding.h"
#include "platform/TextFile.h"

namespace tolvane {

// Writes lines held in one form to a text file in the target's encoding: the byte-order mark
// first when the target has one, then every line followed by CR LF in that encoding. Code page
// 936 lines written as code page 936 go out as the bytes they are.
class EncodedLineWriter {
 public:
  EncodedLineWriter(TextFileWriter& file, TextForm form, const TextEncoding& target);

  // The byte-order mark, if the target has one; call once, before the first line.
  void Start();
  void WriteLine(std::string_view line);
  // Bytes as they are (a UTF-16 file's odd last byte, after the last line).
  void WriteRaw(std::string_view bytes) { file_.Write(bytes); }

 private:
  TextFileWriter& file_;
  TextForm form_;
  TextEncoding target_;
  std::optional<TextEncoder> encoder_;
  std::string unicode_;
  std::string encoded_;
};

}  // namespace tolvane
