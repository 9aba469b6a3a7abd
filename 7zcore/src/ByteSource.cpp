#include "ByteSource.h"

#include <algorithm>
#include <cstring>

namespace vx7z {

Status CMemoryInFile::ReadAt(uint64_t offset, void* buffer, size_t size) {
  if (offset > size_ || size > size_ - offset) return Status::Corrupt("read past the end of the archive");
  if (size) std::memcpy(buffer, data_ + offset, size);
  return Status::Ok();
}

Status CPackSource::Read(uint8_t* buffer, size_t capacity, size_t& got) {
  got = 0;
  uint64_t n = std::min<uint64_t>(remaining_, std::min(capacity, maxPiece_));
  if (n == 0) return Status::Ok();
  VX7Z_TRY(file_.ReadAt(offset_, buffer, static_cast<size_t>(n)));
  offset_ += n;
  remaining_ -= n;
  got = static_cast<size_t>(n);
  return Status::Ok();
}

}  // namespace vx7z
