#include "core/UIPtrArray.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace Lomar {

CUIPtrArray::CUIPtrArray(int initial_capacity) : m_data(nullptr), m_count(0), m_capacity(0)
{
    if (initial_capacity > 0)
    {
        m_data = static_cast<void**>(calloc(size_t(initial_capacity), sizeof(void*)));
        if (m_data) m_capacity = initial_capacity;
    }
}

CUIPtrArray::CUIPtrArray(const CUIPtrArray& other) : m_data(nullptr), m_count(0), m_capacity(0)
{
    for (int i = 0; i < other.m_count; ++i) add(other.m_data[i]);
}

CUIPtrArray& CUIPtrArray::operator=(const CUIPtrArray& other)
{
    if (this == &other) return *this;
    empty();
    for (int i = 0; i < other.m_count; ++i) add(other.m_data[i]);
    return *this;
}

CUIPtrArray::~CUIPtrArray() { free(m_data); }

// Growth rule: once the count reaches the capacity, double it (11 slots the first time).
bool CUIPtrArray::grow_for_one_more()
{
    if (m_count + 1 < m_capacity) return true;
    int new_capacity;
    if (m_capacity == 0) new_capacity = 11;
    else if (m_capacity > INT_MAX / 2) return false;
    else new_capacity = m_capacity * 2;
    if (new_capacity < m_count + 1) new_capacity = m_count + 1;
    void** block = static_cast<void**>(realloc(m_data, size_t(new_capacity) * sizeof(void*)));
    if (block == nullptr) return false;
    m_data = block;
    m_capacity = new_capacity;
    return true;
}

bool CUIPtrArray::add(void* p)
{
    if (!grow_for_one_more()) return false;
    m_data[m_count++] = p;
    return true;
}

bool CUIPtrArray::insert_at(int index, void* p)
{
    if (index == m_count) return add(p);
    if (index < 0 || index > m_count) return false;
    if (!grow_for_one_more()) return false;
    memmove(&m_data[index + 1], &m_data[index], size_t(m_count - index) * sizeof(void*));
    m_data[index] = p;
    ++m_count;
    return true;
}

bool CUIPtrArray::set_at(int index, void* p)
{
    if (index < 0 || index >= m_count) return false;
    m_data[index] = p;
    return true;
}

bool CUIPtrArray::remove(int index)
{
    if (index < 0 || index >= m_count) return false;
    --m_count;
    if (index < m_count)
        memmove(&m_data[index], &m_data[index + 1], size_t(m_count - index) * sizeof(void*));
    return true;
}

int CUIPtrArray::find(const void* p) const
{
    for (int i = 0; i < m_count; ++i)
        if (m_data[i] == p) return i;
    return -1;
}

void* CUIPtrArray::get_at(int index) const
{
    if (index < 0 || index >= m_count) return nullptr;
    return m_data[index];
}

void CUIPtrArray::resize(int n)
{
    empty();
    if (n <= 0) return;
    m_data = static_cast<void**>(calloc(size_t(n), sizeof(void*)));
    if (m_data == nullptr) return;
    m_count = m_capacity = n;
}

void CUIPtrArray::empty()
{
    free(m_data);
    m_data = nullptr;
    m_count = m_capacity = 0;
}

} // namespace Lomar
