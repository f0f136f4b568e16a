#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/EncodingDetection.h"
#include "platform/TextEncoding.h"

namespace tolvane {

// The name a FileReport and FileParts give an encoding: "gbk" (code page 936: GB2312 and GBK),
// "utf-8", "utf-8-bom", "utf-16le", "utf-16be", "gb18030".
std::string EncodingKey(const TextEncoding& encoding);

// How many bytes of `source`, read in `encoding` from `offset` (past a byte-order mark) to
// `end`, do not decode in it: those a run copies unchanged into a text target, or writes as
// U+FFFD in the page. Raises the file errors.
std::uint64_t CountUndecodableBytes(const std::filesystem::path& source,
                                    const TextEncoding& encoding, std::uint64_t offset,
                                    std::uint64_t end);

}  // namespace tolvane
