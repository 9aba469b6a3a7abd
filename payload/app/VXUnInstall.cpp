// VXUnInstall.exe: the uninstaller the shortcuts and the uninstall entry point at. The demo
// product ships no real uninstall; this says so and exits.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MessageBoxW(nullptr, L"uninstall is not part of this demo", L"Ostrel", MB_OK | MB_ICONINFORMATION);
  return 0;
}
