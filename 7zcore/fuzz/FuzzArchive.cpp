// libFuzzer target: the whole reader and decoder chain over an archive in memory, tested
// without writing. The input is read in small pieces so that every refill path runs.
#include <cstddef>
#include <cstdint>

#include "ArchiveReader.h"
#include "ByteSource.h"
#include "Extractor.h"
#include "PathClean.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vx7z::CMemoryInFile file(data, size);
  vx7z::CReadLimits limits;
  limits.memoryLimit = 256u << 20;
  limits.maxHeaderSize = 16u << 20;
  limits.maxPiece = 1 + size % 4099;
  limits.parallelMinUnpack = 0;  // split every LZMA2 stream that has segments
  vx7z::CArchiveDb db;
  if (!vx7z::ReadArchive(file, limits, db).ok()) return 0;
  for (const auto& f : db.files) vx7z::CleanEntryName(f.name);
  // Huge declared outputs would only measure decoding speed.
  if (vx7z::TotalUnpackedSize(db) > (64u << 20)) return 0;
  uint64_t last = 0;
  vx7z::CExtractOptions options;
  options.limits = limits;
  options.helperThreads = (size & 1) != 0;  // both the inline and the threaded paths
  options.onProgress = [&last](uint64_t done, uint64_t total) {
    if (done < last || done > total) __builtin_trap();
    last = done;
  };
  vx7z::ExtractArchive(file, nullptr, options);
  return 0;
}
