// Runs an upstream decoder on a thread of its own, a few fixed blocks ahead of its reader,
// so that a filter (BCJ, BCJ2, Delta, ARM64) and the decoder below it use two cores.
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

class CPrefetchSource : public IByteSource {
 public:
  static constexpr size_t kBlockSize = 1 << 20;
  static constexpr size_t kBlocks = 3;

  explicit CPrefetchSource(IByteSource& inner);
  ~CPrefetchSource() override;
  Status Read(uint8_t* buffer, size_t capacity, size_t& got) override;

 private:
  struct Block {
    std::unique_ptr<uint8_t[]> data{new uint8_t[kBlockSize]};
    size_t size = 0;
  };
  void Producer();

  IByteSource& inner_;
  std::vector<std::unique_ptr<Block>> blocks_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Block*> free_;
  std::deque<Block*> full_;  // filled in order; a block of size 0 marks the end
  Block* reading_ = nullptr; // the block the reader takes bytes from
  size_t readPos_ = 0;
  bool ended_ = false;       // the producer has delivered its last block
  bool stop_ = false;        // the reader is going away
  Status error_;             // the producer's failure, reported after its data
  std::thread thread_;
};

}  // namespace vx7z
