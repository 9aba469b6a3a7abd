#include "LzmaDecoder.h"

#include <algorithm>
#include <cstring>

namespace vx7z {

bool ParseLzmaPropsByte(uint8_t b, CLzmaProps& props) {
  if (b >= 9 * 5 * 5) return false;
  props.lc = b % 9;
  b = uint8_t(b / 9);
  props.lp = b % 5;
  props.pb = b / 5;
  return true;
}

Status ParseLzmaProps(const uint8_t* data, size_t size, CLzmaProps& props) {
  if (size < 5) return Status::Corrupt("LZMA properties shorter than 5 bytes");
  if (!ParseLzmaPropsByte(data[0], props)) return Status::Corrupt("LZMA properties byte out of range");
  props.dictSize = uint32_t(data[1]) | uint32_t(data[2]) << 8 | uint32_t(data[3]) << 16 | uint32_t(data[4]) << 24;
  return Status::Ok();
}

bool CLzmaDecoder::AllocWindow(size_t size) {
  if (size == 0) size = 1;
  dic_.reset(static_cast<uint8_t*>(std::calloc(size, 1)));
  bufSize_ = dic_ ? size : 0;
  pos_ = 0;
  full_ = false;
  return dic_ != nullptr;
}

void CLzmaDecoder::SetProps(unsigned lc, unsigned lp, unsigned pb) {
  lc_ = lc;
  lpMask_ = (1u << lp) - 1;
  pbMask_ = (1u << pb) - 1;
}

void CLzmaDecoder::ResetDictionary() {
  pos_ = 0;
  full_ = false;
  processed_ = 0;
}

void CLzmaDecoder::ResetState() {
  uint16_t* p = reinterpret_cast<uint16_t*>(probs_.get());
  std::fill(p, p + sizeof(Probs) / sizeof(uint16_t), uint16_t(kProbInit));
  reps_[0] = reps_[1] = reps_[2] = reps_[3] = 0;
  state_ = 0;
  remainLen_ = 0;
}

void CLzmaDecoder::PutRaw(const uint8_t* data, size_t n) {
  std::memcpy(dic_.get() + pos_, data, n);
  pos_ += n;
  processed_ += uint32_t(n);
}

namespace {

inline unsigned DecodeLen(CRangeDecoder& rc, uint16_t& choice, uint16_t& choice2, uint16_t* low,
                          uint16_t* mid, uint16_t* high) {
  if (rc.Bit(choice) == 0) return rc.Tree(low, 3);
  if (rc.Bit(choice2) == 0) return 8 + rc.Tree(mid, 3);
  return 16 + rc.Tree(high, 8);
}

}  // namespace

CLzmaDecoder::Stop CLzmaDecoder::Decode(CRangeDecoder& rcRef, const uint8_t* inLimit, size_t dicLimit) {
  uint8_t* const dic = dic_.get();
  const size_t bufSize = bufSize_;
  size_t pos = pos_;
  bool full = full_;

  // A match cut short by the previous call's limit continues first.
  if (remainLen_ && pos < dicLimit) {
    size_t n = std::min<size_t>(remainLen_, dicLimit - pos);
    size_t dist = reps_[0] + 1;
    size_t src = pos >= dist ? pos - dist : pos + bufSize - dist;
    for (size_t i = 0; i < n; ++i) {
      dic[pos++] = dic[src];
      if (++src == bufSize) src = 0;
    }
    remainLen_ -= uint32_t(n);
    processed_ += uint32_t(n);
  }

  CRangeDecoder rc = rcRef;
  Probs& pr = *probs_;
  uint32_t rep0 = reps_[0], rep1 = reps_[1], rep2 = reps_[2], rep3 = reps_[3];
  unsigned state = state_;
  uint32_t processed = processed_;
  uint32_t remainLen = remainLen_;
  const unsigned lc = lc_, lpMask = lpMask_, pbMask = pbMask_;
  Stop stop = Stop::limit;

  while (remainLen == 0) {
    if (pos >= dicLimit) { stop = Stop::limit; break; }
    if (rc.in > inLimit) { stop = Stop::input; break; }
    const unsigned posState = processed & pbMask;

    if (rc.Bit(pr.isMatch[state][posState]) == 0) {
      unsigned prevByte = pos ? dic[pos - 1] : (full ? dic[bufSize - 1] : 0);
      uint16_t* probs = pr.literal + 0x300 * (((processed & lpMask) << lc) + (prevByte >> (8 - lc)));
      unsigned symbol = 1;
      if (state < 7) {
        do symbol = (symbol << 1) | rc.TreeBit(probs[symbol]); while (symbol < 0x100);
      } else {
        size_t src = pos > rep0 ? pos - rep0 - 1 : pos + bufSize - rep0 - 1;
        unsigned matchByte = dic[src];
        unsigned offs = 0x100;
        do {
          matchByte <<= 1;
          unsigned matchBit = matchByte & offs;
          unsigned bit = rc.TreeBit(probs[offs + matchBit + symbol]);
          symbol = (symbol << 1) | bit;
          offs &= bit ? matchBit : ~matchBit;
        } while (symbol < 0x100);
      }
      dic[pos++] = uint8_t(symbol);
      ++processed;
      state = state < 4 ? 0 : (state < 10 ? state - 3 : state - 6);
      continue;
    }

    unsigned len;
    if (rc.Bit(pr.isRep[state]) == 0) {
      len = DecodeLen(rc, pr.len.choice, pr.len.choice2, pr.len.low[posState], pr.len.mid[posState], pr.len.high);
      state = state < 7 ? 7 : 10;
      unsigned slot = rc.Tree(pr.posSlot[len < 3 ? len : 3], 6);
      uint32_t dist;
      if (slot < 4) {
        dist = slot;
      } else {
        unsigned direct = (slot >> 1) - 1;
        dist = (2 | (slot & 1)) << direct;
        if (slot < 14) {
          dist += rc.ReverseTree(pr.posSpecial + dist - slot - 1, direct);
        } else {
          dist += rc.Direct(direct - 4) << 4;
          dist += rc.ReverseTree(pr.align, 4);
          if (dist == 0xFFFFFFFF) { stop = Stop::endMarker; break; }
        }
      }
      rep3 = rep2;
      rep2 = rep1;
      rep1 = rep0;
      rep0 = dist;
    } else {
      if (rc.Bit(pr.isRepG0[state]) == 0) {
        if (rc.Bit(pr.isRep0Long[state][posState]) == 0) {
          // Short rep: one byte from the last distance.
          if (rep0 >= (full ? bufSize : pos)) { stop = Stop::error; break; }
          size_t src = pos > rep0 ? pos - rep0 - 1 : pos + bufSize - rep0 - 1;
          dic[pos] = dic[src];
          ++pos;
          ++processed;
          state = state < 7 ? 9 : 11;
          continue;
        }
      } else {
        uint32_t dist;
        if (rc.Bit(pr.isRepG1[state]) == 0) {
          dist = rep1;
        } else {
          if (rc.Bit(pr.isRepG2[state]) == 0) {
            dist = rep2;
          } else {
            dist = rep3;
            rep3 = rep2;
          }
          rep2 = rep1;
        }
        rep1 = rep0;
        rep0 = dist;
      }
      len = DecodeLen(rc, pr.repLen.choice, pr.repLen.choice2, pr.repLen.low[posState], pr.repLen.mid[posState],
                      pr.repLen.high);
      state = state < 7 ? 8 : 11;
    }

    // Copy the match of len + 2 bytes from distance rep0 + 1.
    if (rep0 >= (full ? bufSize : pos)) { stop = Stop::error; break; }
    len += 2;
    size_t room = dicLimit - pos;
    size_t n = len < room ? len : room;
    remainLen = uint32_t(len - n);
    size_t src = pos > rep0 ? pos - rep0 - 1 : pos + bufSize - rep0 - 1;
    uint8_t* d = dic + pos;
    if (src + n <= bufSize) {
      const uint8_t* s = dic + src;
      size_t gap = src < pos ? pos - src : src - pos;
      if (n > 16 && gap >= n) {
        std::memcpy(d, s, n);
      } else {
        for (size_t i = 0; i < n; ++i) d[i] = s[i];
      }
    } else {
      for (size_t i = 0; i < n; ++i) {
        d[i] = dic[src];
        if (++src == bufSize) src = 0;
      }
    }
    pos += n;
    processed += uint32_t(n);
  }

  rcRef = rc;
  reps_[0] = rep0;
  reps_[1] = rep1;
  reps_[2] = rep2;
  reps_[3] = rep3;
  state_ = state;
  processed_ = processed;
  remainLen_ = remainLen;
  pos_ = pos;
  full_ = full;
  return stop;
}

Status CLzmaSource::Init() {
  if (props_.lc > 8 || props_.lp > 4 || props_.pb > 4) return Status::Corrupt("LZMA properties out of range");
  if (props_.lc + props_.lp > 4) return Status::Unsupported("LZMA with lc + lp > 4");
  size_t window = static_cast<size_t>(std::min<uint64_t>(props_.dictSize, remaining_));
  if (window < 4096) window = 4096;
  if (!dec_.AllocWindow(window)) return Status::MemoryLimit("cannot allocate the LZMA dictionary");
  dec_.SetProps(props_.lc, props_.lp, props_.pb);
  dec_.ResetDictionary();
  dec_.ResetState();
  return Status::Ok();
}

Status CLzmaSource::Read(uint8_t* buffer, size_t capacity, size_t& got) {
  got = 0;
  if (!started_) {
    VX7Z_TRY(in_.Fill(5));
    if (in_.Avail() < 5) return Status::Corrupt("LZMA stream truncated");
    if (!rc_.Init(in_.Data())) return Status::Corrupt("LZMA stream has a bad first byte");
    in_.Skip(5);
    started_ = true;
  }
  while (got == 0 && remaining_ > 0 && capacity > 0) {
    VX7Z_TRY(in_.Fill(kLzmaMaxSymbolBytes));
    const uint8_t* data = in_.Data();
    size_t avail = in_.Avail();
    bool ended = in_.SourceEnded();
    const uint8_t* inLimit = ended ? data + avail : data + (avail - kLzmaMaxSymbolBytes);
    size_t start = dec_.Pos();
    size_t want = static_cast<size_t>(std::min<uint64_t>(remaining_, capacity));
    size_t dicLimit = start + std::min(want, dec_.WindowSize() - start);
    rc_.in = data;
    CLzmaDecoder::Stop stop = dec_.Decode(rc_, inLimit, dicLimit);
    size_t consumed = size_t(rc_.in - data);
    if (consumed > avail) return Status::Corrupt("LZMA stream truncated");
    in_.Skip(consumed);
    if (stop == CLzmaDecoder::Stop::error) return Status::Corrupt("LZMA distance beyond the decoded data");
    size_t n = dec_.Pos() - start;
    std::memcpy(buffer, dec_.Window() + start, n);
    dec_.WrapIfAtEnd();
    got = n;
    remaining_ -= n;
    if (stop == CLzmaDecoder::Stop::endMarker) {
      if (remaining_ != 0) return Status::Corrupt("LZMA end marker before the declared size");
      break;
    }
    if (n == 0 && ended && stop == CLzmaDecoder::Stop::input) return Status::Corrupt("LZMA stream truncated");
  }
  return Status::Ok();
}

}  // namespace vx7z
