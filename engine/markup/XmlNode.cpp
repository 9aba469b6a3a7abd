// CXmlNode: walking the element records and mapping attributes lazily.
#include "markup/XmlDocument.h"

namespace Lomar {

namespace {

bool is_space(wchar_t c) { return c != 0 && static_cast<unsigned>(c) <= 32; }

wchar_t fold(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool equal_no_case(const wchar_t* a, const wchar_t* b)
{
    for (; *a && fold(*a) == fold(*b); ++a, ++b)
    {
    }
    return fold(*a) == fold(*b);
}

} // namespace

const wchar_t* CXmlNode::name() const
{
    return m_document ? m_document->m_text + m_document->m_elements[m_element].name : nullptr;
}

const wchar_t* CXmlNode::value() const
{
    return m_document ? m_document->m_text + m_document->m_elements[m_element].value : nullptr;
}

CXmlNode CXmlNode::first_child() const
{
    if (!m_document || !m_document->m_elements[m_element].first_child)
        return CXmlNode();
    return CXmlNode(m_document, m_document->m_elements[m_element].first_child);
}

CXmlNode CXmlNode::next_sibling() const
{
    if (!m_document || !m_document->m_elements[m_element].next_sibling)
        return CXmlNode();
    return CXmlNode(m_document, m_document->m_elements[m_element].next_sibling);
}

bool CXmlNode::has_children() const
{
    return m_document && m_document->m_elements[m_element].first_child != 0;
}

// Walks from the element name to its value: name NUL, then (name, space, quote, value NUL)
// pairs separated by whitespace. Every step stays before the element's value offset.
void CXmlNode::map_attributes() const
{
    if (!m_document || m_attribute_count)
        return;
    const wchar_t* text = m_document->m_text;
    const CXmlDocument::Element& e = m_document->m_elements[m_element];
    const wchar_t* limit = text + e.value;
    const wchar_t* p = text + e.name;
    while (p < limit && *p)
        ++p;
    ++p;
    while (p < limit)
    {
        while (p < limit && is_space(*p))
            ++p;
        if (p >= limit || !*p)
            break;
        const wchar_t* name = p;
        while (p < limit && *p)
            ++p;
        ++p;
        while (p < limit && is_space(*p))
            ++p;
        if (p >= limit || *p != L'"')
            break;
        ++p;
        m_attributes[m_attribute_count].name = static_cast<int>(name - text);
        m_attributes[m_attribute_count].value = static_cast<int>(p - text);
        if (++m_attribute_count == kMaxAttributes)
            break;
        while (p < limit && *p)
            ++p;
        ++p;
    }
}

bool CXmlNode::has_attributes() const
{
    map_attributes();
    return m_attribute_count > 0;
}

int CXmlNode::attribute_count() const
{
    map_attributes();
    return m_attribute_count;
}

const wchar_t* CXmlNode::attribute_name(int index) const
{
    if (!m_document)
        return nullptr;
    map_attributes();
    if (index < 0 || index >= m_attribute_count)
        return L"";
    return m_document->m_text + m_attributes[index].name;
}

const wchar_t* CXmlNode::attribute_value(int index) const
{
    if (!m_document)
        return nullptr;
    map_attributes();
    if (index < 0 || index >= m_attribute_count)
        return L"";
    return m_document->m_text + m_attributes[index].value;
}

bool CXmlNode::attribute_value(const wchar_t* name, wchar_t* buffer, int capacity) const
{
    if (!m_document || !name)
        return false;
    map_attributes();
    for (int i = 0; i < m_attribute_count; ++i)
    {
        if (!equal_no_case(m_document->m_text + m_attributes[i].name, name))
            continue;
        if (buffer && capacity > 0)
        {
            const wchar_t* value = m_document->m_text + m_attributes[i].value;
            int n = 0;
            for (; n < capacity - 1 && value[n]; ++n)
                buffer[n] = value[n];
            buffer[n] = 0;
        }
        return true;
    }
    return false;
}

} // namespace Lomar
