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

// What converting a file did: the source's encoding as read ("utf-8", "utf-16le", "gb18030",
// "gbk", ...), the bytes read and written, and how many undecodable bytes were replaced.
struct FileReport {
  std::string encoding;
  std::uint64_t bytesRead = 0;
  std::uint64_t bytesWritten = 0;
  std::uint64_t undecodableBytes = 0;
};

// A large file cut at line ends into parts that can be converted apart (on other threads,
// processes or machines) and put together in order: `offsets` are the byte offsets where the
// parts begin, the first 0, each at the start of a line; part i ends where part i+1 begins, the
// last at `size`. `encoding` is the whole file's, as read from its start.
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
  // Loads the data of `dataFolder`: a folder as tolvane-cli's --data-dir takes it (the phrase
  // data, the tone glyphs and the user's dictionaries, user_words.txt among them). Empty: the
  // data folder of the installed programs. Raises Error when the folder or a data file in it
  // cannot be read or is damaged, or when a user word is malformed.
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

  // A whole text, exactly as `tolvane-cli convert` writes a UTF-8 file holding it in the layout
  // of the options (line ends kept; for Layout::Html, the page with its head and tail).
  std::string AnnotateText(std::string_view text) const;

  // The HTML markup of a text: each line a paragraph of characters with their readings as ruby,
  // without the page's head and tail, for putting into a page of one's own.
  std::string HtmlFragment(std::string_view text) const;

  // Converts the file `source` into `target`, byte for byte as `tolvane-cli convert` with these
  // options does (the encoding detected, the target in the source's encoding, the HTML page for
  // Layout::Html; SRT and WebVTT sources cue by cue). The target is written whole or not at all.
  // `threads`: 0 for one per core, 1 for the calling thread alone.
  FileReport ConvertFile(const std::filesystem::path& source, const std::filesystem::path& target,
                         unsigned threads = 0) const;

  // The target `tolvane-cli convert` writes for `source` when it is given none (beside it, named
  // after it; .html for Layout::Html).
  std::filesystem::path TargetFor(const std::filesystem::path& source) const;

  // Cuts `source` into parts of about `partBytes` bytes at line ends (one part when the file is
  // smaller, or when the options cannot be converted apart: re-cut lines, subtitles).
  FileParts SplitFile(const std::filesystem::path& source, std::uint64_t partBytes) const;

  // Converts part `index` of `parts` of `source` into `target` (a file of its own). The targets
  // of all parts, concatenated in order, are byte for byte the target ConvertFile writes.
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
