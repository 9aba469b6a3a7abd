#include "Filters.h"

#include <algorithm>
#include <cstring>

namespace vx7z {
namespace {

// The high byte of a plausible near call target: 0x00 or 0xFF.
inline bool IsMsByte(uint8_t b) { return b == 0 || b == 0xFF; }

inline uint32_t Load32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void Store32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

}  // namespace

size_t CX86Filter::Convert(uint8_t* data, size_t size) {
  // For the mask of the previous three candidate positions: may this one be converted,
  // and which byte of the result decides whether to convert again.
  static const bool kAllowed[8] = {true, true, true, false, true, false, false, false};
  static const unsigned kByteIndex[8] = {0, 1, 2, 2, 3, 3, 3, 3};
  if (size < 5) return 0;
  if (pos_ - prevPos_ > 5) prevPos_ = pos_ - 5;
  const size_t limit = size - 5;
  size_t i = 0;
  while (i <= limit) {
    uint8_t b = data[i];
    if (b != 0xE8 && b != 0xE9) {
      ++i;
      continue;
    }
    uint32_t here = pos_ + uint32_t(i);
    uint32_t offset = here - prevPos_;
    prevPos_ = here;
    if (offset > 5) {
      prevMask_ = 0;
    } else {
      for (uint32_t k = 0; k < offset; ++k) {
        prevMask_ &= 0x77;
        prevMask_ <<= 1;
      }
    }
    b = data[i + 4];
    if (IsMsByte(b) && kAllowed[(prevMask_ >> 1) & 7] && (prevMask_ >> 1) < 0x10) {
      uint32_t src = uint32_t(b) << 24 | uint32_t(data[i + 3]) << 16 | uint32_t(data[i + 2]) << 8 | data[i + 1];
      uint32_t dest;
      for (;;) {
        dest = src - (here + 5);
        if (prevMask_ == 0) break;
        unsigned idx = kByteIndex[(prevMask_ >> 1) & 7];
        b = uint8_t(dest >> (24 - idx * 8));
        if (!IsMsByte(b)) break;
        src = dest ^ ((1u << (32 - idx * 8)) - 1);
      }
      data[i + 4] = uint8_t(~(((dest >> 24) & 1) - 1));
      data[i + 3] = uint8_t(dest >> 16);
      data[i + 2] = uint8_t(dest >> 8);
      data[i + 1] = uint8_t(dest);
      i += 5;
      prevMask_ = 0;
    } else {
      ++i;
      prevMask_ |= 1;
      if (IsMsByte(b)) prevMask_ |= 0x10;
    }
  }
  pos_ += uint32_t(i);
  return i;
}

size_t CArm64Filter::Convert(uint8_t* data, size_t size) {
  size_t i = 0;
  for (; i + 4 <= size; i += 4) {
    uint32_t pc = pc_ + uint32_t(i);
    uint32_t instr = Load32(data + i);
    if ((instr >> 26) == 0x25) {  // BL
      uint32_t v = instr - (pc >> 2);
      Store32(data + i, 0x94000000u | (v & 0x03FFFFFFu));
    } else if ((instr & 0x9F000000u) == 0x90000000u) {  // ADRP
      uint32_t src = ((instr >> 29) & 3) | ((instr >> 3) & 0x001FFFFCu);
      if ((src + 0x00020000u) & 0x001C0000u) continue;  // outside the range the encoder converts
      uint32_t dest = src - (pc >> 12);
      instr &= 0x9000001Fu;
      instr |= (dest & 3) << 29;
      instr |= (dest & 0x0003FFFCu) << 3;
      instr |= (0u - (dest & 0x00020000u)) & 0x00E00000u;
      Store32(data + i, instr);
    }
  }
  pc_ += uint32_t(i);
  return i;
}

size_t CDeltaFilter::Convert(uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    uint8_t v = uint8_t(data[i] + history_[uint8_t(pos_ - distance_)]);
    history_[pos_++] = v;
    data[i] = v;
  }
  return size;
}

CFilterSource::CFilterSource(IByteSource& input, std::unique_ptr<IFilter> filter)
    : input_(input), filter_(std::move(filter)), buf_(new uint8_t[kSize]) {}

Status CFilterSource::Read(uint8_t* buffer, size_t capacity, size_t& got) {
  got = 0;
  while (readyBegin_ == readyEnd_) {
    if (ended_ && readyEnd_ == dataEnd_) return Status::Ok();
    // Keep the unconverted tail, refill behind it.
    std::memmove(buf_.get(), buf_.get() + readyEnd_, dataEnd_ - readyEnd_);
    dataEnd_ -= readyEnd_;
    readyBegin_ = readyEnd_ = 0;
    while (!ended_ && dataEnd_ < kSize) {
      size_t n = 0;
      VX7Z_TRY(input_.Read(buf_.get() + dataEnd_, kSize - dataEnd_, n));
      if (n == 0) ended_ = true;
      dataEnd_ += n;
    }
    readyEnd_ = filter_->Convert(buf_.get(), dataEnd_);
    if (ended_) readyEnd_ = dataEnd_;  // the last few bytes pass unchanged
  }
  size_t n = std::min(capacity, readyEnd_ - readyBegin_);
  std::memcpy(buffer, buf_.get() + readyBegin_, n);
  readyBegin_ += n;
  got = n;
  return Status::Ok();
}

}  // namespace vx7z
