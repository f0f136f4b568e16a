#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/EncodingDetection.h"
#include "reading/LineReadings.h"
#include "settings/ConversionSettings.h"

// A large file cut into parts at line starts, each converted apart from the others, so that the
// parts' targets put together are the whole file's target: the library's SplitFile and
// ConvertFilePart.
namespace tolvane {

// The byte offsets where the parts of a file of `size` bytes begin (the first 0), read in
// `encoding`: each just after a line feed (a code unit of it in UTF-16), the first part holding
// at least two whole lines (so that the HTML page's title is settled inside it), the others
// about `partBytes` long; one part when the file has no such place. Raises the file errors.
std::vector<std::uint64_t> PartOffsets(const std::filesystem::path& source,
                                       const SourceEncoding& encoding, std::uint64_t size,
                                       std::uint64_t partBytes);

// The run's separator at `offset` (a line start) of `source`, as the lines before it leave it
// (SeparatorAfter over the last line before it that is not empty). Raises the file errors.
std::string SeparatorBefore(const std::filesystem::path& source, const SourceEncoding& encoding,
                            std::uint64_t offset, LineReadings& readings,
                            const ConversionSettings& settings);

}  // namespace tolvane
