// CPaintManagerUI: the window's images, fonts and default text colours.
#include "window/PaintManagerUI.h"

namespace Lomar {

namespace {

const uint32_t kDefaultTextColor = 0xFF000000;
const uint32_t kDefaultDisabledColor = 0xFFA7A6AA;

} // namespace

bool CPaintManagerUI::lookup_image(const wchar_t* /*name*/, const wchar_t* /*type*/, uint32_t /*mask*/,
                                   HINSTANCE /*module*/, ImageView& /*out*/)
{
    return false;
}

HFONT CPaintManagerUI::get_font(int /*id*/) { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

int CPaintManagerUI::get_font_height(int id)
{
    HDC dc = m_paint_dc ? m_paint_dc : GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, get_font(id));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    if (!m_paint_dc) ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

uint32_t CPaintManagerUI::get_default_font_color() const { return kDefaultTextColor; }
uint32_t CPaintManagerUI::get_default_disabled_color() const { return kDefaultDisabledColor; }

const wchar_t* CPaintManagerUI::get_resource_text(const wchar_t* /*key*/) const { return nullptr; }

void CPaintManagerUI::release_resources() {}

} // namespace Lomar
