// Listener interfaces of the paint manager.
#pragma once

#include <windows.h>

#include "window/UINotify.h"

namespace Lomar {

class INotifyUI
{
public:
    virtual void notify(UINotify& msg) = 0;
};

class IMessageFilterUI
{
public:
    virtual LRESULT message_handler(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) = 0;
};

class ITranslateAccelerator
{
public:
    virtual LRESULT translate_accelerator(MSG* msg) = 0;
};

} // namespace Lomar
