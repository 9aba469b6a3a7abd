// Reads shell links back through the shell, for the journeys:
//   lnkinfo LINK.lnk  ->  target, working directory, description, icon path and index, one per line.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>

namespace {

void PrintUtf8(const wchar_t* label, const wchar_t* text)
{
    char buffer[4096];
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    printf("%ls=%s\n", label, n > 0 ? buffer : "");
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) return 2;
    if (FAILED(CoInitialize(nullptr))) return 3;
    int rc = 1;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))))
    {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
        {
            if (SUCCEEDED(file->Load(argv[1], STGM_READ)))
            {
                wchar_t text[MAX_PATH * 4] = {};
                int icon = -1;
                link->GetPath(text, MAX_PATH * 4, nullptr, SLGP_RAWPATH);
                PrintUtf8(L"target", text);
                text[0] = 0;
                link->GetWorkingDirectory(text, MAX_PATH * 4);
                PrintUtf8(L"workdir", text);
                text[0] = 0;
                link->GetDescription(text, MAX_PATH * 4);
                PrintUtf8(L"description", text);
                text[0] = 0;
                link->GetIconLocation(text, MAX_PATH * 4, &icon);
                PrintUtf8(L"icon", text);
                printf("iconindex=%d\n", icon);
                rc = 0;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return rc;
}
