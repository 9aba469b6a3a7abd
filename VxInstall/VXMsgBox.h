// The installer's skinned modal message box and the close confirmation of the wizard pages.
#pragma once

#include "ControlRef.h"
#include "VXObjectWnd.h"
#include "controls/ButtonUI.h"
#include "controls/LabelUI.h"
#include "controls/TextUI.h"
#include "core/UIString.h"
#include "window/PaintManagerUI.h"

#include <windows.h>

#include <cstdint>

class CVXMsgBox : public CVXObjectWnd
{
public:
    CVXMsgBox();
    ~CVXMsgBox() override;

    void on_final_message(HWND window) override;
    void init_window() override;
    void on_click(Lomar::UINotify& msg) override;
    void OnEvent(int, int, int) override {}

    // Fills the box before it runs (the window exists).
    void Fill(const wchar_t* title, const wchar_t* message, const Lomar::CUIString& okText,
              const Lomar::CUIString& cancelText, const wchar_t* iconImage, bool showClose);

private:
    int m_result = 0;
    ControlRef<Lomar::CTextUI> m_title;
    ControlRef<Lomar::CTextUI> m_message;
    ControlRef<Lomar::CLabelUI> m_icon;
    ControlRef<Lomar::CButtonUI> m_closeButton;
    ControlRef<Lomar::CButtonUI> m_ok;
    ControlRef<Lomar::CButtonUI> m_cancel;
};

// Runs one box modally over `parent`: 1 for OK, 2 for cancel, 0 for a close without answer.
int ShowMsgBox(HWND parent, const wchar_t* caption, const wchar_t* title, const wchar_t* message,
               const Lomar::CUIString& okText, const Lomar::CUIString& cancelText, const wchar_t* iconImage,
               uint32_t style, uint32_t exStyle, bool showCloseButton);

// Dims the main window, asks whether to close, removes the dimming; returns the box's answer.
int ConfirmClose(Lomar::CPaintManagerUI* manager);
