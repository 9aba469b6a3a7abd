// CResourceCatalog: process-wide tables from resource ids to image paths, skin-file paths and
// texts, filled from a catalog file ("res.xml"). Lookups pass unknown ids through.
#pragma once

#include "core/UIString.h"
#include "core/UIStringMap.h"
#include "markup/XmlDocument.h"

namespace Lomar {

// Implemented by an application that supplies texts by id.
class IQueryControlText
{
public:
    virtual ~IQueryControlText() = default;
    virtual const wchar_t* query(const wchar_t* id, int type) = 0;
};

class CResourceCatalog
{
public:
    CResourceCatalog();
    ~CResourceCatalog();
    CResourceCatalog(const CResourceCatalog&) = delete;
    CResourceCatalog& operator=(const CResourceCatalog&) = delete;

    // The process-wide catalog, created on first use.
    static CResourceCatalog& instance();

    // `source`: a numeric resource id (below 65536, of `type`, Windows only), markup starting
    // with '<', or a file name located through the resource source. False leaves the tables
    // as they were.
    bool load(const wchar_t* source, const wchar_t* type = nullptr);

    CUIString text(const wchar_t* id, int type = 0);
    const wchar_t* image_path(const wchar_t* id);   // null when the id is not registered
    const wchar_t* xml_path(const wchar_t* id);

    void set_text_query(IQueryControlText* query) { m_query = query; }

private:
    void register_children(CXmlNode parent);
    static void free_values(CUIStringMap& map);

    CUIStringMap m_texts;               // id -> owned CUIString
    CUIStringMap m_images;              // id -> owned path CUIString
    CUIStringMap m_xmls;                // id -> owned path CUIString
    CXmlDocument m_loader;              // reads the catalog file
    IQueryControlText* m_query = nullptr;
};

} // namespace Lomar
