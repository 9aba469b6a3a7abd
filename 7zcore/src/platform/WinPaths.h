// Text and path conversions of the Windows layer.
#pragma once

#include <memory>
#include <string>

#include "../ByteSource.h"
#include "../FileSystem.h"

namespace vx7z {

std::wstring Utf8ToWide(const std::string& s);
std::string WideToUtf8(const std::wstring& w);
// Full path with the \\?\ prefix for drive and UNC paths.
std::wstring LongPathOf(const std::wstring& path);

Status OpenArchiveFileW(const std::wstring& path, std::unique_ptr<IInFile>& file);
Status OpenDestinationW(const std::wstring& dir, std::unique_ptr<IFileSystem>& fs);

}  // namespace vx7z
