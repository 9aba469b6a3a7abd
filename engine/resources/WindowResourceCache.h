// CWindowResourceCache: the images, fonts and default text colours one window paints with,
// beside process-wide shared tables. The window's paint manager owns one and forwards its
// image, font and colour operations to it. UI thread only.
#pragma once

#include "core/UIPtrArray.h"
#include "core/UIString.h"
#include "core/UIStringMap.h"
#include "resources/FontRecord.h"
#include "resources/ImageRecord.h"

#include <windows.h>

#include <cstdint>

namespace Lomar {

class CWindowResourceCache
{
public:
    // The first cache of the process sets the process default colours and font.
    CWindowResourceCache();
    ~CWindowResourceCache();
    CWindowResourceCache(const CWindowResourceCache&) = delete;
    CWindowResourceCache& operator=(const CWindowResourceCache&) = delete;

    // Text metrics are measured with this device context when there is one.
    void set_paint_dc(HDC dc) { m_paint_dc = dc; }
    // Scale in percent (100 at 96 DPI) applied to font sizes.
    void set_dpi_scale(int percent) { m_scale = percent > 0 ? percent : 100; }
    int scale(int value) const { return MulDiv(value, m_scale, 100); }
    void set_all_shared(bool all_shared) { m_all_shared = all_shared; }
    bool is_all_shared() const { return m_all_shared; }

    // Images, kept under the name exactly as written.
    ImageRecord* add_image(const wchar_t* name, const wchar_t* type = nullptr, uint32_t mask = 0,
                           bool colour_adjust = false, bool shared = false, HINSTANCE module = nullptr);
    ImageRecord* get_image(const wchar_t* name);
    ImageRecord* get_image_ex(const wchar_t* name, const wchar_t* type = nullptr, uint32_t mask = 0,
                              bool colour_adjust = false, HINSTANCE module = nullptr);
    void remove_all_images(bool shared);

    // Fonts, kept under their id written in decimal.
    HFONT add_font(int id, const wchar_t* face, int size, bool bold, bool underline, bool italic, bool shared);
    HFONT get_font(int id);
    FontRecord* get_font_info(int id);
    HFONT find_font(const wchar_t* face, int size, bool bold, bool underline, bool italic);
    FontRecord* get_font_info(HFONT font);
    FontRecord* default_font_info();
    bool set_default_font(const wchar_t* face, int size, bool bold, bool underline, bool italic, bool shared);
    bool import_font_file(const wchar_t* name);
    int imported_font_count() const { return m_font_files.size(); }
    void remove_all_fonts(bool shared);
    // On each (re)application of the window's DPI: every font of this window, the window
    // default, the shared fonts and the process default are recreated from their records, and
    // the window's images are dropped (they reload on the next paint).
    void rebuild_for_dpi();

    // Default text colours, 0xAARRGGBB. Window scope only changes this window; the shared scope
    // changes the process value, and this window's value follows when it equalled the old one.
    uint32_t default_disabled_color() const { return m_colors[kDisabled]; }
    uint32_t default_font_color() const { return m_colors[kText]; }
    uint32_t default_link_font_color() const { return m_colors[kLink]; }
    uint32_t default_link_hover_font_color() const { return m_colors[kLinkHover]; }
    uint32_t default_selected_bk_color() const { return m_colors[kSelectedBk]; }
    void set_default_disabled_color(uint32_t color, bool shared) { set_color(kDisabled, color, shared); }
    void set_default_font_color(uint32_t color, bool shared) { set_color(kText, color, shared); }
    void set_default_link_font_color(uint32_t color, bool shared) { set_color(kLink, color, shared); }
    void set_default_link_hover_font_color(uint32_t color, bool shared) { set_color(kLinkHover, color, shared); }
    void set_default_selected_bk_color(uint32_t color, bool shared) { set_color(kSelectedBk, color, shared); }

    // Frees this window's images and fonts (when the manager is initialised for a window).
    void remove_window_resources();

    // The weight given to bold fonts, whether added, made default or rebuilt.
    enum { kBoldWeight = FW_BOLD };

private:
    // The LOGFONT of a skin font description: the stock GUI font with face, size and styles applied.
    LOGFONTW font_logfont(const wchar_t* face, int size, bool bold, bool underline, bool italic) const;
    enum ColorSlot { kDisabled, kText, kLink, kLinkHover, kSelectedBk, kColorCount };

    struct SharedState;
    static SharedState& shared_state();

    void set_color(ColorSlot slot, uint32_t color, bool shared);
    CUIStringMap& image_table(bool shared);
    CUIStringMap& font_table(bool shared);
    void measure(FontRecord* record);
    void rebuild(FontRecord* record);

    CUIStringMap m_images;                  // name -> ImageRecord*
    CUIStringMap m_fonts;                   // decimal id -> FontRecord*
    FontRecord m_default_font;              // face empty until set_default_font(window scope)
    CUIPtrArray m_font_files;               // handles from AddFontMemResourceEx
    uint32_t m_colors[kColorCount];
    bool m_all_shared = false;              // every add goes to the shared tables
    HDC m_paint_dc = nullptr;               // not owned
    int m_scale = 100;
};

} // namespace Lomar
