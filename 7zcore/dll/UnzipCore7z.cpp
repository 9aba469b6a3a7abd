// The export of 7zCore.dll: ANSI paths in, wide file API inside.
#include "UnzipCore7z.h"

#include <windows.h>

#include <string>

#include "../src/Extractor.h"
#include "../src/platform/WinPaths.h"

namespace {

// False when the text is not valid in the ANSI code page.
bool AnsiToWide(const char* s, std::wstring& out) {
  int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, s, -1, nullptr, 0);
  if (n <= 0) return false;
  out.assign(size_t(n), L'\0');
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, s, -1, &out[0], n) <= 0) return false;
  out.resize(size_t(n - 1));
  return true;
}

}  // namespace

bool UnzipCore7z(const char* archivePath, const char* destDir,
                 std::function<void(uint64_t done, uint64_t total)> onProgress) {
  if (!archivePath || !destDir || !*archivePath || !*destDir) return false;
  std::wstring archive, dest;
  if (!AnsiToWide(archivePath, archive) || !AnsiToWide(destDir, dest)) return false;
  std::unique_ptr<vx7z::IInFile> file;
  if (!vx7z::OpenArchiveFileW(vx7z::LongPathOf(archive), file).ok()) return false;
  std::unique_ptr<vx7z::IFileSystem> fs;
  if (!vx7z::OpenDestinationW(dest, fs).ok()) return false;
  vx7z::CExtractOptions options;
  options.onProgress = std::move(onProgress);
  return vx7z::ExtractArchive(*file, fs.get(), options).ok();
}
