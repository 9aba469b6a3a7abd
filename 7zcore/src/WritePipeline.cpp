#include "WritePipeline.h"

#include <algorithm>

#include "Crc32.h"

namespace vx7z {

CWritePipeline::CWritePipeline(CProgress& progress, bool threaded) : progress_(progress), threaded_(threaded) {
  size_t count = threaded ? kBlocks : 1;
  for (size_t i = 0; i < count; ++i) {
    blocks_.emplace_back(new Block);
    free_.push_back(blocks_.back().get());
  }
  if (threaded_) writer_ = std::thread(&CWritePipeline::WriterLoop, this);
}

CWritePipeline::~CWritePipeline() {
  if (threaded_) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    writer_.join();
  }
}

bool CWritePipeline::Failed() {
  std::lock_guard<std::mutex> lock(mutex_);
  return failed_;
}

uint8_t* CWritePipeline::Reserve(size_t want, size_t& room) {
  if (current_ && current_->used == kBlockSize) Submit();
  if (!current_) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return !free_.empty() || failed_; });
    if (failed_) return nullptr;
    current_ = free_.front();
    free_.pop_front();
    current_->used = 0;
    current_->pieces.clear();
  }
  room = kBlockSize - current_->used;
  if (want && room > want) room = want;
  return current_->data.get() + current_->used;
}

void CWritePipeline::Commit(const std::shared_ptr<CFileJob>& job, size_t n, bool last) {
  current_->pieces.push_back(Piece{job, current_->used, n, last});
  current_->used += n;
}

void CWritePipeline::Submit() {
  Block* b = current_;
  current_ = nullptr;
  if (!threaded_) {
    Process(*b);
    free_.push_back(b);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    full_.push_back(b);
  }
  changed_.notify_all();
}

Status CWritePipeline::Drain() {
  if (current_) Submit();
  if (threaded_) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return full_.empty() && !busy_; });
  }
  std::lock_guard<std::mutex> lock(mutex_);
  return error_;
}

void CWritePipeline::Process(Block& b) {
  for (Piece& p : b.pieces) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (failed_) break;
    }
    CFileJob& job = *p.job;
    const uint8_t* data = b.data.get() + p.offset;
    Status st;
    // Slices keep progress steps small on large files.
    for (size_t off = 0; off < p.size && st.ok(); off += kProgressSlice) {
      size_t n = std::min(kProgressSlice, p.size - off);
      job.crc = Crc32Update(job.crc, data + off, n);
      if (job.out) st = job.out->Write(data + off, n);
      if (st.ok()) progress_.Add(n);
    }
    if (p.last || !st.ok()) {
      if (job.out) {
        Status fin = job.out->Finish(st.ok() && !job.aborted ? job.meta : CItemMeta());
        if (st.ok()) st = fin;
        job.out.reset();
      }
      if (st.ok() && !job.aborted && job.crcDefined && job.crc != job.expectedCrc)
        st = Status::Corrupt("CRC mismatch in \"" + job.name + "\"");
    }
    if (!st.ok()) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!failed_) {
        failed_ = true;
        error_ = st;
      }
    }
  }
  b.pieces.clear();
}

void CWritePipeline::WriterLoop() {
  for (;;) {
    Block* b = nullptr;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [&] { return !full_.empty() || stop_; });
      if (full_.empty()) return;
      b = full_.front();
      full_.pop_front();
      busy_ = true;
    }
    Process(*b);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      busy_ = false;
      free_.push_back(b);
    }
    changed_.notify_all();
  }
}

}  // namespace vx7z
