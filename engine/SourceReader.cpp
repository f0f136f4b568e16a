#include "engine/SourceReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <istream>
#include <sstream>

#include "engine/LineCut.h"
#include "engine/WrapPass.h"
#include "platform/Cp936.h"
#include "platform/Error.h"
#include "platform/TextCodec.h"
#include "platform/UnicodeText.h"

namespace tolvane {

FileByteSource::FileByteSource(const std::filesystem::path& path) : path_(path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw CannotOpenFile(path, std::strerror(EISDIR));
  errno = 0;
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) throw CannotOpenFile(path, std::strerror(errno));
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec) size_ = size;
}

FileByteSource::FileByteSource(const std::filesystem::path& path, std::uint64_t begin,
                               std::uint64_t end)
    : FileByteSource(path) {
  if (::fseeko(file_, static_cast<off_t>(begin), SEEK_SET) != 0) throw FileError(errno, path_);
  left_ = end > begin ? end - begin : 0;
  if (size_) size_ = std::min(*left_, *size_ > begin ? *size_ - begin : 0);
}

FileByteSource::~FileByteSource() {
  if (file_ != nullptr) std::fclose(file_);
}

std::size_t FileByteSource::Read(char* data, std::size_t size) {
  if (left_) size = static_cast<std::size_t>(std::min<std::uint64_t>(size, *left_));
  if (size == 0) return 0;
  errno = 0;
  const std::size_t got = std::fread(data, 1, size, file_);
  if (got < size && std::ferror(file_) != 0) throw FileError(errno != 0 ? errno : EIO, path_);
  if (left_) *left_ -= got;
  return got;
}

std::size_t StreamByteSource::Read(char* data, std::size_t size) {
  in_.read(data, static_cast<std::streamsize>(size));
  const auto got = static_cast<std::size_t>(in_.gcount());
  if (in_.bad()) throw FileError(EIO, name_);
  return got;
}

std::size_t MemoryByteSource::Read(char* data, std::size_t size) {
  const std::size_t got = std::min(size, bytes_.size());
  std::memcpy(data, bytes_.data(), got);
  bytes_.remove_prefix(got);
  return got;
}

SourceReader::SourceReader(ByteSource& in, EncodingChoice choice, std::size_t chunkBytes,
                           std::size_t detectBytes)
    : in_(in), chunkBytes_(chunkBytes) {
  Fill(detectBytes);
  // Detection sees whole lines, so that no character is cut at the end of what it sees.
  std::string_view seen = buffer_;
  if (!eof_) {
    const std::size_t lastLineEnd = seen.find_last_of("\r\n");
    if (lastLineEnd != std::string_view::npos) seen = seen.substr(0, lastLineEnd + 1);
  }
  std::optional<std::size_t> undecodable;
  encoding_ = ChooseEncoding(seen, choice, &undecodable);
  form_ = FormOf(encoding_.encoding.encoding);
  if (form_ == TextForm::Cp936) {
    if (undecodable) NoteUndecodable(*undecodable);
    checkedUpTo_ = seen.size();
  } else {
    buffer_.erase(0, encoding_.byteOrderMarkLength);
    consumed_ = encoding_.byteOrderMarkLength;
  }
}

SourceReader::SourceReader(ByteSource& in, const SourceEncoding& known, std::size_t chunkBytes)
    : in_(in), chunkBytes_(chunkBytes), encoding_(known) {
  form_ = FormOf(encoding_.encoding.encoding);
  if (encoding_.byteOrderMarkLength > 0) {
    Fill(encoding_.byteOrderMarkLength);
    const std::size_t mark = std::min(encoding_.byteOrderMarkLength, buffer_.size());
    buffer_.erase(0, mark);
    consumed_ = mark;
  }
}

SourceReader::SourceReader(ByteSource& in, TextForm form, std::size_t chunkBytes)
    : in_(in), chunkBytes_(chunkBytes), form_(form), decode_(false) {
  encoding_.encoding.encoding = form == TextForm::Cp936 ? Encoding::Cp936 : Encoding::Utf8;
}

void SourceReader::Fill(std::size_t wanted) {
  while (!eof_ && buffer_.size() < wanted) {
    const std::size_t before = buffer_.size();
    // Read in steps of no more than the source still holds (where known) and a chunk: the
    // room is zeroed before it is read into, and a small file needs little.
    std::size_t room = std::min<std::size_t>(wanted - before, chunkBytes_ + (1 << 16));
    if (const auto size = in_.Size()) {
      const std::uint64_t read = consumed_ + before;
      if (*size >= read) room = std::min<std::uint64_t>(room, *size - read + 1);
    }
    room = std::max<std::size_t>(room, 1);
    buffer_.resize(before + room);
    const std::size_t got = in_.Read(buffer_.data() + before, room);
    buffer_.resize(before + got);
    if (got == 0) eof_ = true;
  }
}

