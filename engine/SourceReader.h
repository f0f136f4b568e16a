#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "engine/WrapLines.h"
#include "platform/EncodingDetection.h"
#include "platform/TextEncoding.h"
#include "platform/TextFile.h"

namespace tolvane {

// Where a source's bytes come from: a file, a stream (standard input), or memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `size` bytes into `data`; 0 at the end. A failed read raises the file error.
  virtual std::size_t Read(char* data, std::size_t size) = 0;
  // The whole size, where it is known beforehand (a regular file).
  virtual std::optional<std::uint64_t> Size() const { return std::nullopt; }
};

class FileByteSource : public ByteSource {
 public:
  // Raises "Cannot open file "%s". %s" when the file cannot be opened (or is a folder).
  explicit FileByteSource(const std::filesystem::path& path);
  // Bytes [begin, end) of the file alone (fewer where it ends sooner), for a part of it read
  // apart from the rest.
  FileByteSource(const std::filesystem::path& path, std::uint64_t begin, std::uint64_t end);
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;
  std::size_t Read(char* data, std::size_t size) override;
  std::optional<std::uint64_t> Size() const override { return size_; }

 private:
  std::FILE* file_ = nullptr;
  std::filesystem::path path_;
  std::optional<std::uint64_t> size_;
  std::optional<std::uint64_t> left_;  // of a range, the bytes still to read
};

class StreamByteSource : public ByteSource {
 public:
  StreamByteSource(std::istream& in, std::filesystem::path name)
      : in_(in), name_(std::move(name)) {}
  std::size_t Read(char* data, std::size_t size) override;

 private:
  std::istream& in_;
  std::filesystem::path name_;
};

class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(std::string_view bytes) : bytes_(bytes) {}
  std::size_t Read(char* data, std::size_t size) override;
  std::optional<std::uint64_t> Size() const override { return bytes_.size(); }

 private:
  std::string_view bytes_;
};

// Reads a source in chunks of whole lines, decoded into the form they are annotated in, so that
// a run holds a few chunks at a time whatever the size of the file. The encoding is chosen on the
// first `detectBytes` (the whole of a smaller file, so that it is read exactly as when read
// whole); bytes further on that do not decode in it are carried as raw bytes like any others. A
// NUL is a character like any other: a document holding one is not cut short there (the
// program's own data files, read whole, still end at one). A line longer than a piece (a chunk,
// at most kPieceBytes) is cut into pieces at characters (LineCutPoint), so that memory stays
// bounded by the chunk size whatever the length of a line: a raw chunk says whether it begins or
// ends inside a line, and those who annotate it carry the line across.
class SourceReader {
 public:
  static constexpr std::size_t kChunkBytes = 1 << 19;
  static constexpr std::size_t kDetectBytes = 4 << 20;
  static constexpr std::size_t kPieceBytes = 1 << 17;

  SourceReader(ByteSource& in, EncodingChoice choice, std::size_t chunkBytes = kChunkBytes,
               std::size_t detectBytes = kDetectBytes);
  // For a text already in `form` (temp.txt of the wrap pass): nothing is detected or decoded.
  SourceReader(ByteSource& in, TextForm form, std::size_t chunkBytes = kChunkBytes);
  // For text whose encoding is known (a part of a file, read in the encoding detected at the
  // file's start): nothing is detected; the first `known.byteOrderMarkLength` bytes are the
  // mark, passed over as detection passes it over.
  SourceReader(ByteSource& in, const SourceEncoding& known, std::size_t chunkBytes = kChunkBytes);

  const SourceEncoding& encoding() const { return encoding_; }
  TextForm form() const { return form_; }

  // The next chunk of whole lines (the pieces of a long line joined again); false at the end of
  // the text.
  bool Next(LineList& lines);
  // The next chunk of lines, whose last line may be a piece that `lastLineContinues` in the next
  // chunk (which then begins with the rest of it).
  bool Next(LineList& lines, bool& lastLineContinues);

