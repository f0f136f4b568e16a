#pragma once

#include <cstdio>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// Text files are read whole, as raw bytes, and cut into lines at CR LF, a lone CR or a lone LF.
// A NUL byte ends the text; a line end at the very end starts no further line; a byte-order
// mark is not recognised (it stays part of the first line).

// What a NUL byte is: the end of the text, as in the program's own data files, or a character
// like any other, as in a user's document, where dropping the rest would lose it.
enum class NulBytes { EndText, AreText };

// Cuts `text` into lines; the views point into `text`.
std::vector<std::string_view> SplitLines(std::string_view text);

// The whole file as bytes. A file that cannot be opened (missing, a directory, no access) raises
// "Cannot open file "<path>". <reason>"; a failed read raises the file error of its cause.
std::string ReadWholeFile(const std::filesystem::path& path);

// A file's bytes, read whole. Not a std::string: its bytes would be zeroed before the file's
// bytes are read over them.
class ByteBuffer {
 public:
  ByteBuffer() = default;
  ByteBuffer(std::unique_ptr<char[]> data, std::size_t size)
      : data_(std::move(data)), size_(size) {}
  static ByteBuffer Copy(std::string_view bytes);

  std::string_view view() const { return {data_.get(), size_}; }
  std::size_t size() const { return size_; }
  std::unique_ptr<char[]> Release() {
    size_ = 0;
    return std::move(data_);
  }

 private:
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
};

// The whole file as bytes, with the errors of ReadWholeFile.
ByteBuffer ReadFileBytes(const std::filesystem::path& path);

// The lines of a text file held in one buffer: a line is a view into it, so a file of many lines
// costs one allocation for its bytes and one for the line table.
class LineList {
 public:
  LineList() = default;
  explicit LineList(std::string_view text, NulBytes nul = NulBytes::EndText);
  // Takes over the bytes.
  explicit LineList(ByteBuffer bytes, NulBytes nul = NulBytes::EndText);

  static LineList FromFile(const std::filesystem::path& path);

  std::size_t size() const { return spans_.size(); }
  bool empty() const { return spans_.empty(); }
  std::string_view operator[](std::size_t index) const {
    return std::string_view(text_.get() + spans_[index].begin, spans_[index].length);
  }
  void clear();
  // All the text, line ends included.
  std::string_view bytes() const { return {text_.get(), size_}; }

 private:
  struct Span {
    std::size_t begin;
    std::size_t length;
  };
  void Split(std::size_t size, NulBytes nul);

  std::unique_ptr<char[]> text_;
  std::size_t size_ = 0;
  std::vector<Span> spans_;
};

// The file's lines as separate strings (for the small data and settings files).
std::vector<std::string> ReadTextLines(const std::filesystem::path& path);

// Writes a text file line by line, every line followed by CR LF. Opening creates the file or
// truncates an existing one. Every failure (open, write, close) raises the file error of its
// cause; a writer destroyed without Close() closes the file without reporting.
class TextFileWriter {
 public:
  TextFileWriter() = default;
  explicit TextFileWriter(const std::filesystem::path& path) { Open(path); }
  ~TextFileWriter();
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  void Open(const std::filesystem::path& path);
  // Writes to a stream the writer does not own (standard output); `name` stands for it in
  // errors. Close flushes it and reports a failed write.
  void Attach(std::ostream& stream, const std::filesystem::path& name);
  void WriteLine(std::string_view line);
  // Bytes as they are, without a line end.
  void Write(std::string_view bytes);
  void Close();
  bool IsOpen() const { return file_ != nullptr || stream_ != nullptr; }
  const std::filesystem::path& path() const { return path_; }

 private:
  void Flush();
  void WriteDirect(const char* data, std::size_t size);

  std::FILE* file_ = nullptr;
  std::ostream* stream_ = nullptr;
  std::filesystem::path path_;
  std::vector<char> buffer_;
};

// Writes `lines` as a whole text file (CR LF after each).
void WriteTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

// A name in the folder of `path` that no file has yet, for writing a replacement of `path`.
std::filesystem::path ScratchPathBeside(const std::filesystem::path& path);

// Writes `lines` like WriteTextLines, but into a scratch file beside `path` that replaces `path`
// only once it is complete: a failure raises the file error and leaves the old file as it was,
// with no scratch file behind.
void ReplaceTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines);

}  // namespace tolvane
