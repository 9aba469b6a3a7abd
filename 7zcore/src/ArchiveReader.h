// Reads and checks the 7z signature header and the (possibly encoded) archive header.
#pragma once

#include <cstdint>

#include "ArchiveDb.h"
#include "ByteSource.h"
#include "Status.h"

namespace vx7z {

struct CReadLimits {
  uint64_t maxHeaderSize = 64u << 20;  // raw or decoded header bytes we accept
  uint64_t memoryLimit = sizeof(void*) >= 8 ? (1536ull << 20) : (512ull << 20);  // decoder memory
  size_t maxPiece = SIZE_MAX;          // largest single read from the archive (tests use small ones)
  uint64_t parallelMinUnpack = 8u << 20;  // smallest LZMA2 stream worth splitting over threads
};

Status ReadArchive(IInFile& file, const CReadLimits& limits, CArchiveDb& db);

// Human-readable name of a coder method ("LZMA2", "BCJ2", ...).
std::string MethodName(uint64_t id);

}  // namespace vx7z
