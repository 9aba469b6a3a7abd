// The platform layer: opening the archive file and the destination folder.
// POSIX and Windows each implement these; paths are UTF-8.
#pragma once

#include <memory>
#include <string>

#include "../ByteSource.h"
#include "../FileSystem.h"

namespace vx7z {

Status OpenArchiveFile(const std::string& path, std::unique_ptr<IInFile>& file);
// The destination folder itself is created when missing.
Status OpenDestination(const std::string& dir, std::unique_ptr<IFileSystem>& fs);

}  // namespace vx7z
