// CPaintManagerUI: the window's images, fonts and texts, held by its resource cache.
#include "resources/ResourceCatalog.h"
#include "window/PaintManagerUI.h"

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
    return m_resources.add_font(id, face, size, bold, underline, italic, shared);
}

void CPaintManagerUI::set_default_font(const wchar_t* face, int size, bool bold, bool underline, bool italic,
                                       bool shared)
{
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

bool CPaintManagerUI::apply_shadow_attribute(const wchar_t*, const wchar_t*) { return false; }

} // namespace Lomar
