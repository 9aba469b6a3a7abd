// How windows and pages hold the controls of their skin: non-owning shared handles.
// The control tree owns every control; releasing a handle never frees one.
#pragma once

#include "VxBase.h"
#include "controls/ControlUI.h"
#include "window/PaintManagerUI.h"

#include <memory>

template <typename T>
using ControlRef = std::shared_ptr<T>;

// Finds a control by name and checks its class through the engine's interface query; a name
// that is missing, or a control of another class, gives an empty handle the owner keeps.
template <typename T>
ControlRef<T> FindControlRef(Lomar::CPaintManagerUI* manager, const wchar_t* name, const wchar_t* interfaceName)
{
    Lomar::CControlUI* control = manager ? manager->find_control_by_name(name) : nullptr;
    T* typed = control ? static_cast<T*>(control->query_interface(interfaceName)) : nullptr;
    return MakeWeakHandle(typed);
}
