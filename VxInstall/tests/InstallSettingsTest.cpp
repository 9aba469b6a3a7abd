#include "InstallSettings.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace {

std::wstring ProgramFiles()
{
    wchar_t buffer[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_PROGRAM_FILES, FALSE);
    return buffer;
}

} // namespace

// Runs first in a fresh prefix: nothing may have touched the settings before.
TEST(InstallSettings, FirstUseCreatesTheDefaultBaseFolderOnce)
{
    std::wstring expected = ProgramFiles() + L"\\Kestvane";
    ASSERT_FALSE(IsDirectory(expected)) << "the prefix is not fresh";

    CVXInstallSettings* seen[4] = {};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) threads.emplace_back([&seen, i] { seen[i] = &GetInstallSettings(); });
    for (std::thread& t : threads) t.join();
    for (int i = 1; i < 4; ++i) EXPECT_EQ(seen[0], seen[i]);

    CVXInstallSettings& s = GetInstallSettings();
    EXPECT_EQ(expected, std::wstring(s.baseDir.data()));
    EXPECT_TRUE(IsDirectory(expected));
    EXPECT_TRUE(s.desktopShortcut);
    EXPECT_TRUE(s.taskbar);
    EXPECT_EQ(0, s.done.load());
    EXPECT_EQ(INT64_MAX, s.total.load());
    EXPECT_EQ(expected + L"\\Kestvane", std::wstring(GetInstallDir().data()));

    // Choosing another base folder leaves the default one in place.
    CUIString saved = s.baseDir;
    s.baseDir = L"D:\\Games";
    EXPECT_STREQ(L"D:\\Games\\Kestvane", GetInstallDir().data());
    s.baseDir = saved;
    EXPECT_TRUE(IsDirectory(expected));
}

TEST(InstallSettings, InstallFolderJoinsAsItIs)
{
    EXPECT_STREQ(L"D:\\Games\\Kestvane", InstallDirFor(L"D:\\Games").data());
    EXPECT_STREQ(L"D:\\\\Kestvane", InstallDirFor(L"D:\\").data());
}

TEST(InstallPaths, ModuleDirIsTheExecutablesFolder)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path);
    std::wstring dir = full.substr(0, full.rfind(L'\\'));
    EXPECT_EQ(dir, std::wstring(GetModuleDir().data()));
    EXPECT_EQ(dir + L"\\vx.7z", std::wstring((GetModuleDir() + L"\\vx.7z").data()));
}

TEST(InstallPaths, LogFolderUnderLocalAppData)
{
    wchar_t local[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, local, CSIDL_LOCAL_APPDATA, FALSE);
    EXPECT_EQ(std::wstring(local) + L"\\Kestvane\\data\\Kestvanelog", std::wstring(GetLogDir().data()));
    EXPECT_STREQ(L"", GetSpecialFolder(-1).data());  // an unknown folder is the empty text
}

TEST(CreateDirectories, CreatesEveryLevelWithOrWithoutTrailingSeparator)
{
    std::wstring root = MakeTestFolder(L"mkdirs");
    struct Case
    {
        std::wstring path;
        std::wstring deepest;
    } cases[] = {
        {root + L"\\a\\b\\c", root + L"\\a\\b\\c"},
        {root + L"\\d\\e\\", root + L"\\d\\e"},
        {root + L"/f/g/", root + L"\\f\\g"},
        {root + L"\\安装\\目录", root + L"\\安装\\目录"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(0, CreateDirectories(c.path.c_str()));
        EXPECT_TRUE(IsDirectory(c.deepest)) << std::string(c.deepest.begin(), c.deepest.end());
    }
    // Running again over existing folders changes nothing and still succeeds.
    EXPECT_EQ(0, CreateDirectories(cases[0].path.c_str()));
}

TEST(CreateDirectories, AFileInTheWayStopsTheDeeperLevels)
{
    std::wstring root = MakeTestFolder(L"mkdirs-file");
    ASSERT_TRUE(WriteTextFile(root + L"\\blocker", "x"));
    EXPECT_EQ(0, CreateDirectories((root + L"\\blocker\\inner\\deeper").c_str()));
    EXPECT_TRUE(IsFile(root + L"\\blocker"));
    EXPECT_FALSE(IsDirectory(root + L"\\blocker\\inner"));
}

TEST(CreateDirectories, PathsPastMaxPathAreNeverCutIntoWrongNames)
{
    std::wstring root = MakeTestFolder(L"mkdirs-long");
    std::wstring path = root;
    std::vector<std::wstring> levels;
    while (path.size() < 400)
    {
        path += L"\\level" + std::to_wstring(levels.size()) + L"_" + std::wstring(20, L'x');
        levels.push_back(path);
    }
    EXPECT_EQ(0, CreateDirectories(path.c_str()));
    // Levels that fit exist with their full names; a level that does not fit is missing
    // rather than created under a cut name.
    for (const std::wstring& level : levels)
    {
        if (level.size() < 248)
        {
            EXPECT_TRUE(IsDirectory(level));
        }
    }
    WIN32_FIND_DATAW data;
    std::wstring deepestFit;
    for (const std::wstring& level : levels)
        if (IsDirectory(level)) deepestFit = level;
    ASSERT_FALSE(deepestFit.empty());
    HANDLE find = FindFirstFileW((deepestFit + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
        {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = deepestFit + L"\\" + name;
            bool isLevel = false;
            for (const std::wstring& level : levels) isLevel = isLevel || level == child;
            EXPECT_TRUE(isLevel) << "a folder with a cut name was created";
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    EXPECT_EQ(0, CreateDirectories(nullptr));
    EXPECT_EQ(0, CreateDirectories(L""));
}

namespace {

// Stands in for GetModuleFileNameW for a program whose path is longer than MAX_PATH: it copies
// what fits into the buffer it is given, terminates it and reports a full buffer, as Windows does.
std::wstring g_long_path;
size_t g_largest_request = 0;
unsigned long LongModuleFileName(wchar_t* buffer, unsigned long size)
{
    g_largest_request = std::max<size_t>(g_largest_request, size);
    if (size == 0) return 0;
    size_t n = std::min<size_t>(g_long_path.size(), size - 1);
    std::copy(g_long_path.begin(), g_long_path.begin() + long(n), buffer);
    buffer[n] = L'\0';
    return n < g_long_path.size() ? size : (unsigned long)n;
}

} // namespace

TEST(InstallPaths, ModuleDirOfAProgramPastMaxPathIsWholeAndNothingOverflows)
{
    g_long_path = L"C:\\vxtest";
    while (g_long_path.size() < 700) g_long_path += L"\\" + std::wstring(50, L'd');
    std::wstring folder = g_long_path;
    g_long_path += L"\\OstrelSetup.exe";
    EXPECT_EQ(folder, std::wstring(ModuleDirFrom(&LongModuleFileName).data()));
    EXPECT_GT(g_largest_request, g_long_path.size());

    g_long_path = L"NoBackslash.exe";
    EXPECT_STREQ(L"", ModuleDirFrom(&LongModuleFileName).data());
}
