// Decodes folders one after another and writes their files through a write pipeline of its
// own. Two lanes may work at once on different folders: they share the progress and a stop
// flag, and each keeps its decoders within its own share of the memory budget.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "ArchiveDb.h"
#include "ArchiveReader.h"
#include "ByteSource.h"
#include "FileSystem.h"
#include "Progress.h"
#include "Status.h"
#include "WritePipeline.h"

namespace vx7z {

CItemMeta MetaOf(const CFileItem& item);

// A folder and the entries whose data it holds, in archive order.
struct CFolderWork {
  size_t folder = 0;
  std::vector<size_t> files;
};

struct CLaneContext {
  IInFile& archive;
  IFileSystem* fs;                       // null when only testing
  const CArchiveDb& db;
  const std::vector<std::string>& paths; // cleaned name of each entry
  const std::vector<bool>& write;        // whether each entry's data goes to a file
  const std::vector<bool>& drainFirst;   // the entry's file may be one queued before it
  CReadLimits limits;                    // this lane's share of the budget
  bool helperThreads;
  CProgress& progress;
  std::atomic<bool>& stop;               // another lane failed: end soon, quietly
};

class CFolderLane {
 public:
  explicit CFolderLane(const CLaneContext& context);
  // Decodes the folder and queues its files; ok when stopped early by the flag or a failed
  // write (Finish reports the latter).
  Status Decode(const CFolderWork& work);
  bool WriterFailed() { return pipeline_.Failed(); }
  // Waits until everything queued is written; the first write or CRC failure.
  Status Finish() { return pipeline_.Drain(); }

 private:
  Status WriteFile(IByteSource& src, size_t entry);

  const CLaneContext& ctx_;
  CWritePipeline pipeline_;
  bool folderCrcNeeded_ = false;  // several files share one folder CRC
  uint32_t folderCrc_ = 0;
};

}  // namespace vx7z
