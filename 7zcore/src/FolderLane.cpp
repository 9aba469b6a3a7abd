#include "FolderLane.h"

#include <memory>

#include "Crc32.h"
#include "FolderDecoder.h"
#include "PathClean.h"

namespace vx7z {

CItemMeta MetaOf(const CFileItem& f) {
  CItemMeta m;
  m.mtimeDefined = f.mtimeDefined;
  m.mtime = f.mtime;
  m.attribDefined = f.attribDefined;
  m.attrib = f.attrib;
  return m;
}

CFolderLane::CFolderLane(const CLaneContext& context)
    : ctx_(context), pipeline_(context.progress, context.helperThreads) {}

Status CFolderLane::Decode(const CFolderWork& work) {
  const CFolder& f = ctx_.db.folders[work.folder];
  // A local decoder: its dictionary is freed before the lane's next folder allocates one.
  CFolderDecoder decoder;
  VX7Z_TRY(decoder.Init(ctx_.archive, ctx_.db, work.folder, ctx_.limits, ctx_.helperThreads));
  folderCrcNeeded_ = f.crcDefined && f.numSubstreams > 1;
  folderCrc_ = 0;
  for (size_t entry : work.files) {
    VX7Z_TRY(WriteFile(decoder.Output(), entry));
    if (ctx_.stop.load(std::memory_order_relaxed) || pipeline_.Failed()) return Status::Ok();
  }
  // The archive's files ran out inside this folder: nothing more is read from it.
  if (work.files.size() < f.numSubstreams) return Status::Ok();
  // The decoder must end with the last file: this reads LZMA2's end byte, among others.
  uint8_t extra[16];
  size_t got = 0;
  VX7Z_TRY(decoder.Output().Read(extra, sizeof extra, got));
  if (got != 0) return Status::Corrupt("folder " + std::to_string(work.folder) + " holds more data than its files");
  if (folderCrcNeeded_ && folderCrc_ != f.crc)
    return Status::Corrupt("CRC mismatch in folder " + std::to_string(work.folder));
  return Status::Ok();
}

Status CFolderLane::WriteFile(IByteSource& src, size_t entry) {
  const CFileItem& item = ctx_.db.files[entry];
  const std::string& path = ctx_.paths[entry];
  auto job = std::make_shared<CFileJob>();
  if (ctx_.write[entry]) {
    // Opening it again while the writer still fills it would mix the two files' bytes.
    if (ctx_.drainFirst[entry] && !pipeline_.Drain().ok()) return Status::Ok();
    VX7Z_TRY(ctx_.fs->CreateDirectories(ParentOfCleanPath(path)));
    VX7Z_TRY(ctx_.fs->CreateOutFile(path, job->out));
  }
  job->meta = MetaOf(item);
  job->name = item.name;
  job->crcDefined = item.crcDefined;
  job->expectedCrc = item.crc;
  uint64_t left = item.size;
  do {
    size_t room = 0;
    uint8_t* dst = pipeline_.Reserve(left < SIZE_MAX ? size_t(left) : SIZE_MAX, room);
    if (!dst) return Status::Ok();  // the writer failed; Finish reports why
    if (ctx_.stop.load(std::memory_order_relaxed)) {
      job->aborted = true;  // closed with what it has; the failing lane reports
      pipeline_.Commit(job, 0, true);
      return Status::Ok();
    }
    size_t got = 0;
    if (left > 0) {
      Status st = src.Read(dst, room, got);
      if (st.ok() && got == 0) st = Status::Corrupt("data of \"" + item.name + "\" ends early");
      if (!st.ok()) {
        job->aborted = true;
        pipeline_.Commit(job, 0, true);
        return st;
      }
      if (folderCrcNeeded_) folderCrc_ = Crc32Update(folderCrc_, dst, got);
    }
    left -= got;
    pipeline_.Commit(job, got, left == 0);
  } while (left > 0);
  return Status::Ok();
}

}  // namespace vx7z
