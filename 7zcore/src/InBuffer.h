// Buffered input over a pull stream for decoders that want contiguous bytes.
// After the source ends, kPad zero bytes follow the data, so a range decoder may
// read a little past the end without leaving the buffer; callers detect that overrun.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "ByteSource.h"

namespace vx7z {

class CInBuffer {
 public:
  static constexpr size_t kPad = 64;

  CInBuffer(IByteSource& source, size_t capacity);

  // Makes at least `want` (<= capacity) bytes contiguous at Data(), unless the source ends first.
  Status Fill(size_t want);
  const uint8_t* Data() const { return buf_.get() + pos_; }
  size_t Avail() const { return end_ - pos_; }
  bool SourceEnded() const { return ended_; }
  void Skip(size_t n) { pos_ += n; }
  size_t Capacity() const { return cap_; }

 private:
  IByteSource& source_;
  std::unique_ptr<uint8_t[]> buf_;  // cap_ + kPad bytes
  size_t cap_;
  size_t pos_ = 0;     // first unread byte
  size_t end_ = 0;     // end of valid data
  bool ended_ = false; // the source reported its end
};

}  // namespace vx7z
