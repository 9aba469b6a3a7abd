#include "VXMsgBox.h"

#include "controls/ContainerUI.h"
#include "window/ShadowUI.h"

using namespace Lomar;

namespace {
const uint32_t kOverlayColor = 0x8F000000;
const uint32_t kBoxStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
const uint32_t kBoxExStyle = WS_EX_WINDOWEDGE;
const UINT kIconResource = 101;
const wchar_t kShadowImage[] = L"vx_appended\\shadow\\shadow_black.png";
} // namespace

CVXMsgBox::CVXMsgBox()
{
    skin_file_name = L"VXMsgBox.xml";
    window_class_name = L"vxmsgbox";
}

CVXMsgBox::~CVXMsgBox() = default;

void CVXMsgBox::on_final_message(HWND window)
{
    CVXObjectWnd::on_final_message(window);
    delete this;
}

void CVXMsgBox::init_window()
{
    m_manager.set_layered(true);
    CShadowUI& shadow = m_manager.get_shadow();
    shadow.set_image(kShadowImage);
    shadow.set_shadow_corner(38, 38, 38, 38);
    shadow.show_shadow(true);
    shadow.set_size(16);
    // The skin archive has no shadow image, so the box shows without a shadow; a shadow window
    // with nothing to draw is not attached at all.
    ImageView image;
    if (m_manager.lookup_image(kShadowImage, nullptr, 0, nullptr, image)) shadow.create(&m_manager);
    m_title = FindControlRef<CTextUI>(&m_manager, L"vx_txt_title", L"Text");
    m_message = FindControlRef<CTextUI>(&m_manager, L"vx_txt_msg", L"Text");
    m_icon = FindControlRef<CLabelUI>(&m_manager, L"vx_lab_ico", L"Label");
    m_closeButton = FindControlRef<CButtonUI>(&m_manager, L"closebtn", L"Button");
    m_ok = FindControlRef<CButtonUI>(&m_manager, L"okBtn", L"Button");
    m_cancel = FindControlRef<CButtonUI>(&m_manager, L"cancelBtn", L"Button");
}

void CVXMsgBox::on_click(UINotify& msg)
{
    CControlUI* sender = msg.sender;
    if (sender == nullptr) return;
    if (sender->get_name() == L"closebtn") close(UINT(m_result));
    else if (sender == m_ok.get())
    {
        m_result = 1;
        close(1);
    }
    else if (sender == m_cancel.get())
    {
        m_result = 2;
        close(2);
    }
}

void CVXMsgBox::Fill(const wchar_t* title, const wchar_t* message, const CUIString& okText,
                     const CUIString& cancelText, const wchar_t* iconImage, bool showClose)
{
    if (m_ok)
    {
        if (okText.is_empty()) m_ok->set_visible(false);
        else m_ok->set_text(okText);
    }
    if (m_closeButton) m_closeButton->set_visible(showClose);
    if (m_cancel)
    {
        if (cancelText.is_empty()) m_cancel->set_visible(false);
        else m_cancel->set_text(cancelText);
    }
    if (m_title) m_title->set_text(title);
    if (m_message) m_message->set_text(message);
    if (iconImage && m_icon) m_icon->set_back_image(iconImage);
}

int ShowMsgBox(HWND parent, const wchar_t* caption, const wchar_t* title, const wchar_t* message,
               const CUIString& okText, const CUIString& cancelText, const wchar_t* iconImage, uint32_t style,
               uint32_t exStyle, bool showCloseButton)
{
    CVXMsgBox* box = new CVXMsgBox;
    if (box->create(parent, caption, style, exStyle) == nullptr)
    {
        delete box;
        return 0;
    }
    box->Fill(title, message, okText, cancelText, iconImage, showCloseButton);
    box->Center();
    box->set_icon(kIconResource);
    // The box deletes itself when its window is gone: nothing may touch it after this.
    return int(box->show_modal());
}

int ConfirmClose(CPaintManagerUI* manager)
{
    if (manager == nullptr) return 0;
    CControlUI* root = manager->get_root();
    CContainerUI* container = root ? static_cast<CContainerUI*>(root->query_interface(L"Container")) : nullptr;
    CControlUI* overlay = nullptr;
    if (container)
    {
        CUIRect area = root->get_pos();
        overlay = new CControlUI;
        overlay->set_fixed_width(area.width());
        overlay->set_fixed_height(area.height());
        overlay->set_float(true);
        overlay->set_back_color(kOverlayColor);
        if (!container->add_at(overlay, container->get_count()))
        {
            delete overlay;
            overlay = nullptr;
        }
    }
    int result = ShowMsgBox(manager->get_window(), L"Ostrel", L"确定关闭？", L"关闭后将中断安装流程", L"确定", L"取消",
                            nullptr, kBoxStyle, kBoxExStyle, true);
    if (overlay) container->remove(overlay);
    return result;
}
