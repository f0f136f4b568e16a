#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/TextEncoding.h"

namespace tolvane {

// How a source file is to be read: its encoding, and how many bytes its byte-order mark takes.
struct SourceEncoding {
  TextEncoding encoding;
  std::size_t byteOrderMarkLength = 0;
  bool operator==(const SourceEncoding&) const = default;
};

// Detects the encoding of a whole file's bytes:
// - a UTF-8, UTF-16LE or UTF-16BE byte-order mark decides;
// - else well-formed UTF-8 holding at least one multi-byte sequence is UTF-8, unless the bytes
//   are also GB2312 text and only that reading yields common Chinese characters (short GB2312
//   texts can be well-formed UTF-8 by chance);
// - else bytes holding GB18030 four-byte sequences and otherwise GB18030 throughout are GB18030;
// - else code page 936: GB2312, GBK, pure ASCII, and bytes that are text in no encoding.
//
// When the bytes are to be read as code page 936 and `firstUndecodable` is given, it receives
// cp936::FirstUndecodable of the bytes, which detection works out on the way.
SourceEncoding DetectEncoding(std::string_view bytes,
                              std::optional<std::size_t>* firstUndecodable = nullptr);

// The encoding to read `bytes` with when the user chose one. A forced UTF-8 or UTF-16 still
// takes a byte-order mark for what it is (and UTF-16 its byte order from it); UTF-16 without a
// mark is big-endian when its zero bytes mostly stand first in their code units, else
// little-endian. GBK and GB2312 mean the code page 936 walk, mark and all.
SourceEncoding ChooseEncoding(std::string_view bytes, EncodingChoice choice,
                              std::optional<std::size_t>* firstUndecodable = nullptr);

}  // namespace tolvane
