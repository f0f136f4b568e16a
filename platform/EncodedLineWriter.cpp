#include "platform/EncodedLineWriter.h"

#include <stdexcept>

#include "platform/Cp936.h"

namespace tolvane {

EncodedLineWriter::EncodedLineWriter(std::string& sink, TextForm form, const TextEncoding& target)
    : sink_(sink), form_(form), target_(target) {
  if (target.encoding != Encoding::Cp936) {
    encoder_.emplace(target.encoding);
  } else if (form == TextForm::Unicode) {
    throw std::logic_error("Unicode text is not written in code page 936");
  }
}

void EncodedLineWriter::Start() {
  if (target_.byteOrderMark) sink_.append(ByteOrderMark(target_.encoding));
}

void EncodedLineWriter::WriteLine(std::string_view line) {
  WritePiece(line);
  EndLine();
}

void EncodedLineWriter::WritePiece(std::string_view piece) {
  if (!encoder_) {
    // Code page 936 out: the designed path, bytes as they are.
    sink_.append(piece);
    return;
  }
  std::string_view text = piece;
  if (form_ == TextForm::Cp936) {
    unicode_.clear();
    cp936::AppendAsUnicodeText(piece, unicode_);
    text = unicode_;
  }
  encoder_->Append(text, sink_);
}

void EncodedLineWriter::EndLine() {
  sink_.append(encoder_ ? LineEnd(target_.encoding) : std::string_view("\r\n"));
}

}  // namespace tolvane
