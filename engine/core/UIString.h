// CUIString: the engine's UTF-16 text with a 63-character inline buffer.
// Short texts (attribute names, control names, short values) never touch the heap.
#pragma once

#include <cstddef>
#include <cwchar>

namespace Lomar {

class CUIString
{
public:
    enum { kInlineCapacity = 64 };   // characters, terminator included
    enum { kMaxInlineLength = 62 };  // a text of 63 characters or more lives on the heap

    CUIString();
    CUIString(const wchar_t* text, int length = -1);
    CUIString(const CUIString& other);
    CUIString(wchar_t ch);
    ~CUIString();

    void assign(const wchar_t* text, int length = -1);
    void empty();

    int length() const;
    bool is_empty() const { return m_text[0] == L'\0'; }
    wchar_t get_at(int index) const { return m_text[index]; }
    wchar_t operator[](int index) const { return m_text[index]; }
    const wchar_t* data() const { return m_text; }
    operator const wchar_t*() const { return m_text; }

    void append(const wchar_t* text);

    CUIString& operator=(const wchar_t* text);
    CUIString& operator=(const CUIString& other);
    CUIString& operator=(wchar_t ch);
    CUIString& operator+=(const wchar_t* text);
    CUIString& operator+=(const CUIString& other);
    CUIString& operator+=(wchar_t ch);
    CUIString operator+(const CUIString& other) const;
    CUIString operator+(const wchar_t* text) const;

    int compare(const wchar_t* text) const;
    int compare_no_case(const wchar_t* text) const;
    bool operator==(const wchar_t* text) const { return compare(text) == 0; }
    bool operator!=(const wchar_t* text) const { return compare(text) != 0; }
    bool operator<(const wchar_t* text) const { return compare(text) < 0; }
    bool operator<=(const wchar_t* text) const { return compare(text) <= 0; }
    bool operator>(const wchar_t* text) const { return compare(text) > 0; }
    bool operator>=(const wchar_t* text) const { return compare(text) >= 0; }

    void make_lower();

    CUIString left(int n) const;
    CUIString mid(int start, int n = -1) const;
    CUIString right(int n) const;

    int find(const wchar_t* text, int start = 0) const;
    int find(wchar_t ch, int start = 0) const;
    int reverse_find(wchar_t ch) const;
    int replace(const wchar_t* from, const wchar_t* to);

    // printf-style; on Windows "%s" takes a wide text, as the platform's wide printf does.
    int format(const wchar_t* pattern, ...);
    int small_format(const wchar_t* pattern, ...);

private:
    bool is_inline() const { return m_text == m_inline; }
    void set_length_and_copy(const wchar_t* text, int length);

    wchar_t* m_text;                   // m_inline or a heap block of length + 1 characters
    wchar_t m_inline[kInlineCapacity];
};

bool operator==(const wchar_t* text, const CUIString& s);
bool operator!=(const wchar_t* text, const CUIString& s);

} // namespace Lomar
