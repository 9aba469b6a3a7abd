#include "core/UIString.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

namespace Lomar {

namespace {

int text_length(const wchar_t* text)
{
    if (text == nullptr) return 0;
    int n = 0;
    while (text[n] != L'\0') ++n;
    return n;
}

const wchar_t* or_empty(const wchar_t* text) { return text ? text : L""; }

#ifndef _WIN32
wchar_t fold_lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c; }
#endif

// Formats into a buffer of exactly `capacity` characters; returns the count or -1 when cut.
int format_into(wchar_t* buffer, size_t capacity, const wchar_t* pattern, va_list args)
{
#ifdef _WIN32
    int n = _vsnwprintf(buffer, capacity - 1, pattern, args);
    buffer[capacity - 1] = L'\0';
    return n;
#else
    int n = vswprintf(buffer, capacity, pattern, args);
    buffer[capacity - 1] = L'\0';
    return n;
#endif
}

} // namespace

CUIString::CUIString() : m_text(m_inline) { m_inline[0] = L'\0'; }

CUIString::CUIString(const wchar_t* text, int length) : m_text(m_inline)
{
    m_inline[0] = L'\0';
    assign(text, length);
}

CUIString::CUIString(const CUIString& other) : m_text(m_inline)
{
    m_inline[0] = L'\0';
    assign(other.m_text);
}

CUIString::CUIString(wchar_t ch) : m_text(m_inline)
{
    m_inline[0] = ch;
    m_inline[1] = L'\0';
}

CUIString::~CUIString()
{
    if (!is_inline()) free(m_text);
}

void CUIString::set_length_and_copy(const wchar_t* text, int length)
{
    if (length <= kMaxInlineLength)
    {
        if (!is_inline())
        {
            // The source may live in our own heap block: copy before freeing it.
            wchar_t* old = m_text;
            memmove(m_inline, text, size_t(length) * sizeof(wchar_t));
            free(old);
            m_text = m_inline;
        }
        else
        {
            memmove(m_inline, text, size_t(length) * sizeof(wchar_t));
        }
        m_inline[length] = L'\0';
        return;
    }
    if (is_inline() || this->length() < length)
    {
        wchar_t* block = static_cast<wchar_t*>(malloc((size_t(length) + 1) * sizeof(wchar_t)));
        if (block == nullptr) return; // keep the old text rather than lose the string
        memcpy(block, text, size_t(length) * sizeof(wchar_t));
        block[length] = L'\0';
        if (!is_inline()) free(m_text);
        m_text = block;
        return;
    }
    memmove(m_text, text, size_t(length) * sizeof(wchar_t));
    m_text[length] = L'\0';
}

void CUIString::assign(const wchar_t* text, int length)
{
    text = or_empty(text);
    if (length < 0) length = text_length(text);
    else
    {
        // Never read past the end of a shorter text.
        int real = 0;
        while (real < length && text[real] != L'\0') ++real;
        length = real;
    }
    set_length_and_copy(text, length);
}

void CUIString::empty()
{
    if (!is_inline()) free(m_text);
    m_text = m_inline;
    m_inline[0] = L'\0';
}

int CUIString::length() const { return text_length(m_text); }

void CUIString::append(const wchar_t* text)
{
    text = or_empty(text);
    int old_length = length();
    int add = text_length(text);
    if (add == 0) return;
    int total = old_length + add;
    if (total <= kMaxInlineLength)
    {
        memmove(m_inline + old_length, text, size_t(add) * sizeof(wchar_t));
        m_inline[total] = L'\0';
        return;
    }
    if (is_inline())
    {
        wchar_t* block = static_cast<wchar_t*>(malloc((size_t(total) + 1) * sizeof(wchar_t)));
        if (block == nullptr) return;
        memcpy(block, m_inline, size_t(old_length) * sizeof(wchar_t));
        memcpy(block + old_length, text, size_t(add) * sizeof(wchar_t));
        block[total] = L'\0';
        m_text = block;
        return;
    }
    // The appended text may point into our own block, which realloc can move.
    std::vector<wchar_t> copy;
    if (text >= m_text && text <= m_text + old_length)
    {
        copy.assign(text, text + add);
        text = copy.data();
    }
    wchar_t* block = static_cast<wchar_t*>(realloc(m_text, (size_t(total) + 1) * sizeof(wchar_t)));
    if (block == nullptr) return;
    memcpy(block + old_length, text, size_t(add) * sizeof(wchar_t));
    block[total] = L'\0';
    m_text = block;
}

CUIString& CUIString::operator=(const wchar_t* text)
{
    assign(text);
    return *this;
}

CUIString& CUIString::operator=(const CUIString& other)
{
    if (this != &other) assign(other.m_text);
    return *this;
}

CUIString& CUIString::operator=(wchar_t ch)
{
    wchar_t text[2] = {ch, L'\0'};
    assign(text);
    return *this;
}

CUIString& CUIString::operator+=(const wchar_t* text)
{
    append(text);
    return *this;
}

CUIString& CUIString::operator+=(const CUIString& other)
{
    append(other.m_text);
    return *this;
}

CUIString& CUIString::operator+=(wchar_t ch)
{
    wchar_t text[2] = {ch, L'\0'};
    append(text);
    return *this;
}

CUIString CUIString::operator+(const CUIString& other) const
{
    CUIString result(*this);
    result.append(other.m_text);
    return result;
}

