// CControlFactory: the process-wide table from control class names to creators.
#pragma once

#include <map>
#include <string>

namespace Lomar {

class CControlUI;

using ControlCreator = CControlUI* (*)();

class CControlFactory
{
public:
    static CControlFactory& instance();

    // A new control of the class, or null; the name's letter case is ignored.
    CControlUI* create_control(const wchar_t* class_name) const;
    // The name is lower-cased; an existing entry is not replaced.
    void register_control(const wchar_t* class_name, ControlCreator creator);
    bool is_registered(const wchar_t* class_name) const;

private:
    CControlFactory();
    static std::wstring key_of(const wchar_t* class_name);

    std::map<std::wstring, ControlCreator> m_classes;   // lower-cased name -> creator (null: no class built)
};

} // namespace Lomar