void SourceReader::NoteUndecodable(std::size_t offset) {
  if (!firstUndecodable_ || offset < *firstUndecodable_) firstUndecodable_ = offset;
}

std::size_t SourceReader::CutPoint() const {
  // A chunk of about chunkBytes_, longer only where a line is.
  const std::size_t limit = std::min(buffer_.size(), std::max(chunkBytes_, cutLimit_));
  const bool wholeBuffer = limit == buffer_.size();
  if (!IsUtf16()) {
    std::size_t end = limit;
    // A CR at the very end may be the first half of a CR LF still to come.
    if ((!eof_ || !wholeBuffer) && end > 0 && buffer_[end - 1] == '\r') --end;
    const std::size_t at = std::string_view(buffer_).substr(0, end).find_last_of("\r\n");
    return at == std::string_view::npos ? 0 : at + 1;
  }
  const bool bigEndian = encoding_.encoding.encoding == Encoding::Utf16Be;
  const auto unitAt = [&](std::size_t u) {
    return unicode::Utf16UnitAt(buffer_, 2 * u, bigEndian);
  };
  std::size_t units = limit / 2;
  if ((!eof_ || !wholeBuffer) && units > 0 && unitAt(units - 1) == '\r') --units;
  for (std::size_t u = units; u-- > 0;) {
    const char32_t unit = unitAt(u);
    if (unit == '\n' || unit == '\r') return 2 * (u + 1);
  }
  return 0;
}

std::size_t SourceReader::LongLineCut() const {
  const std::size_t piece = std::clamp<std::size_t>(chunkBytes_, 8, kPieceBytes);
  if (buffer_.size() <= piece) return 0;
  CharacterBytes characters = CharacterBytes::HeldUnicode;
  if (!decode_) {
    if (form_ == TextForm::Cp936) characters = CharacterBytes::Cp936;
  } else {
    switch (encoding_.encoding.encoding) {
      case Encoding::Cp936:
        characters = CharacterBytes::Cp936;
        break;
      case Encoding::Gb18030:
        characters = CharacterBytes::Gb18030;
        break;
      case Encoding::Utf8:
        characters = CharacterBytes::Utf8;
        break;
      case Encoding::Utf16Le:
        characters = CharacterBytes::Utf16Le;
        break;
      case Encoding::Utf16Be:
        characters = CharacterBytes::Utf16Be;
        break;
    }
  }
  return LineCutPoint(buffer_, characters, piece);
}

bool SourceReader::NextRaw(RawChunk& raw) {
  for (;;) {
    if (eof_ && buffer_.empty()) return false;
    if (!eof_ && buffer_.size() < chunkBytes_) Fill(chunkBytes_);
    std::size_t cut = CutPoint();
    // A line longer than a piece is cut inside it rather than held whole.
    bool midLine = false;
    if (cut == 0) {
      cut = LongLineCut();
      midLine = cut > 0;
    }
    if (cut == 0) {
      if (buffer_.size() > std::max(chunkBytes_, cutLimit_)) {
        cutLimit_ = buffer_.size();  // a line longer than a chunk: look further
        continue;
      }
      if (!eof_) {
        Fill(buffer_.size() * 2);
        continue;
      }
      cut = buffer_.size();
    }
    cutLimit_ = 0;
    raw.beginsMidLine = midLine_;
    const std::string_view chunk(buffer_.data(), cut);
    raw.bytes.assign(chunk);
    raw.offset = consumed_;
    raw.checkFrom = checkedUpTo_ > consumed_
                        ? std::min<std::size_t>(checkedUpTo_ - consumed_, raw.bytes.size())
                        : 0;
    raw.last = eof_ && cut == buffer_.size();
    raw.firstNul.reset();
    if (decode_) {
      if (const std::size_t nul = FindNul(chunk); nul != std::string_view::npos) {
        raw.firstNul = consumed_ + nul;
        if (!firstNul_) firstNul_ = raw.firstNul;
      }
    }
    raw.endsMidLine = midLine;
    midLine_ = raw.endsMidLine;
    checkedUpTo_ = std::max<std::uint64_t>(checkedUpTo_, consumed_ + raw.bytes.size());
    consumed_ += cut;
    buffer_.erase(0, cut);
    // The room that detection took is not needed again.
    if (buffer_.capacity() > 4 * chunkBytes_ && buffer_.size() < 2 * chunkBytes_)
      buffer_.shrink_to_fit();
    return true;
  }
}

std::size_t SourceReader::FindNul(std::string_view bytes) const {
  if (!IsUtf16()) return bytes.find('\0');
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    if (bytes[i] == '\0' && bytes[i + 1] == '\0') return i;
  return std::string_view::npos;
}

bool SourceReader::IsUtf16() const {
  return decode_ && (encoding_.encoding.encoding == Encoding::Utf16Le ||
                     encoding_.encoding.encoding == Encoding::Utf16Be);
}

