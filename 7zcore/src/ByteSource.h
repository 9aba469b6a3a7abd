// The two input abstractions of the decoder: a random-access archive file and a pull stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Status.h"

namespace vx7z {

// Random access to the archive. ReadAt must deliver exactly `size` bytes or fail.
class IInFile {
 public:
  virtual ~IInFile() = default;
  virtual uint64_t Size() const = 0;
  virtual Status ReadAt(uint64_t offset, void* buffer, size_t size) = 0;
};

// A pull stream of decoded (or packed) bytes. got == 0 with an ok status means the end.
class IByteSource {
 public:
  virtual ~IByteSource() = default;
  virtual Status Read(uint8_t* buffer, size_t capacity, size_t& got) = 0;
};

// An archive held in memory (fuzzing, tests, decoded headers).
class CMemoryInFile : public IInFile {
 public:
  CMemoryInFile(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const override { return size_; }
  Status ReadAt(uint64_t offset, void* buffer, size_t size) override;

 private:
  const uint8_t* data_;
  size_t size_;
};

// One packed stream: a byte range of the archive file, read in pieces.
class CPackSource : public IByteSource {
 public:
  // maxPiece limits each read (tests and fuzzing use small pieces to exercise refills).
  CPackSource(IInFile& file, uint64_t offset, uint64_t size, size_t maxPiece = SIZE_MAX)
      : file_(file), offset_(offset), remaining_(size), maxPiece_(maxPiece ? maxPiece : 1) {}
  Status Read(uint8_t* buffer, size_t capacity, size_t& got) override;

 private:
  IInFile& file_;
  uint64_t offset_;     // next byte to read
  uint64_t remaining_;  // bytes left in the stream
  size_t maxPiece_;
};

}  // namespace vx7z
