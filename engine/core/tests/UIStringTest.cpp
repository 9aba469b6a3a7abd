#include "core/UIString.h"

#include <gtest/gtest.h>

#include <string>

using Lomar::CUIString;

namespace {

std::wstring text_of_length(int n, wchar_t c = L'x') { return std::wstring(size_t(n), c); }

// Whether the text lives in the object's own inline buffer.
bool is_inline(const CUIString& s)
{
    const char* object = reinterpret_cast<const char*>(&s);
    const char* text = reinterpret_cast<const char*>(s.data());
    return text >= object && text < object + sizeof(CUIString);
}

} // namespace

TEST(UIStringStorage, InlineUpTo62CharactersHeapFrom63AndBackAgain)
{
    CUIString s;
    s.assign(text_of_length(62).c_str());
    EXPECT_TRUE(is_inline(s));
    EXPECT_EQ(62, s.length());

    s.assign(text_of_length(63, L'y').c_str());
    EXPECT_FALSE(is_inline(s));
    EXPECT_EQ(text_of_length(63, L'y'), s.data());

    s.assign(L"0123456789");
    EXPECT_TRUE(is_inline(s));
    EXPECT_STREQ(L"0123456789", s.data());
}

TEST(UIStringStorage, AppendCrossingTheInlineLimitKeepsTheWholeText)
{
    std::wstring base = text_of_length(62, L'a');
    CUIString s(base.c_str());
    s += L'b';
    EXPECT_FALSE(is_inline(s));
    EXPECT_EQ(base + L"b", s.data());

    // Growing a heap string again, and appending its own text.
    s.append(s.data());
    EXPECT_EQ((base + L"b") + (base + L"b"), s.data());
}

TEST(UIStringStorage, AssignFromOwnHeapTextAndPartialLengths)
{
    CUIString s(text_of_length(100, L'q').c_str());
    s.assign(s.data() + 90);  // 10 characters out of our own heap block
    EXPECT_STREQ(L"qqqqqqqqqq", s.data());

    s.assign(L"abcdef", 3);
    EXPECT_STREQ(L"abc", s.data());
    s.assign(L"ab", 10);  // a length beyond the text stops at its end
    EXPECT_STREQ(L"ab", s.data());
    s.assign(nullptr);
    EXPECT_TRUE(s.is_empty());
}

TEST(UIStringStorage, CopiesAreIndependent)
{
    CUIString a(text_of_length(80, L'z').c_str());
    CUIString b(a);
    b.assign(L"short");
    EXPECT_EQ(80, a.length());
    EXPECT_NE(a.data(), b.data());
    CUIString c = a + L"!";
    EXPECT_EQ(81, c.length());
    EXPECT_EQ(80, a.length());
}

struct SubstringCase
{
    const wchar_t* text;
    const char* op;
    int a;
    int b;
    const wchar_t* expected;
};

TEST(UIStringSubstrings, ClampAsDocumented)
{
    const SubstringCase cases[] = {
        {L"abc", "mid", 5, -1, L""},       {L"abc", "right", 10, 0, L"abc"},
        {L"abc", "left", -1, 0, L""},      {L"abc", "left", 2, 0, L"ab"},
        {L"abc", "left", 9, 0, L"abc"},    {L"abcdef", "mid", 2, 2, L"cd"},
        {L"abcdef", "mid", 2, -1, L"cdef"}, {L"abcdef", "mid", 4, 10, L"ef"},
        {L"abcdef", "mid", 1, 0, L""},     {L"abcdef", "right", 2, 0, L"ef"},
        {L"", "right", 0, 0, L""},
    };
    for (const SubstringCase& c : cases)
    {
        CUIString s(c.text);
        CUIString r;
        std::string op = c.op;
        if (op == "left") r = s.left(c.a);
        else if (op == "mid") r = s.mid(c.a, c.b);
        else r = s.right(c.a);
        EXPECT_STREQ(c.expected, r.data()) << c.op << "(" << c.a << ", " << c.b << ")";
    }
}

TEST(UIStringSearch, FindAndReverseFindWithStartRules)
{
    CUIString s(L"a\\b\\c");
    EXPECT_EQ(1, s.find(L'\\'));
    EXPECT_EQ(3, s.find(L'\\', 2));
    EXPECT_EQ(-1, s.find(L'\\', 5));  // start must lie before the end for a character
    EXPECT_EQ(3, s.reverse_find(L'\\'));
    EXPECT_EQ(-1, s.reverse_find(L'/'));
    EXPECT_EQ(2, s.find(L"b\\", 0));
    EXPECT_EQ(5, s.find(L"", 5));  // start equal to the length is allowed for a text
    EXPECT_EQ(-1, s.find(L"b", 6));
    EXPECT_EQ(-1, s.find(L"b", -1));
}

TEST(UIStringReplace, CountsAndNeverRescansInsertedText)
{
    CUIString path(L"skin\\img\\a.png");
    EXPECT_EQ(2, path.replace(L"\\", L"/"));
    EXPECT_STREQ(L"skin/img/a.png", path.data());

    CUIString twice(L"aa");
    EXPECT_EQ(2, twice.replace(L"a", L"aa"));
    EXPECT_STREQ(L"aaaa", twice.data());

    CUIString gone(L"xAxAx");
    EXPECT_EQ(2, gone.replace(L"A", L""));
    EXPECT_STREQ(L"xxx", gone.data());
    EXPECT_EQ(0, gone.replace(L"", L"y"));
}

TEST(UIStringCompare, OrdinalAndCaseInsensitive)
{
    CUIString s(L"Button");
    EXPECT_EQ(0, s.compare(L"Button"));
    EXPECT_EQ(-1, s.compare(L"button"));  // 'B' < 'b'
    EXPECT_EQ(1, s.compare(L"But"));
    EXPECT_EQ(1, s.compare(nullptr));
    EXPECT_EQ(0, s.compare_no_case(L"BUTTON"));
    EXPECT_TRUE(s == L"Button");
    EXPECT_TRUE(L"Button" == s);
    EXPECT_TRUE(s < L"Buttons");
    EXPECT_TRUE(s >= L"Button");
    CUIString t(L"MiXeD");
    t.make_lower();
    EXPECT_STREQ(L"mixed", t.data());
}

TEST(UIStringFormat, FormatsWideTextsAndCutsSmallFormatAt63)
{
    CUIString s;
#ifdef _WIN32
    EXPECT_EQ(12, s.format(L"%s\\%s", L"SOFTWARE", L"abc"));
    EXPECT_STREQ(L"SOFTWARE\\abc", s.data());
#else
    EXPECT_EQ(12, s.format(L"%ls\\%ls", L"SOFTWARE", L"abc"));
    EXPECT_STREQ(L"SOFTWARE\\abc", s.data());
#endif
    EXPECT_EQ(5, s.format(L"%d%%%d", 12, 34));
    EXPECT_STREQ(L"12%34", s.data());

    std::wstring big(300, L'k');
#ifdef _WIN32
    EXPECT_EQ(300, s.format(L"%s", big.c_str()));
#else
    EXPECT_EQ(300, s.format(L"%ls", big.c_str()));
#endif
    EXPECT_EQ(big, s.data());

    EXPECT_EQ(3, s.small_format(L"%d", 512));
    EXPECT_STREQ(L"512", s.data());
#ifdef _WIN32
    EXPECT_EQ(-1, s.small_format(L"%s", big.c_str()));
#else
    EXPECT_EQ(-1, s.small_format(L"%ls", big.c_str()));
#endif
    EXPECT_EQ(63, s.length());
}
