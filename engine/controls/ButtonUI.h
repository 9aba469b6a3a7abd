// CButtonUI: a clickable image button with hot, pushed, focused and disabled looks.
#pragma once

#include "controls/LabelUI.h"

namespace Lomar {

// Bits of CButtonUI::state.
enum
{
    UISTATE_FOCUSED = 0x01,
    UISTATE_SELECTED = 0x02,
    UISTATE_DISABLED = 0x04,
    UISTATE_HOT = 0x08,
    UISTATE_PUSHED = 0x10,
    UISTATE_CAPTURED = 0x40,
};

class CButtonUI : public CLabelUI
{
public:
    CButtonUI();
    ~CButtonUI() override;

    const wchar_t* get_type_name() const override;
    void* query_interface(const wchar_t* name) override;
    uint32_t get_control_flags() const override;
    bool activate() override;
    void set_enabled(bool b = true) override;
    void handle_event(UIEvent& event) override;
    void apply_attribute(const wchar_t* name, const wchar_t* value) override;
    void paint_back_color(HDC dc) override;
    void paint_state_image(HDC dc) override;
    void paint_fore_image(HDC dc) override;
    void paint_text(HDC dc) override;

    virtual const CUIString& get_normal_image() const;
    virtual void set_normal_image(const wchar_t* image);
    virtual const CUIString& get_hot_image() const;
    virtual void set_hot_image(const wchar_t* image);
    virtual const CUIString& get_pushed_image() const;
    virtual void set_pushed_image(const wchar_t* image);
    virtual const CUIString& get_focused_image() const;
    virtual void set_focused_image(const wchar_t* image);
    virtual const CUIString& get_disabled_image() const;
    virtual void set_disabled_image(const wchar_t* image);
    virtual const CUIString& get_hot_fore_image() const;
    virtual void set_hot_fore_image(const wchar_t* image);
    virtual const CUIString& get_state_image() const;
    virtual void set_state_image(const wchar_t* image);

    uint32_t get_state() const { return m_state; }
    void set_hot_text_color(uint32_t c) { m_hot_text_color = c; }
    void set_pushed_text_color(uint32_t c) { m_pushed_text_color = c; }
    void set_focused_text_color(uint32_t c) { m_focused_text_color = c; }
    void set_hot_back_color(uint32_t c);
    void set_pushed_back_color(uint32_t c);
    void set_disabled_back_color(uint32_t c);
    void set_hot_font(int font);
    void set_pushed_font(int font);
    void set_focused_font(int font);
    void bind_tab(int index, const wchar_t* layout_name);

protected:
    // Updates the focused and disabled bits from the control (and the host window).
    void refresh_state_bits();
    // Cuts the frames of a state strip into the state image strings.
    void derive_state_frames();
    void run_tab_binding();

    uint32_t m_state = 0;
    int m_hot_font = -1;
    int m_pushed_font = -1;
    int m_focused_font = -1;
    uint32_t m_hot_back_color = 0;
    uint32_t m_pushed_back_color = 0;
    uint32_t m_disabled_back_color = 0;
    uint32_t m_hot_text_color = 0;
    uint32_t m_pushed_text_color = 0;
    uint32_t m_focused_text_color = 0;
    CUIString m_normal_image;
    CUIString m_hot_image;
    CUIString m_hot_fore_image;
    CUIString m_pushed_image;
    CUIString m_pushed_fore_image;
    CUIString m_focused_image;
    CUIString m_disabled_image;
    int m_state_count = 0;
    CUIString m_state_image;
    int m_bind_tab_index = -1;
    CUIString m_bind_tab_layout;
};

} // namespace Lomar
