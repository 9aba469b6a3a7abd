// The in-place parser of CXmlDocument. The buffer is always NUL-terminated and every scan stops
// at a NUL, so no position ever passes the end of the text.
#include "markup/XmlDocument.h"

#include "zip/Utf8.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace Lomar {

namespace {

// Any code unit up to 32 except the terminator.
bool is_space(wchar_t c) { return c != 0 && static_cast<unsigned>(c) <= 32; }

// Letters and digits, '_' and ':'. Every non-ASCII unit counts as a letter: the same on every
// host, whatever its C library's locale tables say.
bool is_name_char(wchar_t c)
{
    unsigned u = static_cast<unsigned>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
           u == ':' || u >= 0x80;
}

wchar_t* skip_space(wchar_t* p)
{
    while (is_space(*p))
        ++p;
    return p;
}

bool starts_with(const wchar_t* p, const wchar_t* prefix)
{
    for (; *prefix; ++p, ++prefix)
        if (*p != *prefix)
            return false;
    return true;
}

struct Entity
{
    const wchar_t* name;   // after '&', with its ';'
    wchar_t character;
};

const Entity kEntities[] = {
    {L"amp;", L'&'}, {L"lt;", L'<'}, {L"gt;", L'>'}, {L"quot;", L'"'}, {L"apos;", L'\''},
};

} // namespace

CXmlDocument::CXmlDocument(const wchar_t* text)
{
    if (text)
        load(text);
}

CXmlDocument::~CXmlDocument() { release(); }

void CXmlDocument::release()
{
    std::free(m_text);
    std::free(m_elements);
    m_text = nullptr;
    m_elements = nullptr;
    m_count = m_capacity = 0;
}

void CXmlDocument::clear_error()
{
    m_error[0] = 0;
    m_error_location[0] = 0;
}

bool CXmlDocument::fail(const wchar_t* message, const wchar_t* where)
{
    size_t i = 0;
    for (; message[i] && i + 1 < sizeof(m_error) / sizeof(m_error[0]); ++i)
        m_error[i] = message[i];
    m_error[i] = 0;
    i = 0;
    if (where)
        for (; where[i] && i + 1 < sizeof(m_error_location) / sizeof(m_error_location[0]); ++i)
            m_error_location[i] = where[i];
    m_error_location[i] = 0;
    return false;
}

bool CXmlDocument::load(const wchar_t* text)
{
    release();
    clear_error();
    if (!text)
        return false;
    size_t length = 0;
    while (text[length])
        ++length;
    wchar_t* copy = static_cast<wchar_t*>(std::malloc((length + 1) * sizeof(wchar_t)));
    if (!copy)
        return false;
    std::memcpy(copy, text, (length + 1) * sizeof(wchar_t));
    return take_text(copy, length);
}

