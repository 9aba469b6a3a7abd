// Hands decoded bytes to a writer thread that computes CRCs, writes files and reports
// progress, so that decoding never waits for the disk. Blocks are a fixed few MiB.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "FileSystem.h"
#include "Progress.h"
#include "Status.h"

namespace vx7z {

// One file on its way to the disk; shared by the pieces of its data.
struct CFileJob {
  std::unique_ptr<IOutFile> out;  // null when only testing or skipping the entry
  CItemMeta meta;
  std::string name;
  bool crcDefined = false;
  uint32_t expectedCrc = 0;
  uint32_t crc = 0;  // running CRC, kept by the writer
  bool aborted = false;  // decoding failed inside this file: close it, check nothing
};

class CWritePipeline {
 public:
  static constexpr size_t kBlockSize = 1 << 20;
  static constexpr size_t kBlocks = 4;
  static constexpr size_t kProgressSlice = 1 << 18;  // largest step between progress updates

  // threaded == false runs the writer's work inline (fuzzing, single-core use).
  CWritePipeline(CProgress& progress, bool threaded);
  ~CWritePipeline();

  // Space for decoded bytes of `job`; at most `want` bytes, at least one. Null after a failure.
  uint8_t* Reserve(size_t want, size_t& room);
  // Declares `n` bytes of the reserved space written; `last` ends the file.
  void Commit(const std::shared_ptr<CFileJob>& job, size_t n, bool last);
  // Sends the partial block and waits until everything queued is written.
  Status Drain();
  // The first failure of the writer, if any (checked by the decoder to stop early).
  bool Failed();

 private:
  struct Piece {
    std::shared_ptr<CFileJob> job;
    size_t offset, size;
    bool last;
  };
  struct Block {
    std::unique_ptr<uint8_t[]> data{new uint8_t[kBlockSize]};
    size_t used = 0;
    std::vector<Piece> pieces;
  };
  void Submit();
  void Process(Block& b);
  void WriterLoop();

  CProgress& progress_;
  bool threaded_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Block*> free_;     // blocks the decoder may fill
  std::deque<Block*> full_;     // blocks waiting for the writer
  std::vector<std::unique_ptr<Block>> blocks_;
  Block* current_ = nullptr;    // the block being filled by the decoder
  bool busy_ = false;           // the writer is processing a block
  bool stop_ = false;
  Status error_;                // first failure of the writer
  bool failed_ = false;
  std::thread writer_;
};

}  // namespace vx7z
