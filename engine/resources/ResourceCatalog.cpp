// CResourceCatalog (see ResourceCatalog.h).
#include "resources/ResourceCatalog.h"

#include <cstdint>

#ifdef _WIN32
#include "resources/ResourceModule.h"
#endif

namespace Lomar {

namespace {

wchar_t fold(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool equal_no_case(const wchar_t* a, const wchar_t* b)
{
    for (; *a && fold(*a) == fold(*b); ++a, ++b)
    {
    }
    return fold(*a) == fold(*b);
}

// Stores a copy of `path` under `id` unless the id is registered already (the first one wins).
void register_path(CUIStringMap& table, const wchar_t* id, const wchar_t* path)
{
    if (table.find(id))
        return;
    CUIString* copy = new CUIString(path);
    if (!table.insert(id, copy))
        delete copy;
}

} // namespace

CResourceCatalog::CResourceCatalog() : m_texts(83), m_images(83), m_xmls(83) {}

CResourceCatalog::~CResourceCatalog()
{
    free_values(m_texts);
    free_values(m_images);
    free_values(m_xmls);
}

CResourceCatalog& CResourceCatalog::instance()
{
    static CResourceCatalog catalog;   // thread-safe first use
    return catalog;
}

void CResourceCatalog::free_values(CUIStringMap& map)
{
    for (int i = 0; i < map.get_size(); ++i)
        if (const wchar_t* key = map.get_at(i))
            delete static_cast<CUIString*>(map.find(key, false));
    map.remove_all();
}

bool CResourceCatalog::load(const wchar_t* source, const wchar_t* type)
{
    if (!source)
        return false;
    bool loaded;
    if (reinterpret_cast<uintptr_t>(source) < 0x10000)
    {
#ifdef _WIN32
        const void* data;
        uint32_t size;
        loaded = CResourceModule::find(nullptr, source, type, &data, &size) &&
                 m_loader.load_from_memory(static_cast<const unsigned char*>(data), size);
#else
        (void)type;
        loaded = false;   // there are no module resources off Windows
#endif
    }
    else if (source[0] == L'<')
        loaded = m_loader.load(source);
    else
        loaded = m_loader.load_from_file(source);
    if (!loaded)
        return false;
    register_children(m_loader.root());
    return true;
}

void CResourceCatalog::register_children(CXmlNode parent)
{
    for (CXmlNode node = parent.first_child(); node.is_valid(); node = node.next_sibling())
    {
        if (node.has_children())
        {
            register_children(node);
            continue;
        }
        const wchar_t* name = node.name();
        bool image = equal_no_case(name, L"Image");
        if ((!image && !equal_no_case(name, L"Xml")) || !node.has_attributes())
            continue;
        const wchar_t* id = nullptr;
        const wchar_t* path = nullptr;
        for (int i = 0; i < node.attribute_count(); ++i)
        {
            if (equal_no_case(node.attribute_name(i), L"id"))
                id = node.attribute_value(i);
            else if (equal_no_case(node.attribute_name(i), L"path"))
                path = node.attribute_value(i);
        }
        if (id && path)
            register_path(image ? m_images : m_xmls, id, path);
    }
}

CUIString CResourceCatalog::text(const wchar_t* id, int type)
{
    if (!id)
        return CUIString();
    if (const CUIString* known = static_cast<CUIString*>(m_texts.find(id)))
        return *known;
    if (m_query)
    {
        if (const wchar_t* answer = m_query->query(id, type))
        {
            CUIString* copy = new CUIString(answer);
            if (!m_texts.insert(id, copy))
                delete copy;
            return CUIString(answer);
        }
    }
    return CUIString(id);
}

const wchar_t* CResourceCatalog::image_path(const wchar_t* id)
{
    const CUIString* path = id ? static_cast<CUIString*>(m_images.find(id)) : nullptr;
    return path ? path->data() : nullptr;
}

const wchar_t* CResourceCatalog::xml_path(const wchar_t* id)
{
    const CUIString* path = id ? static_cast<CUIString*>(m_xmls.find(id)) : nullptr;
    return path ? path->data() : nullptr;
}

} // namespace Lomar
