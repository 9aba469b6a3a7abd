// Windows layer: wide-character file API for the archive and the destination, FILETIME
// and attributes applied after the data, reparse points in the destination not followed.
#include <windows.h>

#include <string>

#include "PlatformIo.h"
#include "WinPaths.h"

namespace vx7z {
namespace {

Status LastError(const std::string& what, const std::wstring& path) {
  DWORD err = GetLastError();
  return Status::Io(what + " \"" + WideToUtf8(path) + "\": error " + std::to_string(err));
}

class CWinInFile : public IInFile {
 public:
  CWinInFile(HANDLE h, uint64_t size) : h_(h), size_(size) {}
  ~CWinInFile() override { CloseHandle(h_); }
  uint64_t Size() const override { return size_; }
  Status ReadAt(uint64_t offset, void* buffer, size_t size) override {
    if (offset > size_ || size > size_ - offset) return Status::Corrupt("read past the end of the archive");
    uint8_t* p = static_cast<uint8_t*>(buffer);
    while (size > 0) {
      // Positioned reads through OVERLAPPED offsets on a synchronous handle.
      OVERLAPPED ov = {};
      ov.Offset = DWORD(offset);
      ov.OffsetHigh = DWORD(offset >> 32);
      DWORD want = size > (1u << 30) ? (1u << 30) : DWORD(size), got = 0;
      if (!ReadFile(h_, p, want, &got, &ov)) return Status::Io("reading the archive: error " + std::to_string(GetLastError()));
      if (got == 0) return Status::Io("the archive became shorter while reading");
      p += got;
      size -= got;
      offset += got;
    }
    return Status::Ok();
  }

 private:
  HANDLE h_;
  uint64_t size_;
};

FILETIME ToFileTime(uint64_t t) {
  FILETIME ft;
  ft.dwLowDateTime = DWORD(t);
  ft.dwHighDateTime = DWORD(t >> 32);
  return ft;
}

// The attribute bits we carry over; everything else (directory, reparse, compression) is not ours to set.
DWORD SettableAttributes(const CItemMeta& m) {
  if (!m.attribDefined) return 0;
  return m.attrib & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
}

class CWinOutFile : public IOutFile {
 public:
  CWinOutFile(HANDLE h, std::wstring path) : h_(h), path_(std::move(path)) {}
  ~CWinOutFile() override {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  Status Write(const uint8_t* data, size_t size) override {
    while (size > 0) {
      DWORD want = size > (1u << 30) ? (1u << 30) : DWORD(size), done = 0;
      if (!WriteFile(h_, data, want, &done, nullptr) || done == 0) return LastError("writing", path_);
      data += done;
      size -= done;
    }
    return Status::Ok();
  }
  Status Finish(const CItemMeta& meta) override {
    Status st;
    if (meta.mtimeDefined) {
      FILETIME ft = ToFileTime(meta.mtime);
      if (!SetFileTime(h_, nullptr, nullptr, &ft)) st = LastError("setting the time of", path_);
    }
    if (!CloseHandle(h_) && st.ok()) st = LastError("closing", path_);
    h_ = INVALID_HANDLE_VALUE;
    DWORD attr = SettableAttributes(meta);
    if (attr && !SetFileAttributesW(path_.c_str(), attr) && st.ok()) st = LastError("setting attributes of", path_);
    return st;
  }

 private:
  HANDLE h_;
  std::wstring path_;
};

class CWinFileSystem : public IFileSystem {
 public:
  explicit CWinFileSystem(std::wstring root) : root_(std::move(root)) {}

  Status CreateDirectories(const std::string& rel) override {
    std::wstring path = root_;
    std::wstring wrel = Utf8ToWide(rel);
    size_t start = 0;
    while (start < wrel.size()) {
      size_t end = wrel.find(L'/', start);
      if (end == std::wstring::npos) end = wrel.size();
      path += L'\\';
      path.append(wrel, start, end - start);
      start = end + 1;
      if (CreateDirectoryW(path.c_str(), nullptr)) continue;
      DWORD err = GetLastError();
      DWORD attr = GetFileAttributesW(path.c_str());
      if (err != ERROR_ALREADY_EXISTS && attr == INVALID_FILE_ATTRIBUTES) return LastError("creating the folder", path);
      if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY) || (attr & FILE_ATTRIBUTE_REPARSE_POINT))
        return Status::Io("\"" + WideToUtf8(path) + "\" exists and is not a plain folder");
    }
    return Status::Ok();
  }

