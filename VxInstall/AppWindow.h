// Creating and running the installer's top-level window.
#pragma once

#include "VxBase.h"

#include <windows.h>

#include <functional>

class CVXObjectWnd;

const UINT kAppIconResource = 101;

// Creates the native window of `window` (skin built, window-initialised hook run), sets its
// icon, links its events to `relayTarget` and centres it. Modal: runs it until its window is
// gone and returns null (the object has deleted itself). Otherwise shows it and returns it.
CVXObjectWnd* RunAppWindow(CVXObjectWnd* window, HWND parent, VxBase* relayTarget, bool modal, const wchar_t* title,
                           std::function<void()> onDestroy, std::function<void()> extra, DWORD style, DWORD exStyle,
                           int showFlag);
