#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tolvane/Error.h"
#include "tolvane/Export.h"
#include "tolvane/Options.h"

namespace tolvane {

// What converting a file did: the source's encoding as read ("utf-8", "utf-8-bom", "utf-16le",
// "utf-16be", "gb18030", or "gbk" for GB2312 and GBK), the bytes read and written, and how many
// bytes of the source do not decode in that encoding (a text target holds them as they are, the
// HTML page and subtitles U+FFFD in their place).
struct FileReport {
  std::string encoding;
  std::uint64_t bytesRead = 0;
  std::uint64_t bytesWritten = 0;
  std::uint64_t undecodableBytes = 0;
};

// A large file cut at line ends into parts that can be converted apart (on other threads,
// processes or machines) and put together in order: `offsets` are the byte offsets where the
// parts begin, the first 0, each just after a line feed (in the file's own encoding); part i
// ends where part i+1 begins, the last at `size`. `encoding` is the whole file's, as read from
// its start (named as FileReport names it); every part is read in it.
struct FileParts {
  std::string encoding;
  std::uint64_t size = 0;
  std::vector<std::uint64_t> offsets;
};

// Converts Chinese text to pinyin with the loaded data of one data folder and one set of options.
//
// A Converter is cheap to copy and to derive with other options (WithOptions): copies share the
// loaded data, which is read once. All member functions are const and safe to call from any
// number of threads at once on one Converter. Text in and out is UTF-8; invalid UTF-8 is an
// Error. Failures are raised as tolvane::Error.
class TOLVANE_API Converter {
 public:
  // Loads the data of `dataFolder`: a folder as tolvane-cli's --data-dir takes it (the tone
  // glyphs define_py_tone.dll, the phrase data, the user's dictionaries, user_words.txt among
  // them; the phrase data may be left to the installed programs' own). Empty: the data
  // tolvane-cli reads without --data-dir: the folder the shared library lies in when it holds
  // its own data (a build's or a portable copy's program folder), else the installed programs'
  // read-only data (share/tolvane of the prefix the library lies in, else of the one it was
  // built for) with the user's dictionaries in $XDG_DATA_HOME/tolvane. Raises Error when the folder
  // is missing or holds no tone glyphs, when a data file in it cannot be read or is damaged (the
  // phrase data is read here for Policy::Context), or when a user word is malformed.
  explicit Converter(const Options& options = {}, const std::filesystem::path& dataFolder = {});
  ~Converter();
  Converter(const Converter&);
  Converter& operator=(const Converter&);
  Converter(Converter&&) noexcept;
  Converter& operator=(Converter&&) noexcept;

  const Options& options() const;

  // A converter with other options over the same loaded data (no reloading). Raises Error for a
  // malformed user word.
  Converter WithOptions(const Options& options) const;

  // The reading of every code point of `text`, in order, in the tone style of the options: the
  // syllable (under Policy::All, the readings separated by "/"), or "" for a code point that has
  // none (punctuation, Latin letters, digits, spaces, line ends).
  std::vector<std::string> Readings(std::string_view text) const;

  // One line (without a line end) in the layout of the options: its output lines joined by "\n"
  // (two for py and han, one otherwise; Layout::Html gives the line's HTML markup).
  std::string AnnotateLine(std::string_view line) const;

  // A whole text, exactly as `tolvane-cli convert --encoding utf-8 - -` writes it when given on
  // standard input, in the layout of the options: each line ended with CR LF (a byte-order mark
  // at the text's start is kept); for Layout::Html the page with its head and tail, titled by
  // the text's first line when that is a title, else "Tolvane".
  std::string AnnotateText(std::string_view text) const;

  // The HTML markup of a text: each line a paragraph of characters with their readings as ruby,
  // without the page's head and tail, for putting into a page of one's own.
  std::string HtmlFragment(std::string_view text) const;

  // Converts the file `source` into `target`, byte for byte as `tolvane-cli convert SOURCE
  // TARGET` with these options does (the encoding detected, the target in the source's
  // encoding, the HTML page with its colophon for Layout::Html). The default layout, Layout::Py,
  // is the CLI's without --format: a target named .html or .htm gets the page, one named .docx,
  // .odt, .epub, .srt or .vtt that document, and an SRT or WebVTT source is annotated cue by cue
  // in its own format; any other layout is written as --format asks, whatever the names. An
  // empty `target` is TargetFor(source). The target is written whole or not at all; temp.txt
  // (only with a wrap width) goes in the data folder, or the user's cache folder for the
  // installed data. `threads`: 0 for one per core, 1 for the calling thread alone. Raises Error
  // naming the file that failed ("File not found" for a missing source).
  FileReport ConvertFile(const std::filesystem::path& source, const std::filesystem::path& target,
                         unsigned threads = 0) const;

  // The target `tolvane-cli convert` writes for `source` when it is given none (beside it, named
  // after it with "_拼音"; .html for Layout::Html, the subtitles' own extension for an SRT or
  // WebVTT source under the default layout).
  std::filesystem::path TargetFor(const std::filesystem::path& source) const;

  // Cuts `source` into parts of about `partBytes` bytes (at least 1) at line ends; the first
  // part holds two lines at least, so that the HTML page's title is settled in it. One part when
  // the file is smaller or has no line feed after its second line, or when the file cannot be
  // converted apart: lines re-cut to a wrap width (each depends on the lines before it), and an
  // SRT or WebVTT source under the default layout (converted cue by cue, whole). Raises Error
  // for a missing or unreadable source.
  FileParts SplitFile(const std::filesystem::path& source, std::uint64_t partBytes) const;

  // Converts part `index` of `parts` of `source` into `target` (a file of its own). The targets
  // of all parts, concatenated in order, are byte for byte the target ConvertFile writes for
  // the target TargetFor names: the first part's holds the head (a byte-order mark, the HTML
  // page's head), the last part's the tail (the page's tail and colophon, a UTF-16 file's odd
  // last byte); the names of the parts' targets choose nothing. A file of one part is simply
  // ConvertFile(source, target, threads). Raises Error when `index` is out of range or the file
  // is no longer the one that was cut (its size or encoding changed).
  FileReport ConvertFilePart(const std::filesystem::path& source, const FileParts& parts,
                             std::size_t index, const std::filesystem::path& target,
                             unsigned threads = 1) const;

 private:
  struct State;
  std::shared_ptr<const State> state_;
};

// The library's version, "major.minor.patch".
TOLVANE_API const char* Version();

}  // namespace tolvane