  Status CreateOutFile(const std::string& rel, std::unique_ptr<IOutFile>& file) override {
    std::wstring path = root_ + L'\\' + Utf8ToWide(rel);
    for (wchar_t& c : path)
      if (c == L'/') c = L'\\';
    DWORD attr = GetFileAttributesW(path.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_REPARSE_POINT)) {
      // A link left in the destination: remove the link itself, never write through it.
      if (!DeleteFileW(path.c_str())) return LastError("replacing the link", path);
    } else if (attr != INVALID_FILE_ATTRIBUTES && (attr & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) {
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // CREATE_ALWAYS refuses these
    }
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return LastError("creating", path);
    file.reset(new CWinOutFile(h, path));
    return Status::Ok();
  }

  Status SetDirectoryMeta(const std::string& rel, const CItemMeta& meta) override {
    std::wstring path = root_ + L'\\' + Utf8ToWide(rel);
    for (wchar_t& c : path)
      if (c == L'/') c = L'\\';
    if (meta.mtimeDefined) {
      HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
      if (h == INVALID_HANDLE_VALUE) return LastError("opening the folder", path);
      FILETIME ft = ToFileTime(meta.mtime);
      BOOL ok = SetFileTime(h, nullptr, nullptr, &ft);
      CloseHandle(h);
      if (!ok) return LastError("setting the time of", path);
    }
    DWORD attr = SettableAttributes(meta);
    if (attr && !SetFileAttributesW(path.c_str(), attr | FILE_ATTRIBUTE_DIRECTORY)) return LastError("setting attributes of", path);
    return Status::Ok();
  }

 private:
  std::wstring root_;  // absolute, with the \\?\ prefix when it is a drive or UNC path
};

}  // namespace

Status OpenArchiveFileW(const std::wstring& path, std::unique_ptr<IInFile>& file) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return LastError("opening the archive", path);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(h, &size)) {
    CloseHandle(h);
    return LastError("reading the size of", path);
  }
  file.reset(new CWinInFile(h, uint64_t(size.QuadPart)));
  return Status::Ok();
}

Status OpenDestinationW(const std::wstring& dir, std::unique_ptr<IFileSystem>& fs) {
  if (dir.empty()) return Status::BadArgument("empty destination folder");
  std::wstring root = LongPathOf(dir);
  while (!root.empty() && (root.back() == L'\\' || root.back() == L'/')) root.pop_back();
  // Create the destination and its parents when missing (from the first component past the root).
  for (size_t at = 0; at <= root.size(); ++at) {
    if (at != root.size() && root[at] != L'\\') continue;
    std::wstring part = root.substr(0, at);
    DWORD attr = GetFileAttributesW(part.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES) continue;
    CreateDirectoryW(part.c_str(), nullptr);
  }
  DWORD attr = GetFileAttributesW(root.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY)) return LastError("opening the folder", root);
  fs.reset(new CWinFileSystem(root));
  return Status::Ok();
}

Status OpenArchiveFile(const std::string& path, std::unique_ptr<IInFile>& file) {
  return OpenArchiveFileW(LongPathOf(Utf8ToWide(path)), file);
}

Status OpenDestination(const std::string& dir, std::unique_ptr<IFileSystem>& fs) {
  return OpenDestinationW(Utf8ToWide(dir), fs);
}

std::wstring Utf8ToWide(const std::string& s) {
  if (s.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring w(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), &w[0], n);
  return w;
}

std::string WideToUtf8(const std::wstring& w) {
  if (w.empty()) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(size_t(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}

std::wstring LongPathOf(const std::wstring& path) {
  if (path.compare(0, 4, L"\\\\?\\") == 0) return path;
  DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(path.c_str(), n, &full[0], nullptr);
  full.resize(n);
  // The \\?\ form lifts the 260-character limit; it needs a full, normalised path.
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
  if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return full;
}

}  // namespace vx7z
