// CHorizontalLayoutUI: places its children from left to right.
#pragma once

#include "controls/ContainerUI.h"

namespace Lomar {

class CHorizontalLayoutUI : public CContainerUI
{
public:
    CHorizontalLayoutUI();
    ~CHorizontalLayoutUI() override;

    const wchar_t* get_type_name() const override;
    void* query_interface(const wchar_t* name) override;
    uint32_t get_control_flags() const override;
    void set_pos(CUIRect rect, bool invalidate = true) override;
    void handle_event(UIEvent& event) override;
    void apply_attribute(const wchar_t* name, const wchar_t* value) override;
    void paint_after(HDC dc, const CUIRect& paint_rect) override;

protected:
    int m_sep_width = 0;      // separator strip for drag-resizing; 0 = none
    uint32_t m_drag_state = 0;
    CUIPoint m_last_drag;
    CUIRect m_drag_rect;
    bool m_sep_immediate = false;
};

} // namespace Lomar
