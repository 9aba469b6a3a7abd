// The binary range decoder shared by LZMA and BCJ2: 11-bit probabilities, shift 5.
// Input is a raw pointer; the caller guarantees readable bytes (see CInBuffer::kPad)
// and checks afterwards how far the pointer went.
#pragma once

#include <cstdint>

namespace vx7z {

constexpr int kProbBits = 11;
constexpr uint32_t kProbInit = 1u << (kProbBits - 1);
constexpr int kProbMoveBits = 5;
constexpr uint32_t kRangeTop = 1u << 24;

struct CRangeDecoder {
  uint32_t range = 0xFFFFFFFF;
  uint32_t code = 0;
  const uint8_t* in = nullptr;

  // Reads the five init bytes; the first must be zero.
  bool Init(const uint8_t* p) {
    if (p[0] != 0) return false;
    code = uint32_t(p[1]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 8 | p[4];
    range = 0xFFFFFFFF;
    in = p + 5;
    return code != 0xFFFFFFFF;
  }

  void Normalize() {
    if (range < kRangeTop) {
      range <<= 8;
      code = (code << 8) | *in++;
    }
  }

  unsigned Bit(uint16_t& prob) {
    Normalize();
    uint32_t bound = (range >> kProbBits) * prob;
    if (code < bound) {
      range = bound;
      prob = uint16_t(prob + (((1u << kProbBits) - prob) >> kProbMoveBits));
      return 0;
    }
    range -= bound;
    code -= bound;
    prob = uint16_t(prob - (prob >> kProbMoveBits));
    return 1;
  }

  // The same decision without a branch on its outcome: for bit trees, whose bits the CPU
  // cannot predict, so selecting both results beats a mispredicted jump.
  unsigned TreeBit(uint16_t& prob) {
    Normalize();
    const uint32_t p = prob;
    const uint32_t bound = (range >> kProbBits) * p;
    const uint32_t bit = code >= bound;
    const uint32_t mask = 0u - bit;
    range = (bound & ~mask) | ((range - bound) & mask);
    code -= bound & mask;
    const uint32_t up = p + (((1u << kProbBits) - p) >> kProbMoveBits);
    const uint32_t down = p - (p >> kProbMoveBits);
    prob = uint16_t((up & ~mask) | (down & mask));
    return bit;
  }

  // Bits with probability one half, most significant first.
  uint32_t Direct(unsigned count) {
    uint32_t result = 0;
    do {
      Normalize();
      range >>= 1;
      uint32_t t = (code - range) >> 31;  // 1 when code < range
      code -= range & (t - 1);
      result = (result << 1) | (1 - t);
    } while (--count);
    return result;
  }

  // Bit tree of `bits` levels, most significant bit first; returns the symbol.
  unsigned Tree(uint16_t* probs, unsigned bits) {
    unsigned m = 1;
    for (unsigned i = 0; i < bits; ++i) m = (m << 1) | Bit(probs[m]);
    return m - (1u << bits);
  }

  // Bit tree read least significant bit first.
  unsigned ReverseTree(uint16_t* probs, unsigned bits) {
    unsigned m = 1, symbol = 0;
    for (unsigned i = 0; i < bits; ++i) {
      unsigned b = TreeBit(probs[m]);
      m = (m << 1) | b;
      symbol |= b << i;
    }
    return symbol;
  }
};

}  // namespace vx7z