void SourceReader::Decode(const RawChunk& raw, DecodedChunk& out) const {
  out.firstUndecodable.reset();
  out.trailingBytes.clear();
  if (!decode_ || form_ == TextForm::Cp936) {
    if (decode_ && raw.checkFrom < raw.bytes.size()) {
      const std::string_view unchecked = std::string_view(raw.bytes).substr(raw.checkFrom);
      if (const auto bad = cp936::FirstUndecodable(unchecked))
        out.firstUndecodable = raw.offset + raw.checkFrom + *bad;
    }
    out.lines = LineList(raw.bytes, NulBytes::AreText);
    return;
  }
  DecodedText decoded = DecodeText(raw.bytes, encoding_.encoding.encoding, raw.offset);
  out.firstUndecodable = decoded.firstUndecodable;
  if (raw.last) out.trailingBytes = std::move(decoded.trailingBytes);
  out.lines = LineList(decoded.text, NulBytes::AreText);
}

std::string SourceReader::LastNonEmptyLine(const RawChunk& raw) const {
  // Cut the raw bytes into lines from the end until one holds something, and decode that one.
  const std::string_view bytes = raw.bytes;
  if (!IsUtf16()) {
    std::size_t end = bytes.size();
    while (end > 0) {
      while (end > 0 && (bytes[end - 1] == '\n' || bytes[end - 1] == '\r')) --end;
      if (end == 0) break;
      const std::size_t begin = bytes.substr(0, end).find_last_of("\r\n") + 1;
      const std::string_view line = bytes.substr(begin, end - begin);
      if (!decode_ || form_ == TextForm::Cp936) return std::string(line);
      return DecodeText(line, encoding_.encoding.encoding).text;
    }
    return {};
  }
  const bool bigEndian = encoding_.encoding.encoding == Encoding::Utf16Be;
  const auto unitAt = [&](std::size_t u) { return unicode::Utf16UnitAt(bytes, 2 * u, bigEndian); };
  std::size_t end = bytes.size() / 2;
  while (end > 0 && (unitAt(end - 1) == '\n' || unitAt(end - 1) == '\r')) --end;
  std::size_t begin = end;
  while (begin > 0 && unitAt(begin - 1) != '\n' && unitAt(begin - 1) != '\r') --begin;
  return DecodeText(bytes.substr(2 * begin, 2 * (end - begin)), encoding_.encoding.encoding).text;
}

bool SourceReader::Next(LineList& lines, bool& lastLineContinues) {
  RawChunk raw;
  if (!NextRaw(raw)) return false;
  DecodedChunk decoded;
  Decode(raw, decoded);
  if (decoded.firstUndecodable) NoteUndecodable(*decoded.firstUndecodable);
  if (raw.last) trailingBytes_ = decoded.trailingBytes;
  lines = std::move(decoded.lines);
  lastLineContinues = raw.endsMidLine;
  return true;
}

bool SourceReader::Next(LineList& lines) {
  bool continues = false;
  if (!Next(lines, continues)) return false;
  if (!continues) return true;
  // The pieces of a long line make one line again: their text, line ends and all, in a row.
  std::string text(lines.bytes());
  LineList more;
  while (continues && Next(more, continues)) text += more.bytes();
  lines = LineList(text, NulBytes::AreText);
  return true;
}

SourceLines ReadSourceLines(ByteSource& bytes, EncodingChoice choice, int wrapWidth, WrapRule rule,
                            const WrittenWords& words) {
  SourceReader reader(bytes, choice);
  std::ostringstream text;
  TextFileWriter writer;
  writer.Attach(text, {});
  if (wrapWidth > 0) {
    WrapSource(reader, static_cast<std::size_t>(wrapWidth), writer, rule, words);
  } else {
    LineList lines;
    while (reader.Next(lines))
      for (std::size_t i = 0; i < lines.size(); ++i) writer.WriteLine(lines[i]);
  }
  writer.Close();
  return {LineList(text.str(), NulBytes::AreText), reader.form()};
}

SourceLines ReadSourceLines(const std::filesystem::path& source, EncodingChoice choice,
                            int wrapWidth, WrapRule rule, const WrittenWords& words) {
  FileByteSource bytes(source);
  return ReadSourceLines(bytes, choice, wrapWidth, rule, words);
}

TextEncoding DetectFileEncoding(const std::filesystem::path& path, EncodingChoice choice) {
  // A run's own reader decides, on the bytes a run decides on: the first few megabytes.
  FileByteSource bytes(path);
  return SourceReader(bytes, choice).encoding().encoding;
}

std::optional<TextEncoding> EncodingOfFile(const std::filesystem::path& path,
                                           EncodingChoice choice) {
  try {
    return DetectFileEncoding(path, choice);
  } catch (const Error&) {
    return std::nullopt;
  }
}

}  // namespace tolvane
