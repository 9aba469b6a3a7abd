#include "Extractor.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_set>
#include <vector>

#include "FolderDecoder.h"
#include "FolderLane.h"
#include "PathClean.h"

namespace vx7z {
namespace {

// Names that may be one file on the destination: Windows ignores case, so letters are folded,
// and every byte of a non-ASCII character is made alike (a false match only costs a lane).
std::string CollisionKey(const std::string& path) {
  std::string key = path;
  for (char& c : key) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x80) c = char(0x80);
    else if (u >= 'A' && u <= 'Z') c = char(u - 'A' + 'a');
  }
  return key;
}

class CExtraction {
 public:
  CExtraction(IInFile& archive, IFileSystem* fs, const CExtractOptions& options)
      : archive_(archive), fs_(fs), options_(options) {}
  Status Run();

 private:
  Status PlanFolders();
  Status WriteEntriesWithoutData();
  unsigned LaneCount() const;
  Status DecodeFolders();

  IInFile& archive_;
  IFileSystem* fs_;
  const CExtractOptions& options_;
  CArchiveDb db_;
  std::unique_ptr<CProgress> progress_;
  std::vector<CFolderWork> work_;   // folders with files, in archive order
  std::vector<std::string> paths_;  // cleaned name of each entry
  std::vector<bool> write_;         // whether each entry is acted on
  std::vector<bool> drainFirst_;    // a file that may be one with an earlier file
  std::vector<size_t> dirs_;        // entries whose folder times and attributes are set at the end
};

// Files with data take the folders' substreams in order; folders without any are skipped.
Status CExtraction::PlanFolders() {
  size_t next = 0;
  for (size_t i = 0; i < db_.files.size(); ++i) {
    if (!db_.files[i].hasStream) continue;
    while (work_.empty() || work_.back().files.size() >= db_.folders[work_.back().folder].numSubstreams) {
      while (next < db_.folders.size() && db_.folders[next].numSubstreams == 0) ++next;
      if (next >= db_.folders.size()) return Status::Corrupt("more files with data than folders hold");
      work_.emplace_back();
      work_.back().folder = next++;
    }
    work_.back().files.push_back(i);
  }
  return Status::Ok();
}

Status CExtraction::WriteEntriesWithoutData() {
  if (fs_) VX7Z_TRY(fs_->CreateDirectories(std::string()));
  const size_t n = db_.files.size();
  paths_.resize(n);
  write_.assign(n, false);
  drainFirst_.assign(n, false);
  for (size_t i = 0; i < n; ++i) {
    const CFileItem& item = db_.files[i];
    paths_[i] = CleanEntryName(item.name);
    // Anti-items would delete; links would point anywhere: neither is acted on.
    write_[i] = fs_ && !paths_[i].empty() && !item.isAnti && !IsSymlinkEntry(item) && !(item.hasStream && item.isDir);
  }
  // Of files with one name the last is written; the others are still decoded and checked.
  std::unordered_set<std::string> later, alike;
  for (size_t i = n; i-- > 0;) {
    if (!write_[i] || db_.files[i].isDir) continue;
    if (!later.insert(paths_[i]).second) write_[i] = false;
  }
  // Names that differ only in ways Windows may ignore can still be one file: such a file waits
  // until what was queued before it is written.
  for (size_t i = 0; i < n; ++i) {
    if (!write_[i] || db_.files[i].isDir) continue;
    if (!alike.insert(CollisionKey(paths_[i])).second) drainFirst_[i] = true;
  }
  for (size_t i = 0; i < n; ++i) {
    const CFileItem& item = db_.files[i];
    if (item.hasStream || !write_[i]) continue;
    const std::string& path = paths_[i];
    if (item.isDir) {
      VX7Z_TRY(fs_->CreateDirectories(path));
      dirs_.push_back(i);
    } else {
      VX7Z_TRY(fs_->CreateDirectories(ParentOfCleanPath(path)));
      std::unique_ptr<IOutFile> out;
      VX7Z_TRY(fs_->CreateOutFile(path, out));
      VX7Z_TRY(out->Finish(MetaOf(item)));
    }
  }
  return Status::Ok();
}

// A second lane decodes folders from the back while the first works from the front, when
// there are cores for it, no two files written may be one file (their order would be lost),
// and every folder fits in half the memory budget.
unsigned CExtraction::LaneCount() const {
  if (!options_.helperThreads || work_.size() < 2) return 1;
  unsigned lanes = options_.folderLanes ? options_.folderLanes : std::thread::hardware_concurrency();
  if (lanes < 2) return 1;
  const uint64_t share = options_.limits.memoryLimit / 2;
  for (bool wait : drainFirst_)
    if (wait) return 1;
  for (const CFolderWork& w : work_)
    if (CFolderDecoder::SequentialMemory(db_.folders[w.folder], true) > share) return 1;
  return 2;
}

Status CExtraction::DecodeFolders() {
  const unsigned lanes = LaneCount();
  std::atomic<bool> stop{false};
  CLaneContext context{archive_, fs_, db_, paths_, write_, drainFirst_, options_.limits, options_.helperThreads, *progress_, stop};
  context.limits.memoryLimit /= lanes;
  std::mutex claim;
  size_t front = 0, back = work_.size();  // folders [front, back) are still to be taken

  auto runLane = [&](bool fromBack) {
    CFolderLane lane(context);
    Status st;
    for (;;) {
      size_t k;
      {
        std::lock_guard<std::mutex> lock(claim);
        if (front >= back || stop.load()) break;
        k = fromBack ? --back : front++;
      }
      st = lane.Decode(work_[k]);
      if (!st.ok() || lane.WriterFailed()) break;
    }
    Status written = lane.Finish();
    Status result = written.ok() ? st : written;  // a failed write explains what followed it
    if (!result.ok()) stop.store(true);
    return result;
  };

  if (lanes == 1) return runLane(false);
  Status helper;
  std::thread second([&] { helper = runLane(true); });
  Status first = runLane(false);
  second.join();
  return first.ok() ? helper : first;
}

Status CExtraction::Run() {
  VX7Z_TRY(ReadArchive(archive_, options_.limits, db_));
  VX7Z_TRY(PlanFolders());
  progress_.reset(new CProgress(options_.onProgress, TotalUnpackedSize(db_)));
  VX7Z_TRY(WriteEntriesWithoutData());
  VX7Z_TRY(DecodeFolders());
  // Inner folders first ("a/b" sorts before "a"), so a read-only parent is set last.
  std::sort(dirs_.begin(), dirs_.end(), [&](size_t a, size_t b) { return paths_[a] > paths_[b]; });
  for (size_t d : dirs_) VX7Z_TRY(fs_->SetDirectoryMeta(paths_[d], MetaOf(db_.files[d])));
  progress_->Finish();
  return Status::Ok();
}

}  // namespace

uint64_t TotalUnpackedSize(const CArchiveDb& db) {
  uint64_t total = 0;
  for (const CFileItem& f : db.files)
    if (f.hasStream) total += f.size;
  return total;
}

Status ExtractArchive(IInFile& archive, IFileSystem* fs, const CExtractOptions& options) {
  CExtraction extraction(archive, fs, options);
  return extraction.Run();
}

}  // namespace vx7z
