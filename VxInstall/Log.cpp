#include "Log.h"

#include "InstallSettings.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <ctime>
#include <cwchar>
#include <vector>

namespace {

const UINT kLogCodePage = 936;

// Characters that code page 936 lacks become its default character; the line is kept.
std::string ToCodePage936(const wchar_t* text)
{
    if (text == nullptr || text[0] == L'\0') return std::string();
    int n = WideCharToMultiByte(kLogCodePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::vector<char> buffer(size_t(n), '\0');
    WideCharToMultiByte(kLogCodePage, 0, text, -1, buffer.data(), n, nullptr, nullptr);
    return std::string(buffer.data());
}

CUIString TimeStamp()
{
    wchar_t buffer[128] = {};
    __time64_t now = _time64(nullptr);
    struct tm* local = _localtime64(&now);
    if (local == nullptr || wcsftime(buffer, 128, L"[%Y-%m-%d %X]", local) == 0) return CUIString();
    return CUIString(buffer);
}

} // namespace

std::string FormatLogLine(const wchar_t* stamp, const wchar_t* message)
{
    std::string line = ToCodePage936(stamp);
    line += " - ";
    line += ToCodePage936(message);
    line += "\r\n";
    return line;
}

CUIString GetLogFilePath()
{
    CUIString folder = GetLogDir();
    if (!PathIsDirectoryW(folder)) CreateDirectories(folder);
    return folder + L"\\ll.log";
}

void WriteLog(const CUIString& message)
{
    CUIString stamp = TimeStamp();

    // The console copy; a GUI process has no console and loses it, as intended.
    fwprintf(stdout, L"%ls %ls\n", stamp.data(), message.data());
    fflush(stdout);

    // Appended with read and write sharing, so support can read the log while we run.
    CUIString path = GetLogFilePath();
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string line = FormatLogLine(stamp, message);
    DWORD written = 0;
    WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
    CloseHandle(file);
}
