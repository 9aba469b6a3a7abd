// Result of every operation of the 7z library: a failure kind and a reason text.
#pragma once

#include <string>
#include <utility>

namespace vx7z {

enum class Result {
  ok,
  corrupt,       // the archive contradicts itself or is truncated; CRC mismatches too
  unsupported,   // a valid archive that uses a method or feature we do not decode
  memoryLimit,   // decoding would need more memory than the budget allows
  ioError,       // reading the archive or writing the destination failed
  badArgument,   // the caller passed something unusable (empty path, null pointer)
};

const char* ResultName(Result r);

class Status {
 public:
  Status() = default;
  Status(Result r, std::string reason) : result_(r), reason_(std::move(reason)) {}

  static Status Ok() { return Status(); }
  static Status Corrupt(std::string why) { return Status(Result::corrupt, std::move(why)); }
  static Status Unsupported(std::string why) { return Status(Result::unsupported, std::move(why)); }
  static Status MemoryLimit(std::string why) { return Status(Result::memoryLimit, std::move(why)); }
  static Status Io(std::string why) { return Status(Result::ioError, std::move(why)); }
  static Status BadArgument(std::string why) { return Status(Result::badArgument, std::move(why)); }

  bool ok() const { return result_ == Result::ok; }
  Result result() const { return result_; }
  const std::string& reason() const { return reason_; }
  // "corrupt: reason" for messages.
  std::string Describe() const;

 private:
  Result result_ = Result::ok;
  std::string reason_;
};

}  // namespace vx7z

// Propagates a failed Status to the caller.
#define VX7Z_TRY(expr)                    \
  do {                                    \
    ::vx7z::Status vx7zStatus_ = (expr);  \
    if (!vx7zStatus_.ok()) return vx7zStatus_; \
  } while (0)
