#include "UninstallEntry.h"
#include "VXReg2.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

const wchar_t kPlain[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                         L"{5E1A0C47-93B2-4D8F-A6E0-2C7B19D4F350}";

struct Value
{
    bool found = false;
    DWORD type = 0;
    std::vector<BYTE> bytes;
    std::wstring text() const
    {
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    }
};

Value ReadValue(const wchar_t* subkey, const wchar_t* name, REGSAM view = 0)
{
    Value v;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ | view, &key) != ERROR_SUCCESS) return v;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS)
    {
        v.bytes.resize(size);
        v.found = RegQueryValueExW(key, name, nullptr, &v.type, v.bytes.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return v;
}

void ExpectEntry(const wchar_t* subkey, const std::wstring& dir, REGSAM view = 0)
{
    const std::pair<const wchar_t*, std::wstring> rows[] = {
        {L"DisplayName", L"Ostrel"},
        {L"DisplayIcon", dir + L"\\VXApp.exe"},
        {L"UninstallString", dir + L"\\VXUnInstall.exe"},
        {L"InstallLocation", dir},
        {L"DisplayVersion", L"9.3.3.0"},
        {L"Publisher", L"Halvenor"},
    };
    for (const auto& row : rows)
    {
        Value v = ReadValue(subkey, row.first, view);
        ASSERT_TRUE(v.found) << "missing value";
        EXPECT_EQ(DWORD(REG_SZ), v.type);
        // Exactly the text and one complete two-byte terminator.
        ASSERT_EQ((row.second.size() + 1) * 2, v.bytes.size());
        EXPECT_EQ(0, v.bytes[v.bytes.size() - 1]);
        EXPECT_EQ(0, v.bytes[v.bytes.size() - 2]);
        EXPECT_EQ(row.second + L'\0', v.text());
    }
}

int CountValues(const wchar_t* subkey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return -1;
    DWORD count = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(key);
    return int(count);
}

} // namespace

TEST(UninstallEntry, SixStringValuesWithTheirTerminators)
{
    EXPECT_FALSE(IsRunningUnderWow64());  // this build is 64-bit: not under WOW64
    std::wstring dir = L"C:\\Program Files\\Kestvane\\Kestvane";
    WriteUninstallEntry(dir.c_str());
    ExpectEntry(kPlain, dir);
    EXPECT_EQ(6, CountValues(kPlain));
    Value unquoted = ReadValue(kPlain, L"UninstallString");
    EXPECT_EQ(L"C:\\Program Files\\Kestvane\\Kestvane\\VXUnInstall.exe", std::wstring(unquoted.text().c_str()));
}

TEST(UninstallEntry, SecondRunReplacesPathsAndLeavesOthersValuesAlone)
{
    WriteUninstallEntry(L"C:\\first\\Kestvane");
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPlain, 0, KEY_SET_VALUE, &key));
    const wchar_t foreign[] = L"kept";
    RegSetValueExW(key, L"ForeignValue", 0, REG_SZ, reinterpret_cast<const BYTE*>(foreign), sizeof foreign);
    RegCloseKey(key);

    WriteUninstallEntry(L"D:\\Games\\Kestvane");
    ExpectEntry(kPlain, L"D:\\Games\\Kestvane");
    EXPECT_EQ(L"kept" + std::wstring(1, L'\0'), ReadValue(kPlain, L"ForeignValue").text());
}

TEST(UninstallEntry, UnderWow64TheKeyLandsInThe32BitView)
{
    EXPECT_STREQ(L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                 L"{5E1A0C47-93B2-4D8F-A6E0-2C7B19D4F350}",
                 UninstallSubkey(true).data());
    WriteUninstallEntry(L"C:\\Program Files (x86)\\Kestvane\\Kestvane", true);
    // A 32-bit reader sees it under the plain path.
    ExpectEntry(kPlain, L"C:\\Program Files (x86)\\Kestvane\\Kestvane", KEY_WOW64_32KEY);
}

TEST(VXReg2, CreateFailureLeavesNoHandleAndWritesNothing)
{
    VXReg2 reg;
    HKEY notAKey = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x1234));
    EXPECT_NE(ERROR_SUCCESS, reg.Create(notAKey, L"SOFTWARE\\x", KEY_READ));
    EXPECT_EQ(nullptr, reg.handle());
    EXPECT_NE(ERROR_SUCCESS, reg.SetString(L"x", L"y"));
    reg.Close();
    reg.Close();  // closing twice is harmless
}
