#include "LibrarySearch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::wstring ExeFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    return p.substr(0, p.rfind(L'\\'));
}

} // namespace

// vxplanted.dll is built beside this test program: the application folder is exactly where a
// planted library would lie.
TEST(LibrarySearch, APlantedLibraryBesideTheProgramIsNoLongerFound)
{
    std::wstring planted = ExeFolder() + L"\\vxplanted.dll";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(planted.c_str())) << "fixture missing";

    HMODULE before = LoadLibraryW(L"vxplanted.dll");
    ASSERT_NE(nullptr, before) << "the unrestricted search should find the planted library";
    FreeLibrary(before);

    ASSERT_TRUE(RestrictLibrarySearchToSystemFolder());
    EXPECT_EQ(nullptr, GetModuleHandleW(L"vxplanted.dll"));
    EXPECT_EQ(nullptr, LoadLibraryW(L"vxplanted.dll"));
    // System libraries still load by name.
    HMODULE system = LoadLibraryW(L"msimg32.dll");
    EXPECT_NE(nullptr, system);
    wchar_t where[MAX_PATH] = {};
    GetModuleFileNameW(system, where, MAX_PATH);
    wchar_t sys[MAX_PATH] = {};
    GetSystemDirectoryW(sys, MAX_PATH);
    EXPECT_EQ(0, _wcsnicmp(where, sys, wcslen(sys)));
    // A full path is still honoured: that is how the installer's own 7zCore.dll could be named.
    HMODULE explicitPath = LoadLibraryW(planted.c_str());
    EXPECT_NE(nullptr, explicitPath);
    if (explicitPath) FreeLibrary(explicitPath);
}
