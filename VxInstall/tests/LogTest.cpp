#include "Log.h"

#include "InstallSettings.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <string>
#include <thread>

namespace {

std::string LogBytes() { return ReadFileBytes(GetLogDir().data() + std::wstring(L"\\ll.log")); }

} // namespace

// Runs first in a fresh prefix.
TEST(Log, FirstLineCreatesTheFolderChainThenLinesAppendInOrder)
{
    std::wstring dir = GetLogDir().data();
    ASSERT_FALSE(IsDirectory(dir)) << "the prefix is not fresh";

    WriteLog(L"first");
    EXPECT_TRUE(IsDirectory(dir));
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    WriteLog(L"second");

    std::string bytes = LogBytes();
    std::regex two_lines(R"(\[(\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d)\] - first\r\n)"
                         R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\] - second\r\n)");
    EXPECT_TRUE(std::regex_match(bytes, two_lines)) << bytes;

    SYSTEMTIME now;
    GetLocalTime(&now);
    char year[8];
    snprintf(year, sizeof year, "[%04d-", now.wYear);
    EXPECT_EQ(0u, bytes.find(year));
}

TEST(Log, TextIsStoredInCodePage936AndAnEmptyMessageKeepsTheSeparator)
{
    std::string before = LogBytes();
    WriteLog(L"安装 CreateShortcut error.");
    WriteLog(L"");
    std::string added = LogBytes().substr(before.size());
    // "安装" is B0 B2 D7 B0 in code page 936.
    std::regex expected("\\[[^\\]]+\\] - \xB0\xB2\xD7\xB0 CreateShortcut error\\.\r\n\\[[^\\]]+\\] - \r\n");
    EXPECT_TRUE(std::regex_match(added, expected)) << added;
}

TEST(Log, CharactersOutsideTheCodePageDoNotLoseTheLine)
{
    std::string before = LogBytes();
    WriteLog(L"thai \u0E01 after");
    std::string added = LogBytes().substr(before.size());
    EXPECT_NE(std::string::npos, added.find(" - thai ? after\r\n")) << added;
}

TEST(Log, FileStaysReadableAndWritableByOthersWhileWeAppend)
{
    WriteLog(L"exists");
    std::wstring path = GetLogFilePath().data();
    // Another process holding the log open for reading and writing must not block us.
    HANDLE other = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    std::string before = LogBytes();
    WriteLog(L"while shared");
    CloseHandle(other);
    EXPECT_NE(std::string::npos, LogBytes().find(" - while shared\r\n", before.size()));
}
