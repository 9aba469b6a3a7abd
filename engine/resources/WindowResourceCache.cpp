// CWindowResourceCache (see WindowResourceCache.h).
#include "resources/WindowResourceCache.h"

#include "resources/ImageLoader.h"
#include "resources/ResourceBytes.h"
#include "resources/ResourceSource.h"

#include <cwchar>
#include <cwctype>

namespace Lomar {

namespace {

const uint32_t kDefaultColors[] = {
    0xFFA7A6AA,   // disabled text
    0xFF000000,   // text
    0xFF0000FF,   // link text
    0xFFD3215F,   // link text when hovered
    0xFFBAE4FF,   // selected background
};

LOGFONTW stock_logfont()
{
    LOGFONTW lf = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    return lf;
}

// Face names longer than the LOGFONTW field holds (31 characters) are cut.
void copy_face(LOGFONTW& lf, const wchar_t* face)
{
    if (!face || !*face)
        return;
    size_t n = 0;
    for (; face[n] && n < LF_FACESIZE - 1; ++n)
        lf.lfFaceName[n] = face[n];
    lf.lfFaceName[n] = 0;
}

void delete_fonts(CUIStringMap& table)
{
    for (int i = 0; i < table.get_size(); ++i)
        if (const wchar_t* key = table.get_at(i))
            if (FontRecord* record = static_cast<FontRecord*>(table.find(key, false)))
            {
                if (record->font)
                    DeleteObject(record->font);
                delete record;
            }
    table.remove_all();
}

void delete_images(CUIStringMap& table)
{
    for (int i = 0; i < table.get_size(); ++i)
        if (const wchar_t* key = table.get_at(i))
            destroy_image(static_cast<ImageRecord*>(table.find(key, false)));
    table.remove_all();
}

template <typename Fn> void for_each_font(CUIStringMap& table, Fn fn)
{
    for (int i = 0; i < table.get_size(); ++i)
        if (const wchar_t* key = table.get_at(i))
            if (FontRecord* record = static_cast<FontRecord*>(table.find(key, false)))
                if (fn(record))
                    return;
}

} // namespace

struct CWindowResourceCache::SharedState
{
    CUIStringMap images{83};
    CUIStringMap fonts{83};
    FontRecord default_font;      // from the stock GUI font
    uint32_t colors[kColorCount];
    bool initialised = false;
};

CWindowResourceCache::SharedState& CWindowResourceCache::shared_state()
{
    static SharedState state;   // lives as long as the process
    return state;
}

CWindowResourceCache::CWindowResourceCache() : m_images(83), m_fonts(83)
{
    SharedState& s = shared_state();
    if (!s.initialised)
    {
        for (int i = 0; i < kColorCount; ++i)
            s.colors[i] = kDefaultColors[i];
        LOGFONTW lf = stock_logfont();
        lf.lfCharSet = DEFAULT_CHARSET;
        s.default_font.font = CreateFontIndirectW(&lf);
        s.default_font.face_name = lf.lfFaceName;
        s.default_font.size = -lf.lfHeight;
        s.default_font.bold = lf.lfWeight >= FW_BOLD;
        s.default_font.underline = lf.lfUnderline != 0;
        s.default_font.italic = lf.lfItalic != 0;
        s.initialised = true;
    }
    for (int i = 0; i < kColorCount; ++i)
        m_colors[i] = s.colors[i];
}

CWindowResourceCache::~CWindowResourceCache()
{
    remove_window_resources();
    if (m_default_font.font)
        DeleteObject(m_default_font.font);
    for (int i = 0; i < m_font_files.size(); ++i)
        RemoveFontMemResourceEx(static_cast<HANDLE>(m_font_files[i]));
    m_font_files.empty();
}

void CWindowResourceCache::remove_window_resources()
{
    remove_all_images(false);
    remove_all_fonts(false);
}

CUIStringMap& CWindowResourceCache::image_table(bool shared)
{
    return (shared || m_all_shared) ? shared_state().images : m_images;
}

CUIStringMap& CWindowResourceCache::font_table(bool shared)
{
    return (shared || m_all_shared) ? shared_state().fonts : m_fonts;
}

// ---- images ----

ImageRecord* CWindowResourceCache::add_image(const wchar_t* name, const wchar_t* type, uint32_t mask, bool,
                                             bool shared, HINSTANCE module)
{
    if (!name || !*name)
        return nullptr;
    ImageRecord* image;
    if (type && *type)
    {
        if (!iswdigit(name[0]))
            return nullptr;
        long id = std::wcstol(name, nullptr, 10);
        if (id <= 0 || id > 0xFFFF)
            return nullptr;
        image = load_image(MAKEINTRESOURCEW(id), type, mask, module);
    }
    else
        image = load_image(name, nullptr, mask, module);
    if (!image)
        return nullptr;
    image->resource_type = type;
    image->mask = mask;
    image->colour_adjust = false;   // colour adjustment is not part of this engine
    CUIStringMap& table = image_table(shared);
    if (ImageRecord* old = static_cast<ImageRecord*>(table.find(name)))
    {
        destroy_image(old);
        table.remove(name);
    }
    if (!table.insert(name, image))
    {
        destroy_image(image);
        return nullptr;
    }
    return image;
}

ImageRecord* CWindowResourceCache::get_image(const wchar_t* name)
{
    if (!name)
        return nullptr;
    if (ImageRecord* image = static_cast<ImageRecord*>(m_images.find(name)))
        return image;
    return static_cast<ImageRecord*>(shared_state().images.find(name));
}

ImageRecord* CWindowResourceCache::get_image_ex(const wchar_t* name, const wchar_t* type, uint32_t mask,
                                                bool colour_adjust, HINSTANCE module)
{
    if (ImageRecord* image = get_image(name))
        return image;
    return add_image(name, type, mask, colour_adjust, false, module);
}

void CWindowResourceCache::remove_all_images(bool shared)
{
    delete_images(shared ? shared_state().images : m_images);
}

// ---- fonts ----

void CWindowResourceCache::measure(FontRecord* record)
{
    if (!m_paint_dc || !record || !record->font || record->metrics.tmHeight != 0)
        return;
    HGDIOBJ old = SelectObject(m_paint_dc, record->font);
    GetTextMetricsW(m_paint_dc, &record->metrics);
    SelectObject(m_paint_dc, old);
}

LOGFONTW CWindowResourceCache::font_logfont(const wchar_t* face, int size, bool bold, bool underline,
                                            bool italic) const
{
    LOGFONTW lf = stock_logfont();
    copy_face(lf, face);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -scale(size);
    if (bold)
        lf.lfWeight = kBoldWeight;
    if (underline)
        lf.lfUnderline = TRUE;
    if (italic)
        lf.lfItalic = TRUE;
    return lf;
}

HFONT CWindowResourceCache::add_font(int id, const wchar_t* face, int size, bool bold, bool underline,
                                     bool italic, bool shared)
{
    LOGFONTW lf = font_logfont(face, size, bold, underline, italic);
    HFONT font = CreateFontIndirectW(&lf);
    if (!font)
        return nullptr;
    FontRecord* record = new FontRecord;
    record->font = font;
    record->face_name = lf.lfFaceName;
    record->size = size;
    record->bold = bold;
    record->underline = underline;
    record->italic = italic;
    measure(record);

    CUIString key;
    key.small_format(L"%d", id);
    CUIStringMap& table = font_table(shared);
    if (FontRecord* old = static_cast<FontRecord*>(table.find(key)))
    {
        DeleteObject(old->font);
        delete old;
        table.remove(key);
    }
    if (!table.insert(key, record))
    {
        DeleteObject(font);
        delete record;
        return nullptr;
    }
    return font;
}

FontRecord* CWindowResourceCache::get_font_info(int id)
{
    if (id < 0)
        return default_font_info();
    CUIString key;
    key.small_format(L"%d", id);
    FontRecord* record = static_cast<FontRecord*>(m_fonts.find(key));
    if (!record)
        record = static_cast<FontRecord*>(shared_state().fonts.find(key));
    if (!record)
        return default_font_info();
    measure(record);
    return record;
}

HFONT CWindowResourceCache::get_font(int id)
{
    FontRecord* record = get_font_info(id);
    return record ? record->font : nullptr;
}

HFONT CWindowResourceCache::find_font(const wchar_t* face, int size, bool bold, bool underline, bool italic)
{
    HFONT found = nullptr;
    auto match = [&](FontRecord* r) {
        if (r->face_name == (face ? face : L"") && r->size == size && r->bold == bold &&
            r->underline == underline && r->italic == italic)
            found = r->font;
        return found != nullptr;
    };
    for_each_font(m_fonts, match);
    if (!found)
        for_each_font(shared_state().fonts, match);
    return found;
}

FontRecord* CWindowResourceCache::get_font_info(HFONT font)
{
    FontRecord* found = nullptr;
    auto match = [&](FontRecord* r) {
        if (r->font == font)
            found = r;
        return found != nullptr;
    };
    for_each_font(m_fonts, match);
    if (!found)
        for_each_font(shared_state().fonts, match);
    if (!found)
        return default_font_info();
    measure(found);
    return found;
}

FontRecord* CWindowResourceCache::default_font_info()
{
    FontRecord* record = m_default_font.face_name.is_empty() ? &shared_state().default_font : &m_default_font;
    measure(record);
    return record;
}

bool CWindowResourceCache::set_default_font(const wchar_t* face, int size, bool bold, bool underline,
                                            bool italic, bool shared)
{
    LOGFONTW lf = font_logfont(face, size, bold, underline, italic);
    HFONT font = CreateFontIndirectW(&lf);
    if (!font)
        return false;
    FontRecord& target = shared ? shared_state().default_font : m_default_font;
    if (target.font)
        DeleteObject(target.font);
    target.font = font;
    target.face_name = lf.lfFaceName;
    target.size = size;
    target.bold = bold;
    target.underline = underline;
    target.italic = italic;
    target.metrics = TEXTMETRICW();
    measure(&target);
    return true;
}

bool CWindowResourceCache::import_font_file(const wchar_t* name)
{
    CResourceBytes bytes;
    if (!CResourceSource::read_named_file(name, &bytes))
        return false;
    DWORD fonts = 0;
    HANDLE handle = AddFontMemResourceEx(bytes.data(), bytes.size(), nullptr, &fonts);
    if (!handle)
        return false;
    if (!m_font_files.add(handle))
    {
        RemoveFontMemResourceEx(handle);
        return false;
    }
    return true;
}

void CWindowResourceCache::remove_all_fonts(bool shared)
{
    delete_fonts(shared ? shared_state().fonts : m_fonts);
}

void CWindowResourceCache::rebuild(FontRecord* record)
{
    if (!record->font)
        return;
    LOGFONTW lf = stock_logfont();
    copy_face(lf, record->face_name);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lf.lfHeight = -scale(record->size);
    if (record->bold)
        lf.lfWeight = kBoldWeight;
    lf.lfUnderline = record->underline ? TRUE : FALSE;
    lf.lfItalic = record->italic ? TRUE : FALSE;
    HFONT font = CreateFontIndirectW(&lf);
    if (!font)
        return;   // the old font stays usable
    DeleteObject(record->font);
    record->font = font;
    record->metrics = TEXTMETRICW();
    measure(record);
}

void CWindowResourceCache::rebuild_for_dpi()
{
    auto rebuild_one = [this](FontRecord* r) {
        rebuild(r);
        return false;
    };
    for_each_font(m_fonts, rebuild_one);
    rebuild(&m_default_font);
    for_each_font(shared_state().fonts, rebuild_one);
    rebuild(&shared_state().default_font);
    remove_all_images(false);
}

// ---- colours ----

void CWindowResourceCache::set_color(ColorSlot slot, uint32_t color, bool shared)
{
    if (!shared)
    {
        m_colors[slot] = color;
        return;
    }
    SharedState& s = shared_state();
    uint32_t old = s.colors[slot];
    s.colors[slot] = color;
    if (m_colors[slot] == old)
        m_colors[slot] = color;
}

} // namespace Lomar