  // The same in two steps, the second of which may run on another thread: the chunk's bytes as
  // the source has them, then decoded into lines.
  struct RawChunk {
    std::string bytes;
    std::uint64_t offset = 0;   // of bytes[0] in the source
    std::size_t checkFrom = 0;  // code page 936 bytes before this are known to decode
    bool last = false;
    std::optional<std::uint64_t> firstNul;  // the source offset of the chunk's first NUL
    // The chunk's first line is the rest of a line the chunk before began; its last line goes
    // on in the chunk after it.
    bool beginsMidLine = false;
    bool endsMidLine = false;
  };
  struct DecodedChunk {
    LineList lines;
    std::optional<std::size_t> firstUndecodable;
    std::string trailingBytes;  // of the last chunk
  };
  bool NextRaw(RawChunk& raw);
  void Decode(const RawChunk& raw, DecodedChunk& out) const;
  // The chunk's last line that is not empty, in the form lines are held in ("" for none).
  std::string LastNonEmptyLine(const RawChunk& raw) const;
  void NoteUndecodable(std::size_t offset);

  // The byte offset of the first sequence found so far that does not decode.
  std::optional<std::size_t> FirstUndecodable() const { return firstUndecodable_; }
  // The byte offset of the source's first NUL found so far.
  std::optional<std::uint64_t> FirstNul() const { return firstNul_; }
  // A UTF-16 file's odd last byte, once the text has ended.
  const std::string& TrailingBytes() const { return trailingBytes_; }
  // Bytes of the source consumed so far, and its whole size when known.
  std::uint64_t BytesConsumed() const { return consumed_; }
  std::optional<std::uint64_t> SourceSize() const { return in_.Size(); }

 private:
  void Fill(std::size_t wanted);
  // Where the buffer may be cut after a whole line; 0 when it holds none yet.
  std::size_t CutPoint() const;
  // Where the buffer, beginning with a line longer than a piece, is cut inside that line; 0 when
  // the buffer holds no more than a piece of it.
  std::size_t LongLineCut() const;
  bool IsUtf16() const;
  // The first NUL character of `bytes` (a pair of zero bytes on a code unit in UTF-16).
  std::size_t FindNul(std::string_view bytes) const;

  ByteSource& in_;
  std::size_t chunkBytes_;
  SourceEncoding encoding_;
  TextForm form_ = TextForm::Cp936;
  bool decode_ = true;
  std::string buffer_;
  std::size_t cutLimit_ =
      0;  // where a chunk may end at the latest, past chunkBytes_ for a long line
  bool eof_ = false;
  bool midLine_ = false;           // the last chunk ended inside a line
  std::uint64_t consumed_ = 0;     // source bytes before buffer_
  std::uint64_t checkedUpTo_ = 0;  // code page 936 bytes known to decode up to here
  std::optional<std::size_t> firstUndecodable_;
  std::optional<std::uint64_t> firstNul_;
  std::string trailingBytes_;
  std::string decoded_;
};

// The lines of a source as a run annotates them, in the form they are held in: read, decoded and
// re-cut to `wrapWidth` characters by `rule` (in memory; 0 for none). For printing, the PDF export
// and the readings of each line. Raises the file errors.
struct SourceLines {
  LineList lines;
  TextForm form;
};
// Under KeepWrittenWords, `words` gives the written words the wrap pass keeps whole.
SourceLines ReadSourceLines(ByteSource& bytes, EncodingChoice choice, int wrapWidth = 0,
                            WrapRule rule = WrapRule::EveryWidth, const WrittenWords& words = {});
SourceLines ReadSourceLines(const std::filesystem::path& source, EncodingChoice choice,
                            int wrapWidth = 0, WrapRule rule = WrapRule::EveryWidth,
                            const WrittenWords& words = {});

// The encoding a run would read a source file in; Error when it cannot be read.
TextEncoding DetectFileEncoding(const std::filesystem::path& path,
                                EncodingChoice choice = EncodingChoice::Auto);
// The same, or nothing when the file cannot be read.
std::optional<TextEncoding> EncodingOfFile(const std::filesystem::path& path,
                                           EncodingChoice choice = EncodingChoice::Auto);

}  // namespace tolvane
