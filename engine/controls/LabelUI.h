// CLabelUI: a control that draws a text with alignment, padding, colours and font.
#pragma once

#include "controls/ControlUI.h"

namespace Lomar {

class CLabelUI : public CControlUI
{
public:
    CLabelUI();
    ~CLabelUI() override;

    const wchar_t* get_type_name() const override;
    void* query_interface(const wchar_t* name) override;
    uint32_t get_control_flags() const override;
    void set_text(const wchar_t* text) override;
    void handle_event(UIEvent& event) override;
    void apply_attribute(const wchar_t* name, const wchar_t* value) override;
    CUISize measure(CUISize available) override;
    void paint_text(HDC dc) override;

    virtual bool is_auto_calc_width() const;
    virtual void set_auto_calc_width(bool b);
    virtual bool is_auto_calc_height() const;
    virtual void set_auto_calc_height(bool b);

    uint32_t get_text_color() const { return m_text_color; }
    void set_text_color(uint32_t c);
    uint32_t get_disabled_text_color() const { return m_disabled_text_color; }
    void set_disabled_text_color(uint32_t c);
    int get_font() const { return m_font; }
    void set_font(int font);
    unsigned get_text_style() const { return m_text_style; }
    void set_text_style(unsigned style);
    CUIRect get_text_padding() const;
    void set_text_padding(CUIRect padding);
    bool is_show_html() const { return m_show_html; }
    void set_show_html(bool b);

protected:
    // Zero colours take the window's defaults, kept from then on.
    void resolve_default_colors();
    // Draws text in colour and font into item deflated by the text padding.
    void draw_label_text(HDC dc, uint32_t color, int font, const CUIRect& padding);

    uint32_t m_text_color = 0;
    uint32_t m_disabled_text_color = 0;
    int m_font = -1;
    unsigned m_text_style = DT_VCENTER | DT_SINGLELINE;
    CUIRect m_text_padding;
    bool m_show_html = false;
    bool m_auto_calc_width = false;
    bool m_auto_calc_height = false;
    CUISize m_measured_for;
    CUISize m_measured;
    bool m_measure_stale = false;
};

} // namespace Lomar
