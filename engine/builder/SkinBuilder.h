// CSkinBuilder: a skin file to a control tree, with the skin's resources and window settings.
#pragma once

#include <windows.h>

#include "markup/XmlDocument.h"

namespace Lomar {

class CControlUI;
class CPaintManagerUI;
class IDialogBuilderCallback;

class CSkinBuilder
{
public:
    CSkinBuilder();

    // skin: a numeric resource id (below 65536, with a type), markup starting with '<', or a
    // skin file name. Returns the first top-level control, or null.
    CControlUI* create(const wchar_t* skin, const wchar_t* type = nullptr, IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    // Builds from the document already loaded.
    CControlUI* create(IDialogBuilderCallback* callback, CPaintManagerUI* manager, CControlUI* parent = nullptr);
    CXmlDocument& document() { return m_document; }
    void set_resource_module(HINSTANCE module) { m_module = module; }

private:
    CControlUI* build_level(CXmlNode node, CControlUI* parent, CPaintManagerUI* manager);
    void register_resources(CXmlNode root, CPaintManagerUI* manager);
    void apply_window_attributes(CXmlNode root, CPaintManagerUI* manager);

    CXmlDocument m_document;
    IDialogBuilderCallback* m_callback = nullptr;
    const wchar_t* m_type = nullptr;   // set when the skin came from a resource of the executable
    HINSTANCE m_module = nullptr;
};

} // namespace Lomar
