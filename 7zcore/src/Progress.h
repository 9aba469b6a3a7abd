// Progress in unpacked bytes: done never goes backwards, a report at least every whole
// percent, time-driven reports at most every 5 ms in between, and done == total only in
// the final report after success. Several writers may add to it; reports never overlap.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>

namespace vx7z {

using ProgressFn = std::function<void(uint64_t done, uint64_t total)>;

class CProgress {
 public:
  CProgress(const ProgressFn& fn, uint64_t total);
  void Add(uint64_t bytes);
  void Finish();

 private:
  void Report(uint64_t value);

  std::mutex mutex_;  // held while reporting, so the callable is never entered twice
  const ProgressFn& fn_;
  uint64_t total_;
  uint64_t done_ = 0;
  uint64_t nextPercent_ = 0;  // done value at which the next whole percent is reached
  unsigned percent_ = 0;      // whole percents reported so far
  uint64_t lastReported_ = UINT64_MAX;
  std::chrono::steady_clock::time_point lastTime_;
};

}  // namespace vx7z
