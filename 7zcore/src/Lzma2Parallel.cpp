#include "Lzma2Parallel.h"

#include <algorithm>
#include <cstring>

#include "Lzma2Decoder.h"

namespace vx7z {

bool ScanLzma2Segments(IInFile& file, uint64_t offset, uint64_t size, uint64_t unpackSize,
                       std::vector<CLzma2Segment>& segments) {
  segments.clear();
  const uint64_t end = offset + size;
  const uint64_t maxChunks = size / 16 + 16;  // a stream of tiny chunks is not worth scanning
  uint64_t pos = offset, unpacked = 0, segUnpack = 0, chunks = 0;
  for (;;) {
    if (pos >= end || ++chunks > maxChunks) return false;
    uint8_t h[6] = {};
    size_t n = static_cast<size_t>(std::min<uint64_t>(6, end - pos));
    if (!file.ReadAt(pos, h, n).ok()) return false;
    unsigned c = h[0];
    if (c == 0) break;
    uint64_t u, next;
    bool reset;
    if (c == 1 || c == 2) {
      if (n < 3) return false;
      u = ((uint32_t(h[1]) << 8) | h[2]) + 1;
      next = pos + 3 + u;
      reset = c == 1;
    } else if (c >= 0x80) {
      size_t header = c >= 0xC0 ? 6 : 5;
      if (n < header) return false;
      u = (((c & 0x1Fu) << 16) | (uint32_t(h[1]) << 8) | h[2]) + 1;
      next = pos + header + (((uint32_t(h[3]) << 8) | h[4]) + 1);
      reset = c >= 0xE0;
    } else {
      return false;
    }
    if (reset || segments.empty()) {
      if (!reset) return false;
      if (!segments.empty()) {
        segments.back().packSize = pos - segments.back().packOffset;
        segments.back().unpackSize = segUnpack;
      }
      segments.push_back(CLzma2Segment{pos, 0, 0});
      segUnpack = 0;
    }
    segUnpack += u;
    unpacked += u;
    pos = next;
  }
  if (segments.size() < 2 || unpacked != unpackSize) return false;
  segments.back().packSize = pos - segments.back().packOffset;
  segments.back().unpackSize = segUnpack;
  return true;
}

CLzma2ParallelSource::CLzma2ParallelSource(IInFile& file, std::vector<CLzma2Segment> segments, uint64_t dictSize,
                                           unsigned threads, size_t maxPiece)
    : file_(file), segments_(std::move(segments)), dictSize_(dictSize), maxPiece_(maxPiece), threads_(threads) {
  // Enough blocks that the worker of the segment being read never waits for one.
  size_t blocks = threads_ * (kQueueBlocks + 1) + 1;
  for (size_t i = 0; i < blocks; ++i) {
    pool_.emplace_back(new Block);
    free_.push_back(pool_.back().get());
  }
  outputs_.resize(segments_.size());
  for (unsigned i = 0; i < threads_; ++i) workers_.emplace_back(&CLzma2ParallelSource::Worker, this);
}

CLzma2ParallelSource::~CLzma2ParallelSource() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  for (auto& t : workers_) t.join();
}

void CLzma2ParallelSource::Worker() {
  for (;;) {
    size_t k;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      // At most one segment per thread ahead of the reader: memory stays bounded.
      changed_.wait(lock, [&] { return stop_ || nextSegment_ >= segments_.size() || nextSegment_ < reading_ + threads_; });
      if (stop_ || nextSegment_ >= segments_.size()) return;
      k = nextSegment_++;
    }
    const CLzma2Segment& seg = segments_[k];
    CPackSource pack(file_, seg.packOffset, seg.packSize, maxPiece_);
    CLzma2Source dec(pack, dictSize_, seg.unpackSize, true);
    Status st = dec.Init();
    uint64_t left = seg.unpackSize;
    while (st.ok()) {
      Block* b = nullptr;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return stop_ || (outputs_[k].blocks.size() < kQueueBlocks && !free_.empty()); });
        if (stop_) return;
        b = free_.back();
        free_.pop_back();
      }
      b->size = 0;
      while (st.ok() && b->size < kBlockSize && left > 0) {
        size_t got = 0;
        st = dec.Read(b->data.get() + b->size, kBlockSize - b->size, got);
        if (st.ok() && got == 0) st = Status::Corrupt("LZMA2 segment shorter than its chunks say");
        b->size += got;
        left -= got;
      }
      bool finished = !st.ok() || left == 0;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (b->size) outputs_[k].blocks.push_back(b);
        else free_.push_back(b);
        if (finished) {
          outputs_[k].done = true;
          outputs_[k].status = st;
        }
      }
      changed_.notify_all();
      if (finished) break;
    }
  }
}

Status CLzma2ParallelSource::Read(uint8_t* buffer, size_t capacity, size_t& got) {
  got = 0;
  while (got < capacity) {
    if (current_ && readPos_ < current_->size) {
      size_t n = std::min(capacity - got, current_->size - readPos_);
      std::memcpy(buffer + got, current_->data.get() + readPos_, n);
      readPos_ += n;
      got += n;
      continue;
    }
    if (got) return Status::Ok();
    std::unique_lock<std::mutex> lock(mutex_);
    if (current_) {
      free_.push_back(current_);
      current_ = nullptr;
      changed_.notify_all();
    }
    for (;;) {
      if (reading_ >= outputs_.size()) return Status::Ok();
      Output& out = outputs_[reading_];
      if (!out.blocks.empty()) break;
      if (out.done) {
        if (!out.status.ok()) return out.status;
        ++reading_;
        changed_.notify_all();
        continue;
      }
      changed_.wait(lock);
    }
    current_ = outputs_[reading_].blocks.front();
    outputs_[reading_].blocks.pop_front();
    readPos_ = 0;
    changed_.notify_all();
  }
  return Status::Ok();
}

}  // namespace vx7z
