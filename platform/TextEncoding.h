#pragma once

#include <cstddef>
#include <string_view>

namespace tolvane {

// How text is held in memory: code page 936 bytes, walked as they are (the designed form), or
// Unicode text (platform/UnicodeText.h), decoded from another encoding at the file boundary.
enum class TextForm { Cp936, Unicode };

// The encodings of the text files Tolvane reads and writes. Code page 936 (GB2312 and GBK) is
// the designed one: its text is walked as the bytes it is. The others are decoded into Unicode
// text (platform/UnicodeText.h) at the file boundary.
enum class Encoding { Cp936, Utf8, Utf16Le, Utf16Be, Gb18030 };

struct TextEncoding {
  Encoding encoding = Encoding::Cp936;
  bool byteOrderMark = false;  // the text starts with (or is to start with) a byte-order mark
  bool operator==(const TextEncoding&) const = default;
};

// What the user asks for on reading: detect, or one encoding. "gbk" and "gb2312" both mean the
// code page 936 walk.
enum class EncodingChoice { Auto, Utf8, Utf16, Gb18030, Gbk, Gb2312 };

// What the user asks for on writing: the source's encoding, or one encoding. UTF-16 is always
// written with a byte-order mark, so that readers know its byte order.
enum class OutputEncodingChoice { Same, Utf8, Utf8Bom, Utf16Le, Utf16Be, Gb18030 };

// The form in which text of an encoding is held.
inline TextForm FormOf(Encoding encoding) {
  return encoding == Encoding::Cp936 ? TextForm::Cp936 : TextForm::Unicode;
}

// The encoding of the target for a source read as `source`.
TextEncoding OutputEncodingFor(const TextEncoding& source, OutputEncodingChoice choice);

// A short name for people: "GB2312/GBK", "UTF-8", "UTF-8 BOM", "UTF-16LE", "UTF-16BE", "GB18030".
std::string_view EncodingName(const TextEncoding& encoding);

// The byte-order mark of an encoding (empty where it has none).
std::string_view ByteOrderMark(Encoding encoding);

// CR LF in the encoding.
std::string_view LineEnd(Encoding encoding);

}  // namespace tolvane
