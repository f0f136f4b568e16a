#include "platform/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ostream>
#include <random>

#include "platform/ByteScan.h"
#include "platform/Error.h"

namespace tolvane {
namespace {

constexpr std::size_t kWriteBufferSize = 1 << 20;

std::string SystemReason(int errnoValue) { return std::strerror(errnoValue); }

template <typename OnLine>
void ForEachLine(std::string_view text, NulBytes nul, OnLine&& onLine) {
  // One pass: the NUL that ends the text and the line ends are found together.
  std::size_t begin = 0;
  std::size_t size = text.size();
  for (std::size_t pos = 0; (pos = bytescan::FindLineEnd(text, pos)) < size; ++pos) {
    const char c = text[pos];
    if (c == '\0') {
      if (nul == NulBytes::AreText) continue;
      size = pos;
      break;
    }
    onLine(begin, pos - begin);
    if (c == '\r' && pos + 1 < size && text[pos + 1] == '\n') ++pos;
    begin = pos + 1;
  }
  if (begin < size) onLine(begin, size - begin);
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  ForEachLine(text, NulBytes::EndText, [&](std::size_t begin, std::size_t length) {
    lines.push_back(text.substr(begin, length));
  });
  return lines;
}

// Reads a whole file into a buffer that `grow(capacity)` provides (keeping the bytes read so far)
// and returns the number of bytes read.
template <typename Grow>
std::size_t ReadWholeFileWith(const std::filesystem::path& path, Grow&& grow) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw CannotOpenFile(path, SystemReason(EISDIR));
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw CannotOpenFile(path, SystemReason(errno));
  // The expected size first (one more byte to see the end), then whatever the file has grown by.
  const auto expected = std::filesystem::file_size(path, ec);
  std::size_t capacity = ec ? std::size_t{1} << 16 : static_cast<std::size_t>(expected) + 1;
  char* data = grow(capacity);
  std::size_t size = 0;
  for (;;) {
    size += std::fread(data + size, 1, capacity - size, file);
    if (size < capacity || std::ferror(file) != 0) break;
    capacity *= 2;
    data = grow(capacity);
  }
  const bool failed = std::ferror(file) != 0;
  const int readErrno = errno;
  std::fclose(file);
  if (failed) throw FileError(readErrno != 0 ? readErrno : EIO, path);
  return size;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::string text;
  text.resize(ReadWholeFileWith(path, [&](std::size_t capacity) {
    text.resize(capacity);
    return text.data();
  }));
  return text;
}

ByteBuffer ByteBuffer::Copy(std::string_view bytes) {
  auto data = std::make_unique_for_overwrite<char[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), data.get());
  return ByteBuffer(std::move(data), bytes.size());
}

ByteBuffer ReadFileBytes(const std::filesystem::path& path) {
  std::unique_ptr<char[]> data;
  std::size_t held = 0;
  const std::size_t size = ReadWholeFileWith(path, [&](std::size_t capacity) {
    auto grown = std::make_unique_for_overwrite<char[]>(capacity);
    if (held > 0) std::copy(data.get(), data.get() + held, grown.get());
    data = std::move(grown);
    held = capacity;
    return data.get();
  });
  return ByteBuffer(std::move(data), size);
}

LineList::LineList(std::string_view text, NulBytes nul) : LineList(ByteBuffer::Copy(text), nul) {}

LineList::LineList(ByteBuffer bytes, NulBytes nul) {
  const std::size_t size = bytes.size();
  text_ = bytes.Release();
  Split(size, nul);
}

LineList LineList::FromFile(const std::filesystem::path& path) {
  return LineList(ReadFileBytes(path));
}

void LineList::Split(std::size_t size, NulBytes nul) {
  size_ = size;
  // Room for lines of 32 bytes on average at once, so that a text of typical lines never grows
  // its table step by step (which copies it over and over); longer lines leave room unused.
  spans_.reserve(size / 32 + 1);
  ForEachLine(std::string_view(text_.get(), size), nul, [&](std::size_t begin, std::size_t length) {
    spans_.push_back({begin, length});
  });
}

