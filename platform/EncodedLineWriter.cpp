#include "platform/EncodedLineWriter.h"

#include <stdexcept>

#include "platform/Cp936.h"

namespace tolvane {

EncodedLineWriter::EncodedLineWriter(TextFileWriter& file, TextForm form,
                                     const TextEncoding& target)
    : file_(file), form_(form), target_(target) {
  if (target.encoding != Encoding::Cp936) {
    encoder_.emplace(target.encoding);
  } else if (form == TextForm::Unicode) {
    throw std::logic_error("Unicode text is not written in code page 936");
  }
}

void EncodedLineWriter::Start() {
  if (target_.byteOrderMark) file_.Write(ByteOrderMark(target_.encoding));
}

void EncodedLineWriter::WriteLine(std::string_view line) {
  if (!encoder_) {
    // Code page 936 out: the designed path, bytes as they are.
    file_.WriteLine(line);
    return;
  }
  std::string_view text = line;
  if (form_ == TextForm::Cp936) {
    unicode_.clear();
    cp936::AppendAsUnicodeText(line, unicode_);
    text = unicode_;
  }
  encoded_.clear();
  encoder_->Append(text, encoded_);
  encoded_.append(LineEnd(target_.encoding));
  file_.Write(encoded_);
}

}  // namespace tolvane
