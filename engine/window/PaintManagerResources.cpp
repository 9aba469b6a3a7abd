// CPaintManagerUI: the window's images, fonts and texts, held by its resource cache.
#include "resources/ResourceCatalog.h"
#include <cwchar>

#include "render/ImageDrawSpec.h"
#include "window/PaintManagerUI.h"
#include "window/ShadowUI.h"

namespace Lomar {

const ImageRecord* CPaintManagerUI::get_image_ex(const wchar_t* name, const wchar_t* type, uint32_t mask, bool adjust,
                                                 HINSTANCE module)
{
    return m_resources.get_image_ex(name, type, mask, adjust, module);
}

bool CPaintManagerUI::lookup_image(const wchar_t* name, const wchar_t* type, uint32_t mask, HINSTANCE module,
                                   ImageView& out)
{
    const ImageRecord* image = m_resources.get_image_ex(name, type, mask, false, module);
    if (!image || !image->bitmap) return false;
    out.bitmap = image->bitmap;
    out.width = image->width;
    out.height = image->height;
    out.has_alpha = image->has_alpha;
    return true;
}

const ImageRecord* CPaintManagerUI::add_image(const wchar_t* name, const wchar_t* type, uint32_t mask, bool adjust,
                                              bool shared, HINSTANCE module)
{
    return m_resources.add_image(name, type, mask, adjust, shared, module);
}

HFONT CPaintManagerUI::add_font(int id, const wchar_t* face, int size, bool bold, bool underline, bool italic,
                                bool shared)
{
    m_text_cache.clear();   // a replaced font's handle value may come back for another face
    return m_resources.add_font(id, face, size, bold, underline, italic, shared);
}

void CPaintManagerUI::set_default_font(const wchar_t* face, int size, bool bold, bool underline, bool italic,
                                       bool shared)
{
    m_text_cache.clear();
    m_resources.set_default_font(face, size, bold, underline, italic, shared);
}

void CPaintManagerUI::import_font_file(const wchar_t* name) { m_resources.import_font_file(name); }

HFONT CPaintManagerUI::get_font(int id)
{
    HFONT font = m_resources.get_font(id);
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int CPaintManagerUI::get_font_height(int id)
{
    if (const FontRecord* record = m_resources.get_font_info(id))
        if (record->metrics.tmHeight > 0) return record->metrics.tmHeight;
    // Without a paint DC the cache cannot measure; measure on the screen instead.
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, get_font(id));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

CUIString CPaintManagerUI::get_resource_text(const wchar_t* key) const
{
    return CResourceCatalog::instance().text(key);
}

void CPaintManagerUI::release_resources() { m_resources.remove_window_resources(); }

bool CPaintManagerUI::apply_shadow_attribute(const wchar_t* name, const wchar_t* value)
{
    auto is = [name](const wchar_t* n) { return _wcsicmp(name, n) == 0; };
    const int number = static_cast<int>(std::wcstol(value, nullptr, 10));
    const wchar_t* hex = value[0] == L'#' ? value + 1 : value;
    if (is(L"shadowsize")) get_shadow().set_size(number);
    else if (is(L"shadowsharpness")) get_shadow().set_sharpness(number);
    else if (is(L"shadowdarkness")) get_shadow().set_darkness(number);
    else if (is(L"shadowposition"))
    {
        const CUISize s = image_string::read_size(value);
        get_shadow().set_position(s.cx, s.cy);
    }
    else if (is(L"shadowcolor")) get_shadow().set_color(static_cast<uint32_t>(std::wcstoul(hex, nullptr, 16)));
    else if (is(L"shadowcorner"))
    {
        const CUIRect r = image_string::read_rect(value);
        get_shadow().set_shadow_corner(r.left, r.top, r.right, r.bottom);
    }
    else if (is(L"shadowimage")) get_shadow().set_image(value);
    else if (is(L"showshadow")) get_shadow().show_shadow(_wcsicmp(value, L"true") == 0);
    else return false;
    return true;
}

} // namespace Lomar
