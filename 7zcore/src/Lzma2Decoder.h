// LZMA2 chunk framing over the LZMA decoder: control bytes, uncompressed chunks,
// state, property and dictionary resets.
#pragma once

#include <cstdint>

#include "ByteSource.h"
#include "InBuffer.h"
#include "LzmaDecoder.h"

namespace vx7z {

// Dictionary size from the one LZMA2 property byte; false when the byte is above 40.
bool Lzma2DictSize(uint8_t prop, uint64_t& size);

class CLzma2Source : public IByteSource {
 public:
  // endsAtSize: a segment of a longer stream that stops after unpackSize bytes, without an end byte.
  CLzma2Source(IByteSource& input, uint64_t dictSize, uint64_t unpackSize, bool endsAtSize = false)
      : in_(input, (1 << 16) + 64), dictSize_(dictSize), remaining_(unpackSize), endsAtSize_(endsAtSize) {}
  Status Init();
  Status Read(uint8_t* buffer, size_t capacity, size_t& got) override;

 private:
  enum class Phase {
    control,  // next byte is a control byte
    stored,   // inside an uncompressed chunk
    lzma,     // inside an LZMA chunk whose packed bytes sit in the buffer
    end,      // the end byte was read
  };
  Status ReadControl();

  CInBuffer in_;
  CLzmaDecoder dec_;
  CRangeDecoder rc_;
  uint64_t dictSize_;
  uint64_t remaining_;            // declared unpacked bytes not yet delivered
  bool endsAtSize_;
  Phase phase_ = Phase::control;
  uint32_t chunkLeft_ = 0;        // unpacked bytes left in the current chunk
  uint32_t chunkPacked_ = 0;      // packed size of the current LZMA chunk
  const uint8_t* chunkEnd_ = nullptr;  // end of the current LZMA chunk's packed bytes
  bool needDictReset_ = true;     // the first chunk must reset the dictionary
  bool needProps_ = true;         // no properties have been given yet
  bool needStateReset_ = true;    // no LZMA state exists yet
};

}  // namespace vx7z
