// CContainerUI: an ordered list of owned children, placed, painted and hit-tested through it.
#pragma once

#include "controls/ControlUI.h"
#include "core/UIPtrArray.h"

namespace Lomar {

class IContainerUI
{
public:
    virtual CControlUI* get_item_at(int index) const = 0;
    virtual int get_item_index(CControlUI* control) const = 0;
    virtual bool set_item_index(CControlUI* control, int index) = 0;
    virtual int get_count() const = 0;
    virtual bool add(CControlUI* control) = 0;
    virtual bool add_at(CControlUI* control, int index) = 0;
    virtual bool remove(CControlUI* control) = 0;
    virtual bool remove_at(int index) = 0;
    virtual void remove_all() = 0;
};

class CContainerUI : public CControlUI, public IContainerUI
{
public:
    CContainerUI();
    ~CContainerUI() override;

    const wchar_t* get_type_name() const override;
    void* query_interface(const wchar_t* name) override;

    CControlUI* get_item_at(int index) const override;
    int get_item_index(CControlUI* control) const override;
    bool set_item_index(CControlUI* control, int index) override;
    int get_count() const override;
    bool add(CControlUI* control) override;
    bool add_at(CControlUI* control, int index) override;
    bool remove(CControlUI* control) override;
    bool remove_at(int index) override;
    void remove_all() override;

    void set_manager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    CUIRect get_client_pos() const override;
    void set_pos(CUIRect rect, bool invalidate = true) override;
    void move(int dx, int dy, bool invalidate = true) override;
    void set_visible(bool b = true) override;
    void set_inherited_visible(bool b = true) override;
    void set_enabled(bool b = true) override;
    void set_mouse_enabled(bool b = true) override;
    CControlUI* find_control(FindControlProc proc, void* data, uint32_t flags) override;
    void handle_event(UIEvent& event) override;
    void apply_attribute(const wchar_t* name, const wchar_t* value) override;
    bool paint_layers(HDC dc, const CUIRect& paint_rect, CControlUI* stop_control) override;

    virtual CUIRect get_inset() const;
    virtual void set_inset(CUIRect inset);
    virtual int get_child_padding() const;
    virtual void set_child_padding(int padding);
    virtual int get_child_align() const;
    virtual void set_child_align(int align);
    virtual int get_child_valign() const;
    virtual void set_child_valign(int valign);
    virtual bool is_auto_destroy() const;
    virtual void set_auto_destroy(bool b);
    virtual bool is_delayed_destroy() const;
    virtual void set_delayed_destroy(bool b);
    virtual bool is_mouse_child_enabled() const;
    virtual void set_mouse_child_enabled(bool b = true);
    virtual int find_selectable(int index, bool forward = true) const;
    virtual CUISize get_scroll_pos() const;
    virtual CUISize get_scroll_range() const;
    virtual void set_scroll_pos(CUISize pos, bool notify = true);
    virtual void set_scroll_step_size(int size);
    virtual int get_scroll_step_size() const;
    virtual void set_float_pos(int index);
    virtual void process_scroll_bar(CUIRect rect, int cx_needed, int cy_needed);

protected:
    // The content rectangle: item deflated by the inset.
    CUIRect content_rect() const;
    void delete_or_defer(CControlUI* control);

    CUIPtrArray m_items;
    CUIRect m_inset;
    int m_child_padding = 0;
    int m_child_align = 0;    // 0 left, 1 centre, 2 right
    int m_child_valign = 0;   // 0 top, 4 vertical centre, 8 bottom
    bool m_auto_destroy = true;
    bool m_delayed_destroy = true;
    bool m_mouse_child = true;
    int m_scroll_step = 0;
};

// Alignment values of child_align / child_valign.
enum
{
    CHILDALIGN_LEFT = 0,
    CHILDALIGN_CENTER = 1,
    CHILDALIGN_RIGHT = 2,
    CHILDVALIGN_TOP = 0,
    CHILDVALIGN_VCENTER = 4,
    CHILDVALIGN_BOTTOM = 8,
};

} // namespace Lomar
