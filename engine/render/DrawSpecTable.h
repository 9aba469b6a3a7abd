// CDrawSpecTable: a window's cache of parsed image strings, keyed by draw + modify string.
#pragma once

#include "core/UIStringMap.h"
#include "render/ImageDrawSpec.h"

namespace Lomar {

class CDrawSpecTable
{
public:
    CDrawSpecTable() = default;
    ~CDrawSpecTable();
    CDrawSpecTable(const CDrawSpecTable&) = delete;
    CDrawSpecTable& operator=(const CDrawSpecTable&) = delete;

    // The cached spec for the pair, parsed and stored on a miss; null for an empty key.
    const ImageDrawSpec* get(const wchar_t* draw, const wchar_t* modify, int scale_percent = 100);
    void remove_all();
    int size() const { return m_specs.get_size(); }

private:
    CUIStringMap m_specs;  // key -> owned ImageDrawSpec
};

} // namespace Lomar