void LineList::clear() {
  text_.reset();
  size_ = 0;
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

void TextFileWriter::Attach(std::ostream& stream, const std::filesystem::path& name) {
  if (IsOpen()) Close();
  path_ = name;
  stream_ = &stream;
  buffer_.clear();
  buffer_.reserve(kWriteBufferSize);
}

void TextFileWriter::Write(std::string_view bytes) {
  if (buffer_.size() + bytes.size() > kWriteBufferSize) Flush();
  if (bytes.size() > kWriteBufferSize) {
    WriteDirect(bytes.data(), bytes.size());
    return;
  }
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

void TextFileWriter::Open(const std::filesystem::path& path) {
  if (IsOpen()) Close();
  path_ = path;
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw FileError(EISDIR, path);
  errno = 0;
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) throw FileError(errno != 0 ? errno : EIO, path);
  // The writer buffers itself, in large blocks; stdio's own buffer would only add a copy.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  buffer_.clear();
  buffer_.reserve(kWriteBufferSize);
}

void TextFileWriter::Flush() {
  if (buffer_.empty()) return;
  try {
    WriteDirect(buffer_.data(), buffer_.size());
  } catch (...) {
    buffer_.clear();
    throw;
  }
  buffer_.clear();
}

void TextFileWriter::WriteLine(std::string_view line) {
  if (buffer_.size() + line.size() + 2 > kWriteBufferSize) Flush();
  if (line.size() + 2 > kWriteBufferSize) {
    // A line larger than the buffer goes out directly instead of through a copy.
    WriteDirect(line.data(), line.size());
    WriteDirect("\r\n", 2);
    return;
  }
  buffer_.insert(buffer_.end(), line.begin(), line.end());
  buffer_.push_back('\r');
  buffer_.push_back('\n');
}

void TextFileWriter::WriteDirect(const char* data, std::size_t size) {
  if (stream_ != nullptr) {
    errno = 0;
    stream_->write(data, static_cast<std::streamsize>(size));
    if (!*stream_) throw FileError(errno != 0 ? errno : EIO, path_);
    return;
  }
  errno = 0;
  if (std::fwrite(data, 1, size, file_) != size) throw FileError(errno != 0 ? errno : EIO, path_);
}

void TextFileWriter::Close() {
  if (stream_ != nullptr) {
    std::ostream* stream = stream_;
    try {
      Flush();
    } catch (...) {
      stream_ = nullptr;
      throw;
    }
    stream_ = nullptr;
    errno = 0;
    stream->flush();
    if (!*stream) throw FileError(errno != 0 ? errno : EIO, path_);
    return;
  }
  if (file_ == nullptr) return;
  std::FILE* file = file_;
  try {
    Flush();
  } catch (...) {
    file_ = nullptr;
    std::fclose(file);
    throw;
  }
  file_ = nullptr;
  errno = 0;
  const bool closeFailed = std::fclose(file) != 0;
  const int closeErrno = errno;
  if (closeFailed) throw FileError(closeErrno != 0 ? closeErrno : EIO, path_);
}

void WriteTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  TextFileWriter writer(path);
  for (const std::string& line : lines) writer.WriteLine(line);
  writer.Close();
}

std::filesystem::path ScratchPathBeside(const std::filesystem::path& path) {
  std::random_device random;
  for (;;) {
    auto candidate = path;
    candidate += ".tolvane-" + std::to_string(random() % 1000000) + ".tmp";
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, ec))) return candidate;
  }
}

void ReplaceTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw FileError(EISDIR, path);
  const std::filesystem::path scratch = ScratchPathBeside(path);
  try {
    WriteTextLines(scratch, lines);
    std::filesystem::rename(scratch, path, ec);
    if (ec) throw FileError(ec.value(), path);
  } catch (...) {
    std::filesystem::remove(scratch, ec);
    throw;
  }
}

}  // namespace tolvane
