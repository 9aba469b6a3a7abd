// LZMA2 decoded by several threads at once: the chunk headers are scanned first, and the
// segments between dictionary resets, which depend on nothing before them, are decoded in
// parallel and delivered in order. Each thread holds one window and a bounded output queue.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "ByteSource.h"

namespace vx7z {

struct CLzma2Segment {
  uint64_t packOffset;  // absolute file offset of the segment's first chunk
  uint64_t packSize;
  uint64_t unpackSize;
};

// Splits the LZMA2 stream at [offset, offset + size) at its dictionary resets. False when the
// stream cannot be split (one segment, bad headers, sizes that disagree with unpackSize):
// the sequential decoder then runs and reports what is wrong.
bool ScanLzma2Segments(IInFile& file, uint64_t offset, uint64_t size, uint64_t unpackSize,
                       std::vector<CLzma2Segment>& segments);

class CLzma2ParallelSource : public IByteSource {
 public:
  static constexpr size_t kBlockSize = 1 << 20;
  // Decoded blocks a segment may hold ahead of its reader: a window plus about 32 MiB per thread.
  static constexpr size_t kQueueBlocks = 30;

  // Memory it needs with `threads` workers: a window and a queue each.
  static uint64_t MemoryNeed(unsigned threads, uint64_t window) {
    return threads * (window + (kQueueBlocks + 1) * kBlockSize) + kBlockSize;
  }

  CLzma2ParallelSource(IInFile& file, std::vector<CLzma2Segment> segments, uint64_t dictSize, unsigned threads,
                       size_t maxPiece);
  ~CLzma2ParallelSource() override;
  Status Read(uint8_t* buffer, size_t capacity, size_t& got) override;

 private:
  struct Block {
    std::unique_ptr<uint8_t[]> data{new uint8_t[kBlockSize]};
    size_t size = 0;
  };
  struct Output {
    std::deque<Block*> blocks;  // decoded, in order
    bool done = false;          // the worker finished the segment (or failed)
    Status status;
  };
  void Worker();

  IInFile& file_;
  std::vector<CLzma2Segment> segments_;
  uint64_t dictSize_;
  size_t maxPiece_;
  unsigned threads_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::unique_ptr<Block>> pool_;
  std::vector<Block*> free_;
  std::vector<Output> outputs_;  // one per segment
  size_t nextSegment_ = 0;       // next segment a worker takes
  size_t reading_ = 0;           // segment the reader is in
  Block* current_ = nullptr;     // block the reader copies from
  size_t readPos_ = 0;
  bool stop_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace vx7z
