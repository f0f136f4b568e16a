#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "documents/ProofreadingText.h"

// The file a proofread text is saved in: UTF-8, readable and editable as text.
//
//   tolvane-proofreading 1
//   here<TAB>12<TAB>行<TAB>hang2
//   everywhere<TAB>银行<TAB>yin2 hang2
//   <an empty line>
//   the text, byte for byte, to the end of the file
//
// The first line names the format and its version. Each line up to the first empty one is a
// correction: "here" for one occurrence, with the code point index of its first character in
// the text, "everywhere" for every occurrence in the text; then the characters; then their
// numbered syllables, one per character, separated by spaces. A correction line may end in CR LF.
// Everything after the empty line is the text exactly as it was, line ends and all.
namespace tolvane {

inline constexpr std::string_view kProofreadingHeader = "tolvane-proofreading 1";

// The file's content for a text and its corrections.
std::string ProofreadingFileText(const ProofreadingText& text);
// Reads the content back. A malformed file raises Error "<file>:<line>: <what is wrong>", naming
// `path` (used for the message only).
ProofreadingText ParseProofreadingFile(std::string_view content, const std::filesystem::path& path);

// Reads a file; a failed read raises the file error naming it.
ProofreadingText ReadProofreadingFile(const std::filesystem::path& path);
// Writes the file through a scratch file beside it, renamed over it when whole: a failure leaves
// the file as it was, and raises the file error naming it.
void WriteProofreadingFile(const ProofreadingText& text, const std::filesystem::path& path);

}  // namespace tolvane
