// 7zCore.dll: extracts a 7z archive into a folder.
#pragma once

#include <cstdint>
#include <functional>

#if defined(_WIN32)
#if defined(VX7Z_BUILDING_DLL)
#define VX7Z_API __declspec(dllexport)
#else
#define VX7Z_API __declspec(dllimport)
#endif
#else
#define VX7Z_API
#endif

// archivePath and destDir are zero-terminated texts in the ANSI code page. Blocks until the
// archive is done. onProgress (may be empty) receives (done, total) in unpacked bytes from
// the calling thread; done never decreases, and done == total comes once, after success only.
// Returns false on any failure; files already written stay.
VX7Z_API bool UnzipCore7z(const char* archivePath, const char* destDir,
                          std::function<void(uint64_t done, uint64_t total)> onProgress);
