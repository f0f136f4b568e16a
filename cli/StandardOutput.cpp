#include "cli/StandardOutput.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

#include "cli/CommonOptions.h"
#include "platform/Error.h"

namespace tolvane {

DescriptorOutputBuffer::DescriptorOutputBuffer(int descriptor) : descriptor_(descriptor) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

DescriptorOutputBuffer::~DescriptorOutputBuffer() { Drain(); }

bool DescriptorOutputBuffer::WriteAll(const char* data, std::size_t size) {
  if (failure_ != 0) return false;
  while (size > 0) {
    const ssize_t written = ::write(descriptor_, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      failure_ = written < 0 ? errno : EIO;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool DescriptorOutputBuffer::Drain() {
  const auto pending = static_cast<std::size_t>(pptr() - pbase());
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return WriteAll(buffer_.data(), pending);
}

DescriptorOutputBuffer::int_type DescriptorOutputBuffer::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

std::streamsize DescriptorOutputBuffer::xsputn(const char* data, std::streamsize size) {
  const auto count = static_cast<std::size_t>(size);
  if (count <= static_cast<std::size_t>(epptr() - pptr())) {
    std::memcpy(pptr(), data, count);
    pbump(static_cast<int>(count));
    return size;
  }
  // A block larger than the room left goes out directly, after what is buffered.
  if (!Drain() || !WriteAll(data, count)) return 0;
  return size;
}

int DescriptorOutputBuffer::sync() { return Drain() ? 0 : -1; }

int FinishStandardOutput(std::ostream& out, const DescriptorOutputBuffer& buffer, int status,
                         std::ostream& err) {
  out.flush();
  if (out.good() || status != 0) return status;
  PrintError(FileError(buffer.failure() != 0 ? buffer.failure() : EIO, kStandardStream), err);
  return 1;
}

}  // namespace tolvane
