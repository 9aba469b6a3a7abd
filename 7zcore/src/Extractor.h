// Extraction and testing of a whole archive: folders decoded in order (or from both ends at
// once on two lanes), files written as their bytes are decoded, every CRC checked.
#pragma once

#include <cstdint>
#include <string>

#include "ArchiveReader.h"
#include "ByteSource.h"
#include "FileSystem.h"
#include "Progress.h"
#include "Status.h"

namespace vx7z {

struct CExtractOptions {
  CReadLimits limits;
  ProgressFn onProgress;  // may be empty; called from one thread at a time
  // CRC and writes on a thread of their own, and decoders that feed a filter on another.
  bool helperThreads = true;
  // Folders decoded at once (at most two): 0 decides by the machine's cores. With one, or
  // without helper threads, folders are decoded strictly in order.
  unsigned folderLanes = 0;
};

// With fs == nullptr the archive is only tested: decoded and checked, nothing written.
Status ExtractArchive(IInFile& archive, IFileSystem* fs, const CExtractOptions& options);

// Sum of the sizes of the entries with data: the progress total.
uint64_t TotalUnpackedSize(const CArchiveDb& db);

}  // namespace vx7z
