#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace tolvane {

// The documents a handout or a subtitle file is written as, beside the text layouts and the
// HTML page of a batch run.
enum class DocumentFormat { Docx, Odt, Epub, Srt, Vtt };

// The format named on the command line ("docx", any case), or none.
std::optional<DocumentFormat> DocumentFormatNamed(std::string_view name);
// The format a target's extension asks for (.docx, .odt, .epub, .srt, .vtt, any case), or none.
std::optional<DocumentFormat> DocumentFormatOfTarget(const std::filesystem::path& target);
// The extension of a format's files, with its dot.
std::string_view ExtensionOf(DocumentFormat format);
// Whether the format annotates subtitles cue by cue rather than writing a handout.
bool IsSubtitleFormat(DocumentFormat format);

}  // namespace tolvane
