// POSIX layer: pread for the archive, openat-free plain paths for the destination with
// O_NOFOLLOW and lstat checks so that links already in the destination are not followed.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "PlatformIo.h"

namespace vx7z {
namespace {

Status Errno(const std::string& what, const std::string& path) {
  return Status::Io(what + " \"" + path + "\": " + std::strerror(errno));
}

class CPosixInFile : public IInFile {
 public:
  CPosixInFile(int fd, uint64_t size) : fd_(fd), size_(size) {}
  ~CPosixInFile() override { close(fd_); }
  uint64_t Size() const override { return size_; }
  Status ReadAt(uint64_t offset, void* buffer, size_t size) override {
    if (offset > size_ || size > size_ - offset) return Status::Corrupt("read past the end of the archive");
    uint8_t* p = static_cast<uint8_t*>(buffer);
    while (size > 0) {
      ssize_t n = pread(fd_, p, size, off_t(offset));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return Status::Io(std::string("reading the archive: ") + std::strerror(errno));
      if (n == 0) return Status::Io("the archive became shorter while reading");
      p += n;
      size -= size_t(n);
      offset += uint64_t(n);
    }
    return Status::Ok();
  }

 private:
  int fd_;
  uint64_t size_;
};

struct timespec ToTimespec(uint64_t filetime) {
  const uint64_t kEpochDiff = 116444736000000000ull;  // 1601 to 1970 in 100 ns
  struct timespec ts;
  int64_t t = int64_t(filetime - kEpochDiff);
  int64_t sec = t / 10000000, rem = t % 10000000;
  if (rem < 0) {
    rem += 10000000;
    --sec;
  }
  ts.tv_sec = time_t(sec);
  ts.tv_nsec = long(rem * 100);
  return ts;
}

// Permission bits to apply, or -1 to leave the default.
int ModeFor(const CItemMeta& m, bool dir) {
  if (!m.attribDefined) return -1;
  if (m.attrib & 0x8000) return int((m.attrib >> 16) & 0777);
  if (m.attrib & 0x01) return dir ? 0555 : 0444;
  return -1;
}

class CPosixOutFile : public IOutFile {
 public:
  CPosixOutFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~CPosixOutFile() override {
    if (fd_ >= 0) close(fd_);
  }
  Status Write(const uint8_t* data, size_t size) override {
    while (size > 0) {
      ssize_t n = write(fd_, data, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return Errno("writing", path_);
      data += n;
      size -= size_t(n);
    }
    return Status::Ok();
  }
  Status Finish(const CItemMeta& meta) override {
    Status st;
    if (meta.mtimeDefined) {
      struct timespec ts[2];
      ts[0].tv_sec = 0;
      ts[0].tv_nsec = UTIME_OMIT;
      ts[1] = ToTimespec(meta.mtime);
      if (futimens(fd_, ts) != 0) st = Errno("setting the time of", path_);
    }
    int mode = ModeFor(meta, false);
    if (mode >= 0 && fchmod(fd_, mode_t(mode)) != 0 && st.ok()) st = Errno("setting the mode of", path_);
    if (close(fd_) != 0 && st.ok()) st = Errno("closing", path_);
    fd_ = -1;
    return st;
  }

 private:
  int fd_;
  std::string path_;
};

class CPosixFileSystem : public IFileSystem {
 public:
  explicit CPosixFileSystem(std::string root) : root_(std::move(root)) {}

  Status CreateDirectories(const std::string& rel) override {
    std::string path = root_;
    size_t start = 0;
    while (start < rel.size()) {
      size_t end = rel.find('/', start);
      if (end == std::string::npos) end = rel.size();
      path += '/';
      path.append(rel, start, end - start);
      start = end + 1;
      if (mkdir(path.c_str(), 0777) == 0) continue;
      if (errno != EEXIST) return Errno("creating the folder", path);
      struct stat st;
      if (lstat(path.c_str(), &st) != 0) return Errno("inspecting", path);
      if (!S_ISDIR(st.st_mode)) return Status::Io("\"" + path + "\" exists and is not a folder");
    }
    return Status::Ok();
  }

  Status CreateOutFile(const std::string& rel, std::unique_ptr<IOutFile>& file) override {
    std::string path = root_ + "/" + rel;
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && (errno == EACCES || errno == ELOOP)) {
      // A read-only file or a link from an earlier run: replace it, never write through it.
      struct stat st;
      if (lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && unlink(path.c_str()) == 0)
        fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    }
    if (fd < 0) return Errno("creating", path);
    file.reset(new CPosixOutFile(fd, path));
    return Status::Ok();
  }

  Status SetDirectoryMeta(const std::string& rel, const CItemMeta& meta) override {
    std::string path = root_ + "/" + rel;
    if (meta.mtimeDefined) {
      struct timespec ts[2];
      ts[0].tv_sec = 0;
      ts[0].tv_nsec = UTIME_OMIT;
      ts[1] = ToTimespec(meta.mtime);
      if (utimensat(AT_FDCWD, path.c_str(), ts, AT_SYMLINK_NOFOLLOW) != 0) return Errno("setting the time of", path);
    }
    int mode = ModeFor(meta, true);
    if (mode >= 0 && chmod(path.c_str(), mode_t(mode | 0700)) != 0) return Errno("setting the mode of", path);
    return Status::Ok();
  }

 private:
  std::string root_;
};

}  // namespace

Status OpenArchiveFile(const std::string& path, std::unique_ptr<IInFile>& file) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Errno("opening the archive", path);
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return Status::Io("\"" + path + "\" is not a readable file");
  }
  file.reset(new CPosixInFile(fd, uint64_t(st.st_size)));
  return Status::Ok();
}

Status OpenDestination(const std::string& dir, std::unique_ptr<IFileSystem>& fs) {
  if (dir.empty()) return Status::BadArgument("empty destination folder");
  std::string root = dir;
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  // Create the destination and its parents when missing.
  for (size_t at = 1; at <= root.size(); ++at) {
    if (at != root.size() && root[at] != '/') continue;
    std::string part = root.substr(0, at);
    if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return Errno("creating the folder", part);
  }
  struct stat st;
  if (stat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return Status::Io("\"" + root + "\" is not a folder");
  fs.reset(new CPosixFileSystem(root));
  return Status::Ok();
}

}  // namespace vx7z
