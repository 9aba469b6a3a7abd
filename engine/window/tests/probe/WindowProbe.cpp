// window_probe: shows one skinned window and prints its notifications, for input driven from
// outside (the real X pointer). Exits with the modal result.
//   window_probe SKIN_FILE_OR_MARKUP
#include <windows.h>

#include <cstdio>
#include <string>

#include "controls/ControlUI.h"
#include "window/WindowImplBase.h"

using namespace Lomar;

namespace {

class ProbeWindow : public WindowImplBase
{
public:
    explicit ProbeWindow(std::wstring skin) : m_skin(std::move(skin)) {}
    const wchar_t* get_window_class_name() const override { return L"VxWindowProbe"; }
    const wchar_t* get_skin_file() override { return m_skin.c_str(); }
    void notify(UINotify& msg) override
    {
        if (msg.type != L"timer")
        {
            std::wprintf(L"%ls:%ls\n", msg.type.data(), msg.sender ? msg.sender->get_name().data() : L"");
            std::fflush(stdout);
        }
        WindowImplBase::notify(msg);
    }

private:
    std::wstring m_skin;
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) return 2;
    ProbeWindow window(argv[1]);
    if (!window.create(nullptr, L"vx-probe", WS_POPUP, 0, 100, 100, 400, 300)) return 3;
    UINT code = window.show_modal();
    std::wprintf(L"modal=%u\n", code);
    std::fflush(stdout);
    return static_cast<int>(code);
}