bool CXmlDocument::load_from_memory(const unsigned char* bytes, uint32_t count, XmlEncoding)
{
    release();
    clear_error();
    if (!bytes)
        return false;
    if (count > 2 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
    {
        bytes += 3;
        count -= 3;
    }
    const char* utf8 = reinterpret_cast<const char*>(bytes);
    size_t length = utf8_to_utf16(utf8, count, nullptr, 0);   // never more units than bytes
    wchar_t* text = static_cast<wchar_t*>(std::malloc((length + 1) * sizeof(wchar_t)));
    if (!text)
        return false;
    length = utf8_to_utf16(utf8, count, text, length);
    text[length] = 0;
    return take_text(text, length);
}

bool CXmlDocument::take_text(wchar_t* text, size_t length)
{
    if (length > static_cast<size_t>(INT_MAX) - 1)
    {
        std::free(text);
        return false;
    }
    m_text = text;
    if (!parse())
    {
        release();
        return false;
    }
    return true;
}

CXmlNode CXmlDocument::root()
{
    if (!m_elements || m_count < 2)
        return CXmlNode();
    return CXmlNode(this, 1);
}

int CXmlDocument::add_element()
{
    if (m_count == m_capacity)
    {
        if (m_capacity > (INT_MAX - 500) / 2)
            return -1;
        int capacity = m_capacity + m_capacity / 2 + 500;
        void* grown = std::realloc(m_elements, static_cast<size_t>(capacity) * sizeof(Element));
        if (!grown)
            return -1;
        m_elements = static_cast<Element*>(grown);
        m_capacity = capacity;
    }
    Element& e = m_elements[m_count];
    e.name = e.first_child = e.next_sibling = e.parent = e.value = 0;
    return m_count++;
}

bool CXmlDocument::parse()
{
    m_count = 0;
    if (add_element() != 0)   // placeholder record 0
        return false;
    wchar_t* p = m_text;
    return parse_elements(p, 0, 0);
}

// Copies text up to `terminator` (or the end) in place, translating the five named entities.
// Returns the read position; *end gets the write position. The gap between them becomes spaces.
wchar_t* CXmlDocument::copy_text(wchar_t* p, wchar_t terminator, wchar_t** end)
{
    wchar_t* out = p;
    while (*p && *p != terminator)
    {
        if (*p == L'&')
        {
            ++p;
            const Entity* hit = nullptr;
            for (const Entity& entity : kEntities)
                if (starts_with(p, entity.name))
                {
                    hit = &entity;
                    break;
                }
            if (hit)
            {
                *out++ = hit->character;
                p += std::char_traits<wchar_t>::length(hit->name);
            }
            else
                *out++ = L'&';
            continue;
        }
        *out++ = *p++;
    }
    *end = out;
    for (wchar_t* q = out; q < p; ++q)
        *q = L' ';
    return p;
}

bool CXmlDocument::parse_attributes(wchar_t*& p)
{
    if (starts_with(p, L"/>") || *p == L'>')
        return true;
    *p++ = 0;   // terminates the element name
    p = skip_space(p);
    if (!*p)
        return true;
    while (*p != L'>' && *p != L'/')
    {
        while (is_name_char(*p))
            ++p;
        wchar_t* name_end = p;
        p = skip_space(p);
        if (*p != L'=')
            return fail(L"Error while parsing attributes", p);
        *p++ = L' ';
        *name_end = 0;
        p = skip_space(p);
        if (*p != L'"')
            return fail(L"Expected attribute value", p);
        ++p;
        wchar_t* value_end;
        p = copy_text(p, L'"', &value_end);
        if (!*p)
            return fail(L"Error while parsing attribute string", p);
        *value_end = 0;
        if (value_end != p)
            *p = L' ';
        ++p;
        p = skip_space(p);
        if (!*p)
            break;
    }
    return true;
}

bool CXmlDocument::parse_elements(wchar_t*& p, int parent, int depth)
{
    if (depth > kMaxDepth)
        return fail(L"Expected start tag", p);   // nesting this deep is no skin
    p = skip_space(p);
    int previous = 0;
    for (;;)
    {
        if (!*p)
            return (parent == 0 || parent == 1) ? true : fail(L"Expected start tag", p);
        p = skip_space(p);
        if (!*p)
            continue;
        if (*p != L'<')
            return fail(L"Expected start tag", p);
        if (p[1] == L'/')
            return true;   // the caller reads the closing tag
        *p++ = 0;
        p = skip_space(p);
        if (*p == L'!' || *p == L'?')
        {
            const wchar_t* close = *p == L'!' ? L"->" : L"?>";
            while (*p && !starts_with(p, close))
                ++p;
            if (*p)
                p += 2;
            p = skip_space(p);
            continue;
        }

        int index = add_element();
        if (index < 0)
            return fail(L"Expected start tag", p);
        m_elements[index].name = static_cast<int>(p - m_text);
        m_elements[index].parent = parent;
        if (previous)
            m_elements[previous].next_sibling = index;
        else if (parent)
            m_elements[parent].first_child = index;

        wchar_t* name = p;
        while (is_name_char(*p))
            ++p;
        const size_t name_length = static_cast<size_t>(p - name);
        if (!*p)
            return fail(L"Error parsing element name", name);
        if (!parse_attributes(p))
            return false;
        p = skip_space(p);
        if (starts_with(p, L"/>"))
        {
            m_elements[index].value = static_cast<int>(p - m_text);
            *p = 0;
            p += 2;
        }
        else
        {
            if (*p != L'>')
                return fail(L"Expected start-tag closing", p);
            *p++ = 0;   // also ends a name written right before '>'
            m_elements[index].value = static_cast<int>(p - m_text);
            wchar_t* text_end;
            p = copy_text(p, L'<', &text_end);
            if (!*p)
            {
                *text_end = 0;
                return (parent == 0 || parent == 1) ? true : fail(L"Expected start tag", p);
            }
            if (*p != L'<')
                return fail(L"Expected end-tag start", p);
            if (p[1] != L'/')
            {
                if (!parse_elements(p, index, depth + 1))
                    return false;
                if (!*p)
                {
                    *text_end = 0;
                    return true;   // only the first element may stay open at the end
                }
            }
            *text_end = 0;
            *p = 0;
            p = skip_space(p + 2);
            // The name is compared over its length; a shorter text differs at its NUL.
            wchar_t* closing = p;
            for (size_t k = 0; k < name_length; ++k)
                if (p[k] != name[k])
                    return fail(L"Unmatched closing tag", closing);
            p += name_length;
            p = skip_space(p);
            if (*p != L'>')
                return fail(L"Unmatched closing tag", closing);
            ++p;
        }
        name[name_length] = 0;
        p = skip_space(p);
        previous = index;
    }
}

} // namespace Lomar
