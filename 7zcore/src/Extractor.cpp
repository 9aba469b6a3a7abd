#include "Extractor.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "Crc32.h"
#include "FolderDecoder.h"
#include "PathClean.h"
#include "WritePipeline.h"

namespace vx7z {
namespace {

CItemMeta MetaOf(const CFileItem& f) {
  CItemMeta m;
  m.mtimeDefined = f.mtimeDefined;
  m.mtime = f.mtime;
  m.attribDefined = f.attribDefined;
  m.attrib = f.attrib;
  return m;
}

std::string ParentOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

class CExtraction {
 public:
  CExtraction(IInFile& archive, IFileSystem* fs, const CExtractOptions& options)
      : archive_(archive), fs_(fs), options_(options) {}
  Status Run();

 private:
  Status NextSubstream();
  Status WriteEntry(const CFileItem& item, const std::string& path, bool write);
  Status CheckFolderEnd();
  Status Decode();

  IInFile& archive_;
  IFileSystem* fs_;
  const CExtractOptions& options_;
  CArchiveDb db_;
  std::unique_ptr<CProgress> progress_;
  std::unique_ptr<CWritePipeline> pipeline_;
  std::unique_ptr<CFolderDecoder> decoder_;
  size_t folder_ = 0;              // folder the decoder reads (valid while decoder_ is set)
  uint64_t substreamsLeft_ = 0;    // substreams of that folder still to read
  bool folderCrcNeeded_ = false;   // several substreams share one folder CRC
  uint32_t folderCrc_ = 0;
  size_t nextFolder_ = 0;
  std::vector<size_t> dirs_;          // entries whose folder times and attributes are set at the end
  std::vector<std::string> paths_;    // cleaned name of each entry
};

Status CExtraction::NextSubstream() {
  while (!decoder_ || substreamsLeft_ == 0) {
    decoder_.reset();  // frees the previous dictionary before the next is allocated
    while (nextFolder_ < db_.folders.size() && db_.folders[nextFolder_].numSubstreams == 0) ++nextFolder_;
    if (nextFolder_ >= db_.folders.size()) return Status::Corrupt("more files with data than folders hold");
    folder_ = nextFolder_++;
    const CFolder& f = db_.folders[folder_];
    decoder_.reset(new CFolderDecoder);
    VX7Z_TRY(decoder_->Init(archive_, db_, folder_, options_.limits, options_.helperThreads));
    substreamsLeft_ = f.numSubstreams;
    folderCrcNeeded_ = f.crcDefined && f.numSubstreams > 1;
    folderCrc_ = 0;
  }
  --substreamsLeft_;
  return Status::Ok();
}

Status CExtraction::CheckFolderEnd() {
  if (!decoder_ || substreamsLeft_ != 0) return Status::Ok();
  // The decoder must end with the last file: this reads LZMA2's end byte, among others.
  uint8_t extra[16];
  size_t got = 0;
  VX7Z_TRY(decoder_->Output().Read(extra, sizeof extra, got));
  if (got != 0) return Status::Corrupt("folder " + std::to_string(folder_) + " holds more data than its files");
  if (folderCrcNeeded_ && folderCrc_ != db_.folders[folder_].crc)
    return Status::Corrupt("CRC mismatch in folder " + std::to_string(folder_));
  decoder_.reset();
  return Status::Ok();
}

Status CExtraction::WriteEntry(const CFileItem& item, const std::string& path, bool write) {
  VX7Z_TRY(NextSubstream());
  auto job = std::make_shared<CFileJob>();
  if (write) {
    VX7Z_TRY(fs_->CreateDirectories(ParentOf(path)));
    VX7Z_TRY(fs_->CreateOutFile(path, job->out));
  }
  job->meta = MetaOf(item);
  job->name = item.name;
  job->crcDefined = item.crcDefined;
  job->expectedCrc = item.crc;
  uint64_t left = item.size;
  IByteSource& src = decoder_->Output();
  do {
    size_t room = 0;
    uint8_t* dst = pipeline_->Reserve(left < SIZE_MAX ? size_t(left) : SIZE_MAX, room);
    if (!dst) return Status::Ok();  // the writer failed; Drain reports why
    size_t got = 0;
    if (left > 0) {
      Status st = src.Read(dst, room, got);
      if (st.ok() && got == 0) st = Status::Corrupt("data of \"" + item.name + "\" ends early");
      if (!st.ok()) {
        job->aborted = true;
        pipeline_->Commit(job, 0, true);  // closes the file with what it has
        return st;
      }
      if (folderCrcNeeded_) folderCrc_ = Crc32Update(folderCrc_, dst, got);
    }
    left -= got;
    pipeline_->Commit(job, got, left == 0);
  } while (left > 0);
  return CheckFolderEnd();
}

Status CExtraction::Run() {
  VX7Z_TRY(ReadArchive(archive_, options_.limits, db_));
  progress_.reset(new CProgress(options_.onProgress, TotalUnpackedSize(db_)));
  pipeline_.reset(new CWritePipeline(*progress_, options_.helperThreads));
  Status st = Decode();
  Status written = pipeline_->Drain();
  pipeline_.reset();
  VX7Z_TRY(written);
  VX7Z_TRY(st);
  // Inner folders first ("a/b" sorts before "a"), so a read-only parent is set last.
  std::sort(dirs_.begin(), dirs_.end(), [&](size_t a, size_t b) { return paths_[a] > paths_[b]; });
  for (size_t d : dirs_) VX7Z_TRY(fs_->SetDirectoryMeta(paths_[d], MetaOf(db_.files[d])));
  progress_->Finish();
  return Status::Ok();
}

Status CExtraction::Decode() {
  if (fs_) VX7Z_TRY(fs_->CreateDirectories(std::string()));
  std::vector<size_t>& dirs = dirs_;
  std::vector<std::string>& paths = paths_;
  paths.resize(db_.files.size());
  for (size_t i = 0; i < db_.files.size(); ++i) {
    const CFileItem& item = db_.files[i];
    paths[i] = CleanEntryName(item.name);
    const std::string& path = paths[i];
    // Anti-items would delete; links would point anywhere: neither is acted on.
    bool write = fs_ && !path.empty() && !item.isAnti && !IsSymlinkEntry(item);
    if (item.hasStream) {
      VX7Z_TRY(WriteEntry(item, path, write && !item.isDir));
      if (pipeline_->Failed()) return Status::Ok();
      continue;
    }
    if (!write) continue;
    if (item.isDir) {
      VX7Z_TRY(fs_->CreateDirectories(path));
      dirs.push_back(i);
    } else {
      VX7Z_TRY(fs_->CreateDirectories(ParentOf(path)));
      std::unique_ptr<IOutFile> out;
      VX7Z_TRY(fs_->CreateOutFile(path, out));
      VX7Z_TRY(out->Finish(MetaOf(item)));
    }
  }
  decoder_.reset();
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
