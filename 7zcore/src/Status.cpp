#include "Status.h"

namespace vx7z {

const char* ResultName(Result r) {
  switch (r) {
    case Result::ok: return "ok";
    case Result::corrupt: return "corrupt archive";
    case Result::unsupported: return "unsupported";
    case Result::memoryLimit: return "over the memory limit";
    case Result::ioError: return "I/O error";
    case Result::badArgument: return "bad argument";
  }
  return "unknown";
}

std::string Status::Describe() const {
  if (ok()) return "ok";
  return std::string(ResultName(result_)) + ": " + reason_;
}

}  // namespace vx7z
