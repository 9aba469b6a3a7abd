// LZMA symbol decoder with its dictionary window. Used directly for 7z's LZMA coder
// (CLzmaSource) and chunk by chunk by LZMA2 (CLzma2Source).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "ByteSource.h"
#include "InBuffer.h"
#include "RangeDecoder.h"

namespace vx7z {

struct CLzmaProps {
  unsigned lc = 3;  // literal context bits
  unsigned lp = 0;  // literal position bits
  unsigned pb = 2;  // position bits
  uint32_t dictSize = 0;
};

// Splits the (pb * 5 + lp) * 9 + lc byte; false when out of range.
bool ParseLzmaPropsByte(uint8_t b, CLzmaProps& props);
// The five property bytes of 7z's LZMA coder; lc + lp > 4 is accepted here (LZMA allows it).
Status ParseLzmaProps(const uint8_t* data, size_t size, CLzmaProps& props);

// Largest number of input bytes one symbol can consume; the input must stay readable that far.
constexpr size_t kLzmaMaxSymbolBytes = 60;
static_assert(kLzmaMaxSymbolBytes <= CInBuffer::kPad, "padding must cover one symbol");

class CLzmaDecoder {
 public:
  enum class Stop {
    limit,      // the window reached the requested limit
    input,      // the input pointer passed inLimit
    endMarker,  // the stream's end marker was decoded
    error,      // a distance points before the start of the data
  };

  // The window is allocated zero-filled; false when the allocation fails.
  bool AllocWindow(size_t size);
  void SetProps(unsigned lc, unsigned lp, unsigned pb);
  void ResetDictionary();
  void ResetState();

  // Decodes symbols while the window position is below dicLimit (<= WindowSize()) and
  // rc.in <= inLimit. A match cut by dicLimit continues on the next call.
  Stop Decode(CRangeDecoder& rc, const uint8_t* inLimit, size_t dicLimit);
  // Appends stored bytes (LZMA2 uncompressed chunks); n must fit before the window's end.
  void PutRaw(const uint8_t* data, size_t n);

  const uint8_t* Window() const { return dic_.get(); }
  size_t Pos() const { return pos_; }
  size_t WindowSize() const { return bufSize_; }
  uint32_t PendingMatch() const { return remainLen_; }
  // Moves the position back to 0 once the window end is reached (call after copying out).
  void WrapIfAtEnd() {
    if (pos_ == bufSize_) {
      pos_ = 0;
      full_ = true;
    }
  }

 private:
  struct LenProbs {
    uint16_t choice;
    uint16_t choice2;
    uint16_t low[16][8];
    uint16_t mid[16][8];
    uint16_t high[256];
  };
  struct Probs {
    uint16_t isMatch[12][16];
    uint16_t isRep[12];
    uint16_t isRepG0[12];
    uint16_t isRepG1[12];
    uint16_t isRepG2[12];
    uint16_t isRep0Long[12][16];
    uint16_t posSlot[4][64];
    uint16_t posSpecial[114];
    uint16_t align[16];
    LenProbs len;
    LenProbs repLen;
    uint16_t literal[0x300 << 4];  // sized for lc + lp up to 4
  };

  struct FreeDeleter {
    void operator()(uint8_t* p) const { std::free(p); }
  };

  std::unique_ptr<uint8_t[], FreeDeleter> dic_;
  size_t bufSize_ = 0;   // window size in bytes
  size_t pos_ = 0;       // next write position in the window
  bool full_ = false;    // the window has wrapped at least once since the last reset
  uint32_t processed_ = 0;  // bytes since the dictionary reset (low bits give positions)
  unsigned lc_ = 3, lpMask_ = 0, pbMask_ = 3;
  std::unique_ptr<Probs> probs_{new Probs};
  uint32_t reps_[4] = {0, 0, 0, 0};  // last four match distances minus one
  unsigned state_ = 0;               // 0..11: kinds of the last symbols
  uint32_t remainLen_ = 0;           // bytes of a match still to copy
};

// 7z's LZMA coder as a pull stream: packed input, known unpacked size.
class CLzmaSource : public IByteSource {
 public:
  CLzmaSource(IByteSource& input, const CLzmaProps& props, uint64_t unpackSize)
      : in_(input, 1 << 16), props_(props), remaining_(unpackSize) {}
  // Allocates the window: min(dictionary, unpacked size).
  Status Init();
  Status Read(uint8_t* buffer, size_t capacity, size_t& got) override;

 private:
  CInBuffer in_;
  CLzmaProps props_;
  CLzmaDecoder dec_;
  CRangeDecoder rc_;
  uint64_t remaining_;   // unpacked bytes still to deliver
  bool started_ = false; // the range decoder has read its init bytes
};

}  // namespace vx7z
