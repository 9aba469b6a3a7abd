// The installer's entry point: COM, GDI+ and the skin source around one modal main window.
#include "AppWindow.h"
#include "InstallSettings.h"
#include "LibrarySearch.h"
#include "UnzipCore7z.h"
#include "VXMainFrame.h"
#include "SkinSource.h"
#include "resources/ResourceModule.h"

#include <windows.h>
#include <objbase.h>
#include <gdiplus.h>

using namespace Lomar;


int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // First of all: nothing below may pick up a library planted beside the installer.
    RestrictLibrarySearchToSystemFolder();

    if (FAILED(CoInitialize(nullptr))) return 0;
    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

    CResourceModule::set_instance(instance);
    SelectSkinSource(instance);

    RunAppWindow(new VXMainFrame(&UnzipCore7z), nullptr, nullptr, true, L"Ostrel", nullptr, nullptr,
                 WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_WINDOWEDGE, SW_SHOW);

    Gdiplus::GdiplusShutdown(gdiplusToken);
    CoUninitialize();
    return 0;
}
