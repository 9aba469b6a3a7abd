// BCJ2: x86 branch converter with four inputs: the main bytes, CALL targets, JMP targets
// (both big-endian absolute addresses) and a range-coded stream of "converted?" flags.
#pragma once

#include <cstdint>

#include "ByteSource.h"
#include "InBuffer.h"
#include "RangeDecoder.h"

namespace vx7z {

class CBcj2Source : public IByteSource {
 public:
  CBcj2Source(IByteSource& main, IByteSource& call, IByteSource& jump, IByteSource& rc, uint64_t unpackSize)
      : main_(main, 1 << 16), call_(call, 1 << 12), jump_(jump, 1 << 12), rcIn_(rc, 1 << 12),
        remaining_(unpackSize) {}
  Status Read(uint8_t* buffer, size_t capacity, size_t& got) override;

 private:
  Status Start();
  // Decodes one flag bit with the range decoder.
  Status DecodeFlag(uint16_t& prob, unsigned& bit);

  CInBuffer main_;
  CInBuffer call_;
  CInBuffer jump_;
  CInBuffer rcIn_;
  CRangeDecoder rc_;
  uint16_t probs_[2 + 256];  // [0..255] E8 after each byte, [256] E9, [257] Jcc
  uint64_t remaining_;        // output bytes still to deliver
  bool started_ = false;
  uint8_t prevByte_ = 0;      // the last output byte, the context of an E8 flag
  uint32_t outPos_ = 0;       // output position (the encoder's instruction pointer)
  uint8_t pending_[4];        // a converted address not yet delivered
  unsigned pendingCount_ = 0;
  unsigned pendingPos_ = 0;
};

}  // namespace vx7z
