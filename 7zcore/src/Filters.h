// Reversible filters that sit after a decoder: x86 BCJ, ARM64 and Delta.
// Each converter works in place on a buffer and says how many leading bytes are final.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "ByteSource.h"

namespace vx7z {

class IFilter {
 public:
  virtual ~IFilter() = default;
  // Decodes data[0, size) in place; returns the count of bytes that are finished. The rest
  // (a few bytes at most) is presented again with more data after it.
  virtual size_t Convert(uint8_t* data, size_t size) = 0;
};

// x86 BCJ: CALL/JMP (E8/E9) targets stored as absolute addresses.
class CX86Filter : public IFilter {
 public:
  size_t Convert(uint8_t* data, size_t size) override;

 private:
  uint32_t pos_ = 0;       // stream position of data[0]
  uint32_t prevMask_ = 0;  // which of the last bytes were E8/E9 candidates
  uint32_t prevPos_ = uint32_t(0) - 5;  // stream position of the last E8/E9 seen
};

// ARM64: BL and ADRP immediates stored as absolute values.
class CArm64Filter : public IFilter {
 public:
  explicit CArm64Filter(uint32_t startPc) : pc_(startPc) {}
  size_t Convert(uint8_t* data, size_t size) override;

 private:
  uint32_t pc_;  // position of data[0] as the encoder counted it
};

// Delta: each byte stored as the difference to the byte `distance` before it.
class CDeltaFilter : public IFilter {
 public:
  explicit CDeltaFilter(unsigned distance) : distance_(distance) {}
  size_t Convert(uint8_t* data, size_t size) override;

 private:
  unsigned distance_;
  uint8_t history_[256] = {};  // the last 256 output bytes, ring indexed by pos_
  uint8_t pos_ = 0;
};

// Runs a filter over a pull stream.
class CFilterSource : public IByteSource {
 public:
  CFilterSource(IByteSource& input, std::unique_ptr<IFilter> filter);
  Status Read(uint8_t* buffer, size_t capacity, size_t& got) override;

 private:
  static constexpr size_t kSize = 1 << 16;
  IByteSource& input_;
  std::unique_ptr<IFilter> filter_;
  std::unique_ptr<uint8_t[]> buf_;
  size_t readyBegin_ = 0;  // converted bytes not yet delivered: [readyBegin_, readyEnd_)
  size_t readyEnd_ = 0;
  size_t dataEnd_ = 0;     // [readyEnd_, dataEnd_) read but not converted yet
  bool ended_ = false;
};

}  // namespace vx7z
