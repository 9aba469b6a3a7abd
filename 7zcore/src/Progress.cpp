#include "Progress.h"

namespace vx7z {
namespace {

uint64_t PercentPoint(uint64_t total, unsigned percent) {
  // total * percent / 100 without overflow.
  return total / 100 * percent + total % 100 * percent / 100;
}

}  // namespace

CProgress::CProgress(const ProgressFn& fn, uint64_t total) : fn_(fn), total_(total) {
  nextPercent_ = PercentPoint(total_, 1);
  lastTime_ = std::chrono::steady_clock::now();
  Report(0);
}

void CProgress::Report(uint64_t value) {
  if (!fn_ || total_ == 0) return;
  if (value >= total_) value = total_ - 1;  // the full amount only in Finish
  if (value == lastReported_) return;
  lastReported_ = value;
  lastTime_ = std::chrono::steady_clock::now();
  fn_(value, total_);
}

void CProgress::Add(uint64_t bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  done_ += bytes;
  if (done_ >= nextPercent_ && percent_ < 100) {
    while (percent_ < 100 && done_ >= PercentPoint(total_, percent_ + 1)) ++percent_;
    nextPercent_ = percent_ < 100 ? PercentPoint(total_, percent_ + 1) : UINT64_MAX;
    Report(done_);
    return;
  }
  auto now = std::chrono::steady_clock::now();
  if (now - lastTime_ >= std::chrono::milliseconds(5)) Report(done_);
}

void CProgress::Finish() {
  if (!fn_) return;
  std::lock_guard<std::mutex> lock(mutex_);
  lastReported_ = total_;
  fn_(total_, total_);
}

}  // namespace vx7z
