// IDialogBuilderCallback: the application's chance to create controls the factory does not know.
#pragma once

namespace Lomar {

class CControlUI;

class IDialogBuilderCallback
{
public:
    virtual CControlUI* create_control(const wchar_t* element_name) = 0;
};

} // namespace Lomar
