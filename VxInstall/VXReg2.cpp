#include "VXReg2.h"

#include <cwchar>

VXReg2::~VXReg2() { Close(); }

LSTATUS VXReg2::Create(HKEY root, const wchar_t* subkey, REGSAM access)
{
    Close();
    m_path = subkey;
    DWORD disposition = 0;
    LSTATUS status = RegCreateKeyExW(root, subkey, 0, nullptr, 0, access, nullptr, &m_key, &disposition);
    if (status != ERROR_SUCCESS) m_key = nullptr;
    return status;
}

LSTATUS VXReg2::SetString(const wchar_t* name, const wchar_t* text)
{
    if (m_key == nullptr) return ERROR_INVALID_HANDLE;
    if (text == nullptr) text = L"";
    // The byte count covers the terminating null, so readers see exactly the text.
    DWORD bytes = DWORD((wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

void VXReg2::Close()
{
    if (m_key == nullptr) return;
    RegCloseKey(m_key);
    m_key = nullptr;
}
