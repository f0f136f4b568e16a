#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "documents/Handout.h"
#include "documents/PageDesign.h"

// A handout as an EPUB 3 book: its text in ruby markup, styled as the page design asks, with a
// table of contents of its headings and a colophon crediting the data.
namespace tolvane {

// Content documents are cut at every heading and, within a long stretch without one, at a line
// once they reach this many bytes, so that readers open each part quickly even for a whole book.
inline constexpr std::size_t kEpubPartBytes = 300 * 1024;

// Writes the book to `target` through a ZipWriter (whole or not at all). Its identifier is a
// urn:uuid made from the content and design, so the same handout gives the same identifier; its
// modification time is SOURCE_DATE_EPOCH when that is set (reproducible builds), else now.
// Raises Error naming the target when it cannot be written.
void WriteEpub(const Handout& handout, const PageDesign& design,
               const std::filesystem::path& target);

// The book's identifier for a handout and design: "urn:uuid:" and a UUID (version 8, made from a
// hash of the content, not random).
std::string EpubIdentifier(const Handout& handout, const PageDesign& design);

}  // namespace tolvane
