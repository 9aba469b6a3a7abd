// CTabLayoutUI: shows exactly one of its children (the wizard's pages).
#pragma once

#include "controls/ContainerUI.h"

namespace Lomar {

class CTabLayoutUI : public CContainerUI
{
public:
    CTabLayoutUI();
    ~CTabLayoutUI() override;

    const wchar_t* get_type_name() const override;
    void* query_interface(const wchar_t* name) override;
    void set_pos(CUIRect rect, bool invalidate = true) override;
    void apply_attribute(const wchar_t* name, const wchar_t* value) override;
    bool add(CControlUI* control) override;
    bool add_at(CControlUI* control, int index) override;
    bool remove(CControlUI* control) override;
    void remove_all() override;

    virtual bool select_item(CControlUI* control);
    virtual bool select_item(int index);
    int get_cur_sel() const { return m_current; }

protected:
    int m_current = -1;   // index of the shown child
};

} // namespace Lomar
