#include "platform/TextFile.h"

#include <cerrno>
#include <cstring>

#include "platform/Error.h"

namespace tolvane {
namespace {

constexpr std::size_t kWriteBufferSize = 1 << 20;

std::string SystemReason(int errnoValue) { return std::strerror(errnoValue); }

template <typename OnLine>
void ForEachLine(std::string_view text, OnLine&& onLine) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  std::size_t begin = 0;
  const std::size_t size = text.size();
  for (std::size_t pos = 0; pos < size; ++pos) {
    const char c = text[pos];
    if (c != '\r' && c != '\n') continue;
    onLine(begin, pos - begin);
    if (c == '\r' && pos + 1 < size && text[pos + 1] == '\n') ++pos;
    begin = pos + 1;
  }
  if (begin < size) onLine(begin, size - begin);
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  ForEachLine(text, [&](std::size_t begin, std::size_t length) {
    lines.push_back(text.substr(begin, length));
  });
  return lines;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw CannotOpenFile(path, SystemReason(EISDIR));
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw CannotOpenFile(path, SystemReason(errno));
  std::string text;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec && size > 0) text.reserve(static_cast<std::size_t>(size));
  char chunk[1 << 16];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
    text.append(chunk, got);
    if (got < sizeof chunk) break;
  }
  const bool failed = std::ferror(file) != 0;
  const int readErrno = errno;
  std::fclose(file);
  if (failed) throw FileError(readErrno != 0 ? readErrno : EIO, path);
  return text;
}

LineList::LineList(std::string text) : text_(std::move(text)) {
  ForEachLine(text_, [&](std::size_t begin, std::size_t length) {
    spans_.push_back({begin, length});
  });
}

void LineList::clear() {
  std::string().swap(text_);
  std::vector<Span>().swap(spans_);
}

std::vector<std::string> ReadTextLines(const std::filesystem::path& path) {
  const std::string text = ReadWholeFile(path);
  std::vector<std::string> lines;
  for (std::string_view line : SplitLines(text)) lines.emplace_back(line);
  return lines;
}

TextFileWriter::~TextFileWriter() {
  if (file_ != nullptr) std::fclose(file_);
}

void TextFileWriter::Open(const std::filesystem::path& path) {
  if (file_ != nullptr) Close();
  path_ = path;
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw FileError(EISDIR, path);
  errno = 0;
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) throw FileError(errno != 0 ? errno : EIO, path);
  buffer_.resize(kWriteBufferSize);
  std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());
}

void TextFileWriter::Write(const char* data, std::size_t size) {
  errno = 0;
  if (std::fwrite(data, 1, size, file_) != size) throw FileError(errno != 0 ? errno : EIO, path_);
}

void TextFileWriter::WriteLine(std::string_view line) {
  Write(line.data(), line.size());
  Write("\r\n", 2);
}

void TextFileWriter::Close() {
  if (file_ == nullptr) return;
  std::FILE* file = file_;
  file_ = nullptr;
  errno = 0;
  const bool flushFailed = std::fflush(file) != 0;
  const int flushErrno = errno;
  errno = 0;
  const bool closeFailed = std::fclose(file) != 0;
  const int closeErrno = errno;
  if (flushFailed) throw FileError(flushErrno != 0 ? flushErrno : EIO, path_);
  if (closeFailed) throw FileError(closeErrno != 0 ? closeErrno : EIO, path_);
}

void WriteTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  TextFileWriter writer(path);
  for (const std::string& line : lines) writer.WriteLine(line);
  writer.Close();
}

}  // namespace tolvane
