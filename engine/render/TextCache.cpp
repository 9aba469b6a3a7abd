#include "render/TextCache.h"

namespace Lomar {

CTextCache::~CTextCache() { clear(); }

const CTextCache::Entry* CTextCache::find(const std::wstring& key) const
{
    auto it = m_entries.find(key);
    return it == m_entries.end() ? nullptr : &it->second;
}

const CTextCache::Entry* CTextCache::insert(const std::wstring& key, HBITMAP bitmap, int width, int height)
{
    if (m_entries.size() >= kMaxEntries) clear();
    Entry& e = m_entries[key];
    if (e.bitmap) DeleteObject(e.bitmap);
    e.bitmap = bitmap;
    e.width = width;
    e.height = height;
    return &e;
}

void CTextCache::clear()
{
    for (auto& kv : m_entries)
        if (kv.second.bitmap) DeleteObject(kv.second.bitmap);
    m_entries.clear();
}

} // namespace Lomar
