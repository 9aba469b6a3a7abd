#include "Shortcuts.h"

#include "TestFolders.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

namespace {

struct LinkInfo
{
    bool loaded = false;
    std::wstring target, workingDir, description, iconPath;
    int iconIndex = -1;
};

// Reads a .lnk back through the shell, as Explorer would.
LinkInfo LoadLink(const std::wstring& path)
{
    LinkInfo info;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return info;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
    {
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)))
        {
            wchar_t buffer[1024];
            info.loaded = true;
            if (SUCCEEDED(link->GetPath(buffer, 1024, nullptr, SLGP_RAWPATH))) info.target = buffer;
            if (SUCCEEDED(link->GetWorkingDirectory(buffer, 1024))) info.workingDir = buffer;
            if (SUCCEEDED(link->GetDescription(buffer, 1024))) info.description = buffer;
            if (SUCCEEDED(link->GetIconLocation(buffer, 1024, &info.iconIndex))) info.iconPath = buffer;
        }
        file->Release();
    }
    link->Release();
    return info;
}

std::wstring CommonPrograms()
{
    wchar_t buffer[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_COMMON_PROGRAMS, FALSE);
    return buffer;
}

class Shortcuts : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

// A small product folder with real files, as the extraction leaves it.
std::wstring FakeInstall(const wchar_t* tag)
{
    std::wstring dir = MakeTestFolder(tag) + L"\\Kestvane";
    CreateDirectoryW(dir.c_str(), nullptr);
    WriteTextFile(dir + L"\\VXApp.exe", "MZ");
    WriteTextFile(dir + L"\\VXUnInstall.exe", "MZ");
    return dir;
}

} // namespace

TEST_F(Shortcuts, DesktopFolderIsInsideThePrefixAndTheLinkReadsBack)
{
    std::wstring desktop = GetDesktopDirectory().data();
    ASSERT_FALSE(desktop.empty());
    EXPECT_NE(L'\\', desktop.back());
    EXPECT_TRUE(IsDirectory(desktop));

    std::wstring dir = FakeInstall(L"desk");
    std::wstring target = dir + L"\\VXApp.exe";
    std::wstring link = desktop + L"\\Ostrel.lnk";
    ASSERT_TRUE(CreateShortcut(target.c_str(), dir.c_str(), L"Ostrel", target.c_str(), 0, link.c_str()));
    LinkInfo info = LoadLink(link);
    ASSERT_TRUE(info.loaded);
    EXPECT_EQ(target, info.target);
    EXPECT_EQ(dir, info.workingDir);
    EXPECT_EQ(L"Ostrel", info.description);
    EXPECT_EQ(0, info.iconIndex);
    // The icon is stored in its short form when the file system has one: it names the same file.
    wchar_t longIcon[MAX_PATH] = {};
    GetLongPathNameW(info.iconPath.c_str(), longIcon, MAX_PATH);
    EXPECT_EQ(0, _wcsicmp(target.c_str(), longIcon));

    // A second install elsewhere replaces the link.
    std::wstring dir2 = FakeInstall(L"desk2");
    std::wstring target2 = dir2 + L"\\VXApp.exe";
    ASSERT_TRUE(CreateShortcut(target2.c_str(), dir2.c_str(), L"Ostrel", target2.c_str(), 0, link.c_str()));
    EXPECT_EQ(target2, LoadLink(link).target);
}

TEST_F(Shortcuts, MissingIconFileKeepsTheLongIconPath)
{
    std::wstring dir = MakeTestFolder(L"noicon");
    std::wstring icon = dir + L"\\does not exist\\VXApp.exe";
    std::wstring link = dir + L"\\x.lnk";
    ASSERT_TRUE(CreateShortcut(icon.c_str(), dir.c_str(), L"Ostrel", icon.c_str(), 0, link.c_str()));
    EXPECT_EQ(icon, LoadLink(link).iconPath);
}

TEST_F(Shortcuts, SaveIntoAMissingFolderFails)
{
    std::wstring dir = MakeTestFolder(L"nofolder");
    std::wstring link = dir + L"\\missing\\x.lnk";
    EXPECT_FALSE(CreateShortcut(L"C:\\x.exe", dir.c_str(), L"Ostrel", L"C:\\x.exe", 0, link.c_str()));
    EXPECT_FALSE(IsFile(link));
}

TEST_F(Shortcuts, ProgramsFolderHoldsBothLinks)
{
    std::wstring dir = FakeInstall(L"menu");
    std::wstring app = dir + L"\\VXApp.exe";
    std::wstring uninstaller = dir + L"\\VXUnInstall.exe";
    std::wstring folder = CommonPrograms() + L"\\Ostrel";
    ASSERT_FALSE(IsDirectory(folder)) << "the prefix is not fresh";

    CreateProgramsShortcuts(app.c_str(), uninstaller.c_str(), dir.c_str(), L"Ostrel");
    ASSERT_TRUE(IsDirectory(folder));
    LinkInfo product = LoadLink(folder + L"\\Ostrel.lnk");
    LinkInfo remover = LoadLink(folder + L"\\卸载Ostrel.lnk");
    ASSERT_TRUE(product.loaded);
    ASSERT_TRUE(remover.loaded);
    EXPECT_EQ(app, product.target);
    EXPECT_EQ(uninstaller, remover.target);
    EXPECT_EQ(dir, product.workingDir);
    EXPECT_EQ(dir, remover.workingDir);
    EXPECT_EQ(L"Ostrel", product.description);
    EXPECT_EQ(L"Ostrel", remover.description);  // the product name, not the file name

    // Reusing the existing folder for a second install.
    std::wstring dir2 = FakeInstall(L"menu2");
    CreateProgramsShortcuts((dir2 + L"\\VXApp.exe").c_str(), (dir2 + L"\\VXUnInstall.exe").c_str(),
                            dir2.c_str(), L"Ostrel");
    EXPECT_EQ(dir2 + L"\\VXApp.exe", LoadLink(folder + L"\\Ostrel.lnk").target);
    EXPECT_EQ(dir2 + L"\\VXUnInstall.exe", LoadLink(folder + L"\\卸载Ostrel.lnk").target);
}

TEST_F(Shortcuts, MenuLinkPathsPastMaxPathAreRefusedNotCut)
{
    std::wstring programs = CommonPrograms();
    // A product name that makes the folder fit but neither link path.
    size_t room = MAX_PATH - 1 - programs.size() - 1;
    std::wstring name(room - 2, L'n');
    CreateProgramsShortcuts(L"C:\\x.exe", L"C:\\y.exe", L"C:\\", name.c_str());
    std::wstring folder = programs + L"\\" + name;
    ASSERT_TRUE(IsDirectory(folder));
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    int files = 0;
    if (find != INVALID_HANDLE_VALUE)
    {
        do
        {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    EXPECT_EQ(0, files) << "a link was written under a cut name";

    // A name too long for the folder itself does nothing at all.
    std::wstring huge(400, L'h');
    CreateProgramsShortcuts(L"C:\\x.exe", L"C:\\y.exe", L"C:\\", huge.c_str());
}
