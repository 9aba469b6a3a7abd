// VXApp.exe: the demo product the installer puts on the machine. One window titled "Ostrel"
// that tells which version is installed and from which folder it runs, drawn with GDI in the
// installer's colours.
#include <windows.h>

#include <string>

namespace {

const wchar_t kClassName[] = L"OstrelDemoApp";
const int kClientWidth = 600;
const int kClientHeight = 360;

// The installer's palette: deep blue to violet, sky-to-iris accent.
const COLORREF kBackTop = RGB(12, 24, 86);
const COLORREF kBackBottom = RGB(88, 36, 160);
const COLORREF kAccentFrom = RGB(64, 170, 255);
const COLORREF kAccentTo = RGB(124, 92, 255);
const COLORREF kText = RGB(255, 255, 255);
const COLORREF kSubText = RGB(214, 218, 255);

struct AppInfo {
  std::wstring version;  // from our own version block
  std::wstring folder;   // the folder this program runs from
};

AppInfo g_info;

std::wstring ModuleFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return L"";
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);  // long path: grow and ask again
  }
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(0, slash);
}

// File version of this executable as "a.b.c.d", read from its version resource.
std::wstring OwnVersion() {
  HRSRC res = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));
  HGLOBAL block = res ? LoadResource(nullptr, res) : nullptr;
  const BYTE* data = block ? static_cast<const BYTE*>(LockResource(block)) : nullptr;
  DWORD size = res ? SizeofResource(nullptr, res) : 0;
  // VS_VERSIONINFO: three WORDs, the key "VS_VERSION_INFO" and its terminator, padding to
  // a 32-bit boundary, then VS_FIXEDFILEINFO.
  const size_t fixed_at = 6 + sizeof(L"VS_VERSION_INFO");
  size_t offset = (fixed_at + 3) & ~size_t(3);
  if (!data || size < offset + sizeof(VS_FIXEDFILEINFO)) return L"?";
  VS_FIXEDFILEINFO info;
  CopyMemory(&info, data + offset, sizeof(info));
  if (info.dwSignature != 0xFEEF04BD) return L"?";
  wchar_t text[64];
  wsprintfW(text, L"%u.%u.%u.%u", HIWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionMS),
            HIWORD(info.dwFileVersionLS), LOWORD(info.dwFileVersionLS));
  return text;
}

void FillGradient(HDC dc, const RECT& r, COLORREF from, COLORREF to, bool vertical) {
  int span = vertical ? r.bottom - r.top : r.right - r.left;
  for (int i = 0; i < span; ++i) {
    int t = span > 1 ? i * 255 / (span - 1) : 0;
    COLORREF c = RGB((GetRValue(from) * (255 - t) + GetRValue(to) * t) / 255,
                     (GetGValue(from) * (255 - t) + GetGValue(to) * t) / 255,
                     (GetBValue(from) * (255 - t) + GetBValue(to) * t) / 255);
    HBRUSH b = CreateSolidBrush(c);
    RECT line = vertical ? RECT{r.left, r.top + i, r.right, r.top + i + 1}
                         : RECT{r.left + i, r.top, r.left + i + 1, r.bottom};
    FillRect(dc, &line, b);
    DeleteObject(b);
  }
}

HFONT MakeFont(int px, int weight) {
  return CreateFontW(-px, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"微软雅黑");
}

void DrawTextAt(HDC dc, const std::wstring& text, RECT box, HFONT font, COLORREF colour, UINT format) {
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_NOPREFIX);
  SelectObject(dc, old);
}

void Paint(HWND wnd, HDC target) {
  RECT client;
  GetClientRect(wnd, &client);
  int w = client.right, h = client.bottom;
  // Paint off-screen first, so resizing does not flicker.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bmp = CreateCompatibleBitmap(target, w, h);
  HGDIOBJ old_bmp = SelectObject(dc, bmp);
  FillGradient(dc, client, kBackTop, kBackBottom, true);
  SetBkMode(dc, TRANSPARENT);

  // The product mark, from the same icon the shortcuts show.
  int mark = 64;
  HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101), IMAGE_ICON,
                                             mark, mark, LR_DEFAULTCOLOR));
  int top = h / 2 - 110;
  if (icon) {
    DrawIconEx(dc, (w - mark) / 2, top, icon, mark, mark, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
  }
  HFONT title = MakeFont(40, FW_BOLD);
  HFONT body = MakeFont(16, FW_NORMAL);
  HFONT small = MakeFont(13, FW_NORMAL);
  DrawTextAt(dc, L"Ostrel", RECT{0, top + mark + 8, w, top + mark + 62}, title, kText, DT_CENTER | DT_SINGLELINE);

  // An accent rule under the name.
  RECT rule{w / 2 - 60, top + mark + 70, w / 2 + 60, top + mark + 73};
  FillGradient(dc, rule, kAccentFrom, kAccentTo, false);

  std::wstring line1 = L"已安装版本 " + g_info.version;
  std::wstring line2 = L"安装位置：" + g_info.folder;
  DrawTextAt(dc, line1, RECT{20, top + mark + 88, w - 20, top + mark + 114}, body, kText,
             DT_CENTER | DT_SINGLELINE);
  DrawTextAt(dc, line2, RECT{30, top + mark + 118, w - 30, top + mark + 166}, body, kSubText,
             DT_CENTER | DT_WORDBREAK | DT_PATH_ELLIPSIS);
  DrawTextAt(dc, L"这是 Ostrel 安装程序的演示产品", RECT{0, h - 34, w, h - 12}, small, kSubText,
             DT_CENTER | DT_SINGLELINE);
  DeleteObject(title);
  DeleteObject(body);
  DeleteObject(small);

  BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
  SelectObject(dc, old_bmp);
  DeleteObject(bmp);
  DeleteDC(dc);
}

LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(wnd, &ps);
      Paint(wnd, dc);
      EndPaint(wnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // everything is painted in WM_PAINT
    case WM_SIZE:
      InvalidateRect(wnd, nullptr, FALSE);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  g_info.version = OwnVersion();
  g_info.folder = ModuleFolder();

  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(101), IMAGE_ICON, 32, 32, 0));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(101), IMAGE_ICON, 16, 16, 0));
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc)) return 1;

  DWORD style = WS_OVERLAPPEDWINDOW;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRect(&frame, style, FALSE);
  HWND wnd = CreateWindowExW(0, kClassName, L"Ostrel", style, CW_USEDEFAULT, CW_USEDEFAULT,
                             frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                             nullptr);
  if (!wnd) return 1;
  ShowWindow(wnd, show);
  UpdateWindow(wnd);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
