// CResourceBytes (see ResourceBytes.h).
#include "resources/ResourceBytes.h"

#include <cstdlib>

namespace Lomar {

bool CResourceBytes::allocate(uint32_t size)
{
    reset();
    m_data = static_cast<unsigned char*>(std::malloc(size ? size : 1));
    if (!m_data)
        return false;
    m_size = size;
    return true;
}

void CResourceBytes::truncate(uint32_t size)
{
    if (size < m_size)
        m_size = size;
}

void CResourceBytes::reset()
{
    std::free(m_data);
    m_data = nullptr;
    m_size = 0;
}

} // namespace Lomar
