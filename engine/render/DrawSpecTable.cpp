#include "render/DrawSpecTable.h"

namespace Lomar {

CDrawSpecTable::~CDrawSpecTable() { remove_all(); }

const ImageDrawSpec* CDrawSpecTable::get(const wchar_t* draw, const wchar_t* modify, int scale_percent)
{
    CUIString key(draw ? draw : L"");
    if (modify) key += modify;
    if (key.is_empty()) return nullptr;
    if (void* hit = m_specs.find(key)) return static_cast<const ImageDrawSpec*>(hit);
    ImageDrawSpec* spec = new ImageDrawSpec;
    spec->parse(draw, modify, scale_percent);
    m_specs.insert(key, spec);
    return spec;
}

void CDrawSpecTable::remove_all()
{
    for (int i = 0; i < m_specs.get_size(); ++i)
    {
        const wchar_t* key = m_specs.get_at(i);
        if (key) delete static_cast<ImageDrawSpec*>(m_specs.find(key, false));
    }
    m_specs.remove_all();
}

} // namespace Lomar
