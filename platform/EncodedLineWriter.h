#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/TextCodec.h"
#include "platform/TextEncoding.h"

namespace tolvane {

// Writes lines held in one form as the bytes of the target's encoding, appended to `sink`: the
// byte-order mark when asked for, then every line followed by CR LF in that encoding. Code page
// 936 lines written as code page 936 go out as the bytes they are.
class EncodedLineWriter {
 public:
  EncodedLineWriter(std::string& sink, TextForm form, const TextEncoding& target);

  // The byte-order mark, if the target has one; once, before the first line of a file.
  void Start();
  void WriteLine(std::string_view line);
  // Part of a line, without the line end (a line written in pieces).
  void WritePiece(std::string_view piece);
  void EndLine();
  // Bytes as they are (a UTF-16 file's odd last byte, after the last line).
  void WriteRaw(std::string_view bytes) { sink_.append(bytes); }

 private:
  std::string& sink_;
  TextForm form_;
  TextEncoding target_;
  std::optional<TextEncoder> encoder_;
  std::string unicode_;
};

}  // namespace tolvane
