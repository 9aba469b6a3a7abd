// Small file-system helpers for the install core's tests (real folders on the Wine C: drive).
#pragma once

#include <string>

// A new, empty folder below C:\vxtest, unique to this run.
std::wstring MakeTestFolder(const wchar_t* tag);
bool IsDirectory(const std::wstring& path);
bool IsFile(const std::wstring& path);
bool WriteTextFile(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
