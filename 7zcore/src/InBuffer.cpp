#include "InBuffer.h"

#include <cstring>

namespace vx7z {

CInBuffer::CInBuffer(IByteSource& source, size_t capacity)
    : source_(source), buf_(new uint8_t[capacity + kPad]), cap_(capacity) {
  std::memset(buf_.get(), 0, capacity + kPad);
}

Status CInBuffer::Fill(size_t want) {
  if (want > cap_) want = cap_;
  while (end_ - pos_ < want && !ended_) {
    if (pos_ + want > cap_) {
      std::memmove(buf_.get(), buf_.get() + pos_, end_ - pos_);
      end_ -= pos_;
      pos_ = 0;
    }
    size_t got = 0;
    VX7Z_TRY(source_.Read(buf_.get() + end_, cap_ - end_, got));
    if (got == 0) {
      ended_ = true;
      std::memset(buf_.get() + end_, 0, kPad);
    }
    end_ += got;
  }
  return Status::Ok();
}

}  // namespace vx7z
