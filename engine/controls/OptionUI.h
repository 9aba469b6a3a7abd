// COptionUI: a two-state button, alone or in a group; CCheckBoxUI: the same with auto-check.
#pragma once

#include "controls/ButtonUI.h"

namespace Lomar {

class COptionUI : public CButtonUI
{
public:
    COptionUI();
    ~COptionUI() override;

    const wchar_t* get_type_name() const override;
    void* query_interface(const wchar_t* name) override;
    bool activate() override;
    void set_manager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void set_enabled(bool b = true) override;
    void apply_attribute(const wchar_t* name, const wchar_t* value) override;
    void paint_back_color(HDC dc) override;
    void paint_state_image(HDC dc) override;
    void paint_fore_image(HDC dc) override;
    void paint_text(HDC dc) override;

    virtual const CUIString& get_selected_state_image() const;
    virtual void set_selected_state_image(const wchar_t* image);
    virtual void set_selected(bool selected, bool notify = true);

    bool is_selected() const { return m_selected; }
    const CUIString& get_group() const { return m_group; }
    void set_group(const wchar_t* name);

protected:
    // Shared by the option and the check box: wparam is what "selectchanged" carries.
    void change_selection(bool selected, bool notify, uintptr_t wparam);
    void derive_selected_frames();

    bool m_selected = false;
    CUIString m_group;
    int m_selected_font = -1;
    uint32_t m_selected_back_color = 0;
    uint32_t m_selected_text_color = 0;
    uint32_t m_selected_hot_text_color = 0;
    uint32_t m_selected_pushed_text_color = 0;
    CUIString m_selected_image;
    CUIString m_selected_hot_image;
    CUIString m_selected_pushed_image;
    CUIString m_selected_disabled_image;
    CUIString m_selected_fore_image;
    int m_selected_state_count = 0;
    CUIString m_selected_state_image;
};

class CCheckBoxUI : public COptionUI
{
public:
    const wchar_t* get_type_name() const override;
    void* query_interface(const wchar_t* name) override;
    void handle_event(UIEvent& event) override;
    void apply_attribute(const wchar_t* name, const wchar_t* value) override;
    void set_selected(bool selected, bool notify = true) override;

protected:
    bool m_auto_check = false;
};

} // namespace Lomar
