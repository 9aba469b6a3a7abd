// CTextUI: a word-wrapped text (links come only from the markup renderer, not built here).
#pragma once

#include "controls/LabelUI.h"

namespace Lomar {

class CTextUI : public CLabelUI
{
public:
    CTextUI();
    ~CTextUI() override;

    const wchar_t* get_type_name() const override;
    void* query_interface(const wchar_t* name) override;
    uint32_t get_control_flags() const override;
    void handle_event(UIEvent& event) override;
    CUISize measure(CUISize available) override;
    void paint_text(HDC dc) override;

protected:
    enum { kMaxLinks = 8 };
    int m_link_count = 0;
    CUIRect m_links[kMaxLinks];
    CUIString m_link_targets[kMaxLinks];
    int m_hover_link = -1;
};

} // namespace Lomar
