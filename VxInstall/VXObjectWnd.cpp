#include "VXObjectWnd.h"

#include "CenterPlacement.h"

using Lomar::CUIPoint;
using Lomar::CUIRect;

namespace {

struct MonitorScan
{
    int recorded = 0;
    bool found = false;
    CUIRect primary;
};

BOOL CALLBACK RecordMonitor(HMONITOR monitor, HDC, LPRECT rect, LPARAM data)
{
    MonitorScan* scan = reinterpret_cast<MonitorScan*>(data);
    if (scan->recorded >= 63) return FALSE;
    ++scan->recorded;
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info) && (info.dwFlags & MONITORINFOF_PRIMARY) && !scan->found)
    {
        scan->found = true;
        scan->primary = CUIRect(*rect);
    }
    return TRUE;
}

} // namespace

CUIRect PrimaryMonitorRect()
{
    MonitorScan scan;
    EnumDisplayMonitors(nullptr, nullptr, RecordMonitor, reinterpret_cast<LPARAM>(&scan));
    return scan.found ? scan.primary : CUIRect();
}

LRESULT CVXObjectWnd::handle_custom_message(UINT message, WPARAM wparam, LPARAM lparam, bool& handled)
{
    if (message == WM_TIMER) OnWindowTimer(message, wparam, lparam, handled);
    return WindowImplBase::handle_custom_message(message, wparam, lparam, handled);
}

LRESULT CVXObjectWnd::OnWindowTimer(UINT, WPARAM, LPARAM, bool&) { return 0; }

void CVXObjectWnd::CenterInArea(const CUIRect& area, CUIPoint offset)
{
    HWND window = get_hwnd();
    if (window == nullptr) return;
    CenterInputs in;
    RECT w = {};
    GetWindowRect(window, &w);
    in.window = CUIRect(w);
    in.area = area;
    HWND owner = GetWindow(window, GW_OWNER);
    in.ownerUsable = owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner);
    if (in.ownerUsable)
    {
        RECT o = {};
        GetWindowRect(owner, &o);
        in.owner = CUIRect(o);
    }
    in.primary = PrimaryMonitorRect();
    in.offset = offset;
    CUIPoint p = ComputeCenterPosition(in);
    SetWindowPos(window, nullptr, p.x, p.y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
