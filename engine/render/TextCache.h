// CTextCache: GDI+ texts of a layered window kept as premultiplied bitmaps, so that a repaint
// composites the pixels instead of laying the text out and rasterising it again.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

namespace Lomar {

class CTextCache
{
public:
    enum { kMaxEntries = 256 };   // the whole cache is dropped when it would grow beyond this

    struct Entry
    {
        HBITMAP bitmap = nullptr;   // top-down 32-bit premultiplied, width x height
        int width = 0;
        int height = 0;
    };

    CTextCache() = default;
    ~CTextCache();
    CTextCache(const CTextCache&) = delete;
    CTextCache& operator=(const CTextCache&) = delete;

    const Entry* find(const std::wstring& key) const;
    // Takes the bitmap over; returns the stored entry.
    const Entry* insert(const std::wstring& key, HBITMAP bitmap, int width, int height);
    void clear();
    int size() const { return static_cast<int>(m_entries.size()); }

private:
    std::map<std::wstring, Entry> m_entries;
};

} // namespace Lomar
