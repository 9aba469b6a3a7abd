#include "Bcj2Decoder.h"

#include <algorithm>

namespace vx7z {
namespace {

inline bool IsJump(uint8_t prev, uint8_t b) { return (b & 0xFE) == 0xE8 || (prev == 0x0F && (b & 0xF0) == 0x80); }

}  // namespace

Status CBcj2Source::Start() {
  for (auto& p : probs_) p = uint16_t(kProbInit);
  VX7Z_TRY(rcIn_.Fill(5));
  if (rcIn_.Avail() < 5) return Status::Corrupt("BCJ2 range coder stream truncated");
  if (!rc_.Init(rcIn_.Data())) return Status::Corrupt("BCJ2 range coder stream has a bad start");
  rcIn_.Skip(5);
  started_ = true;
  return Status::Ok();
}

Status CBcj2Source::DecodeFlag(uint16_t& prob, unsigned& bit) {
  VX7Z_TRY(rcIn_.Fill(1));
  const uint8_t* data = rcIn_.Data();
  rc_.in = data;
  bit = rc_.Bit(prob);
  size_t used = size_t(rc_.in - data);
  if (used > rcIn_.Avail()) return Status::Corrupt("BCJ2 range coder stream truncated");
  rcIn_.Skip(used);
  return Status::Ok();
}

Status CBcj2Source::Read(uint8_t* buffer, size_t capacity, size_t& got) {
  got = 0;
  if (!started_) VX7Z_TRY(Start());
  while (got < capacity && remaining_ > 0) {
    if (pendingPos_ < pendingCount_) {
      buffer[got++] = pending_[pendingPos_++];
      --remaining_;
      continue;
    }
    VX7Z_TRY(main_.Fill(1));
    size_t avail = main_.Avail();
    if (avail == 0) return Status::Corrupt("BCJ2 main stream ends early");
    const uint8_t* p = main_.Data();
    size_t limit = std::min<size_t>({avail, capacity - got, static_cast<size_t>(std::min<uint64_t>(remaining_, SIZE_MAX))});
    // Plain bytes up to and including the next branch opcode.
    size_t n = 0;
    uint8_t prev = prevByte_;
    uint8_t context = 0;  // the byte before a branch opcode
    bool branch = false;
    while (n < limit) {
      uint8_t b = p[n++];
      buffer[got++] = b;
      if (IsJump(prev, b)) {
        branch = true;
        context = prev;
        prev = b;
        break;
      }
      prev = b;
    }
    main_.Skip(n);
    remaining_ -= n;
    outPos_ += uint32_t(n);
    prevByte_ = prev;
    if (!branch || remaining_ == 0) continue;

    uint8_t b = prev;
    uint16_t& prob = b == 0xE8 ? probs_[context] : (b == 0xE9 ? probs_[256] : probs_[257]);
    unsigned bit = 0;
    VX7Z_TRY(DecodeFlag(prob, bit));
    if (bit == 0) continue;
    CInBuffer& addr = b == 0xE8 ? call_ : jump_;
    VX7Z_TRY(addr.Fill(4));
    if (addr.Avail() < 4) return Status::Corrupt("BCJ2 address stream ends early");
    const uint8_t* a = addr.Data();
    uint32_t src = uint32_t(a[0]) << 24 | uint32_t(a[1]) << 16 | uint32_t(a[2]) << 8 | a[3];
    addr.Skip(4);
    uint32_t dest = src - (outPos_ + 4);
    pending_[0] = uint8_t(dest);
    pending_[1] = uint8_t(dest >> 8);
    pending_[2] = uint8_t(dest >> 16);
    pending_[3] = uint8_t(dest >> 24);
    pendingCount_ = 4;
    pendingPos_ = 0;
    outPos_ += 4;
    prevByte_ = uint8_t(dest >> 24);
  }
  return Status::Ok();
}

}  // namespace vx7z