CUIString CUIString::operator+(const wchar_t* text) const
{
    CUIString result(*this);
    result.append(text);
    return result;
}

int CUIString::compare(const wchar_t* text) const
{
    text = or_empty(text);
    // Ordinal by 16-bit code unit, whatever the width of wchar_t on the host.
    for (int i = 0;; ++i)
    {
        unsigned a = unsigned(m_text[i]) & 0xFFFFu;
        unsigned b = unsigned(text[i]) & 0xFFFFu;
        if (a != b) return a < b ? -1 : 1;
        if (a == 0) return 0;
    }
}

int CUIString::compare_no_case(const wchar_t* text) const
{
    text = or_empty(text);
#ifdef _WIN32
    int r = _wcsicmp(m_text, text);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
#else
    for (int i = 0;; ++i)
    {
        unsigned a = unsigned(fold_lower(m_text[i])) & 0xFFFFu;
        unsigned b = unsigned(fold_lower(text[i])) & 0xFFFFu;
        if (a != b) return a < b ? -1 : 1;
        if (a == 0) return 0;
    }
#endif
}

void CUIString::make_lower()
{
#ifdef _WIN32
    _wcslwr(m_text);
#else
    for (wchar_t* p = m_text; *p; ++p) *p = fold_lower(*p);
#endif
}

CUIString CUIString::left(int n) const
{
    int len = length();
    if (n < 0) n = 0;
    if (n > len) n = len;
    return CUIString(m_text, n);
}

CUIString CUIString::mid(int start, int n) const
{
    int len = length();
    if (start < 0) start = 0;
    if (start > len) return CUIString();
    if (n < 0 || start + n > len) n = len - start;
    if (n <= 0) return CUIString();
    return CUIString(m_text + start, n);
}

CUIString CUIString::right(int n) const
{
    int len = length();
    int start = len - n;
    if (start < 0) start = 0;
    if (start > len) return CUIString();
    return CUIString(m_text + start);
}

int CUIString::find(const wchar_t* text, int start) const
{
    int len = length();
    if (start != 0 && (start < 0 || start > len)) return -1;
    text = or_empty(text);
    int n = text_length(text);
    for (int i = start; i + n <= len; ++i)
    {
        int k = 0;
        while (k < n && m_text[i + k] == text[k]) ++k;
        if (k == n) return i;
    }
    return -1;
}

int CUIString::find(wchar_t ch, int start) const
{
    int len = length();
    if (start != 0 && (start < 0 || start >= len)) return -1;
    for (int i = start; i < len; ++i)
        if (m_text[i] == ch) return i;
    return -1;
}

int CUIString::reverse_find(wchar_t ch) const
{
    for (int i = length() - 1; i >= 0; --i)
        if (m_text[i] == ch) return i;
    return -1;
}

int CUIString::replace(const wchar_t* from, const wchar_t* to)
{
    from = or_empty(from);
    to = or_empty(to);
    int from_length = text_length(from);
    if (from_length == 0) return 0; // an empty pattern would match forever
    int to_length = text_length(to);
    int count = 0;
    int position = find(from, 0);
    while (position >= 0)
    {
        CUIString rebuilt = left(position);
        rebuilt.append(to);
        rebuilt.append(m_text + position + from_length);
        assign(rebuilt.m_text);
        position = find(from, position + to_length);
        ++count;
    }
    return count;
}

int CUIString::format(const wchar_t* pattern, ...)
{
    if (pattern == nullptr)
    {
        empty();
        return -1;
    }
    va_list args;
    va_start(args, pattern);
    int needed;
#ifdef _WIN32
    va_list probe;
    va_copy(probe, args);
    needed = _vscwprintf(pattern, probe);
    va_end(probe);
    if (needed < 0)
    {
        va_end(args);
        empty();
        return -1;
    }
    std::vector<wchar_t> buffer(size_t(needed) + 1);
    int n = _vsnwprintf(buffer.data(), buffer.size(), pattern, args);
    va_end(args);
    if (n < 0)
    {
        empty();
        return -1;
    }
    buffer[size_t(needed)] = L'\0';
    assign(buffer.data());
    return n;
#else
    // The host gives no size probe for wide formatting: grow until it fits.
    std::vector<wchar_t> buffer(256);
    for (;;)
    {
        va_list attempt;
        va_copy(attempt, args);
        needed = vswprintf(buffer.data(), buffer.size(), pattern, attempt);
        va_end(attempt);
        if (needed >= 0) break;
        if (buffer.size() >= (size_t(1) << 24))
        {
            va_end(args);
            empty();
            return -1;
        }
        buffer.resize(buffer.size() * 2);
    }
    va_end(args);
    assign(buffer.data());
    return needed;
#endif
}

int CUIString::small_format(const wchar_t* pattern, ...)
{
    wchar_t buffer[kInlineCapacity];
    buffer[0] = L'\0';
    if (pattern == nullptr)
    {
        empty();
        return -1;
    }
    va_list args;
    va_start(args, pattern);
    int n = format_into(buffer, kInlineCapacity, pattern, args);
    va_end(args);
    assign(buffer);
    if (n < 0 || n >= kInlineCapacity) return -1;
    return n;
}

bool operator==(const wchar_t* text, const CUIString& s) { return s.compare(text) == 0; }
bool operator!=(const wchar_t* text, const CUIString& s) { return s.compare(text) != 0; }

} // namespace Lomar
