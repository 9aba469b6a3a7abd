// The destination as the extractor sees it: relative, already cleaned paths with '/'.
// The Windows and POSIX layers implement it; nothing here knows the platform.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Status.h"

namespace vx7z {

struct CItemMeta {
  bool mtimeDefined = false;
  uint64_t mtime = 0;  // FILETIME
  bool attribDefined = false;
  uint32_t attrib = 0;  // Windows attributes, POSIX mode in the high half with 0x8000
};

class IOutFile {
 public:
  virtual ~IOutFile() = default;
  virtual Status Write(const uint8_t* data, size_t size) = 0;
  // Sets time and attributes and closes; a failed close is an I/O error.
  virtual Status Finish(const CItemMeta& meta) = 0;
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  // Creates the folder and its parents below the destination; existing links are not followed.
  virtual Status CreateDirectories(const std::string& relPath) = 0;
  // Creates or truncates a file whose parent folder exists.
  virtual Status CreateOutFile(const std::string& relPath, std::unique_ptr<IOutFile>& file) = 0;
  virtual Status SetDirectoryMeta(const std::string& relPath, const CItemMeta& meta) = 0;
};

}  // namespace vx7z
