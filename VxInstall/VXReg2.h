// VXReg2: owns at most one open registry key; the uninstall entry is written through it.
#pragma once

#include "core/UIString.h"

#include <windows.h>

using Lomar::CUIString;

class VXReg2
{
public:
    VXReg2() = default;
    virtual ~VXReg2();
    VXReg2(const VXReg2&) = delete;
    VXReg2& operator=(const VXReg2&) = delete;

    LSTATUS Create(HKEY root, const wchar_t* subkey, REGSAM access);
    LSTATUS SetString(const wchar_t* name, const wchar_t* text);
    void Close();
    HKEY handle() const { return m_key; }

private:
    CUIString m_path;
    HKEY m_key = nullptr;
};
