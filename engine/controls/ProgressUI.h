// CProgressUI: a progress bar whose fore colour or fore image fills the done part.
#pragma once

#include "controls/LabelUI.h"

namespace Lomar {

class CProgressUI : public CLabelUI
{
public:
    CProgressUI();
    ~CProgressUI() override;

    const wchar_t* get_type_name() const override;
    void* query_interface(const wchar_t* name) override;
    void apply_attribute(const wchar_t* name, const wchar_t* value) override;
    void paint_fore_color(HDC dc) override;
    void paint_fore_image(HDC dc) override;

    virtual void update_text();

    bool is_horizontal() const { return m_horizontal; }
    void set_horizontal(bool b);
    bool is_stretch_fore() const { return m_stretch_fore; }
    void set_stretch_fore(bool b);
    int get_min() const { return m_min; }
    void set_min(int v);
    int get_max() const { return m_max; }
    void set_max(int v);
    int get_value() const { return m_value; }
    void set_value(int v);
    void set_show_text(bool b) { m_show_text = b; }
    const CUIString& get_fore_modifier() const { return m_fore_modifier; }

protected:
    // min >= max makes max = min + 1; value is clamped into the range.
    void normalise();

    bool m_show_text = false;
    bool m_horizontal = true;
    bool m_stretch_fore = true;
    int m_max = 100;
    int m_min = 0;
    int m_value = 0;
    CUIString m_fore_modifier;
};

} // namespace Lomar
