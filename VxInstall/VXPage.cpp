#include "VXPage.h"

#include "VXMsgBox.h"

void CVXPage::OnEvent(int code, int argument, int extra)
{
    if (code == VXE_POST && HasRelayTarget()) RaiseEvent(code, argument, extra);
}

void CVXPage::Minimize() const { SendMessageW(MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0); }

bool CVXPage::ConfirmAndClose() const
{
    if (ConfirmClose(m_manager) != 1) return false;
    PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    return true;
}
