#include "PrefetchSource.h"

#include <algorithm>
#include <cstring>

namespace vx7z {

CPrefetchSource::CPrefetchSource(IByteSource& inner) : inner_(inner) {
  for (size_t i = 0; i < kBlocks; ++i) {
    blocks_.emplace_back(new Block);
    free_.push_back(blocks_.back().get());
  }
  thread_ = std::thread(&CPrefetchSource::Producer, this);
}

CPrefetchSource::~CPrefetchSource() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void CPrefetchSource::Producer() {
  for (;;) {
    Block* b = nullptr;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [&] { return !free_.empty() || stop_; });
      if (stop_) return;
      b = free_.front();
      free_.pop_front();
    }
    b->size = 0;
    Status st;
    bool end = false;
    while (b->size < kBlockSize) {
      size_t got = 0;
      st = inner_.Read(b->data.get() + b->size, kBlockSize - b->size, got);
      if (!st.ok() || got == 0) {
        end = true;
        break;
      }
      b->size += got;
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (b->size) full_.push_back(b);
      else free_.push_back(b);
      if (end) {
        error_ = st;
        ended_ = true;
      }
    }
    changed_.notify_all();
    if (end) return;
  }
}

Status CPrefetchSource::Read(uint8_t* buffer, size_t capacity, size_t& got) {
  got = 0;
  while (got < capacity) {
    if (reading_ && readPos_ < reading_->size) {
      size_t n = std::min(capacity - got, reading_->size - readPos_);
      std::memcpy(buffer + got, reading_->data.get() + readPos_, n);
      readPos_ += n;
      got += n;
      continue;
    }
    if (got) return Status::Ok();  // hand over what we have before waiting
    std::unique_lock<std::mutex> lock(mutex_);
    if (reading_) {
      free_.push_back(reading_);
      reading_ = nullptr;
      changed_.notify_all();
    }
    changed_.wait(lock, [&] { return !full_.empty() || ended_; });
    if (full_.empty()) return error_;
    reading_ = full_.front();
    full_.pop_front();
    readPos_ = 0;
  }
  return Status::Ok();
}

}  // namespace vx7z
