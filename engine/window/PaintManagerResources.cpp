// CPaintManagerUI: the window's images, fonts and default text colours.
#include "window/PaintManagerUI.h"

namespace Lomar {

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

// The image and font cache is built separately; until the window owns one, nothing is stored
// and every lookup falls back to the stock GUI font and "no image".
const ImageRecord* CPaintManagerUI::add_image(const wchar_t*, const wchar_t*, uint32_t, bool, bool, HINSTANCE)
{
    return nullptr;
}
HFONT CPaintManagerUI::add_font(int, const wchar_t*, int, bool, bool, bool, bool) { return nullptr; }
void CPaintManagerUI::set_default_font(const wchar_t*, int, bool, bool, bool, bool) {}
void CPaintManagerUI::import_font_file(const wchar_t*) {}
bool CPaintManagerUI::apply_shadow_attribute(const wchar_t*, const wchar_t*) { return false; }

const wchar_t* CPaintManagerUI::get_resource_text(const wchar_t* /*key*/) const { return nullptr; }

void CPaintManagerUI::release_resources() {}

} // namespace Lomar
