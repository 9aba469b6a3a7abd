// The in-place parser: results and messages row by row, entities, attributes, tree walking.
#include "markup/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

using namespace Lomar;

namespace {

std::wstring str(const wchar_t* s) { return s ? std::wstring(s) : std::wstring(L"(null)"); }

} // namespace

TEST(XmlParse, ResultsAndMessages)
{
    struct Row
    {
        const wchar_t* text;
        const wchar_t* error;   // null: parses
        const wchar_t* root;    // root name on success
    } const rows[] = {
        {L"<Window><A/></Window>", nullptr, L"Window"},
        {L"  \r\n\t<Window/>  ", nullptr, L"Window"},
        {L"<?xml version=\"1.0\"?><!-- c --><!DOCTYPE x -><Window/>", nullptr, L"Window"},
        {L"<Window><A/><B></B>", nullptr, L"Window"},            // the first element may stay open
        {L"<Window><A>", nullptr, L"Window"},                    // ... and its last child too
        {L"<A/><B>", nullptr, L"A"},
        {L"<Window><A><B/>", L"Expected start tag", nullptr},    // open two levels down
        {L"<Window><A><B></B>", L"Expected start tag", nullptr},
        {L"text", L"Expected start tag", nullptr},
        {L"<Window/> tail", L"Expected start tag", nullptr},
        {L"<Window", L"Error parsing element name", nullptr},
        {L"<Window x>", L"Error while parsing attributes", nullptr},
        {L"<Window x y=\"1\"/>", L"Error while parsing attributes", nullptr},
        {L"<Window x='1'/>", L"Expected attribute value", nullptr},
        {L"<Window x=1/>", L"Expected attribute value", nullptr},
        {L"<Window x=\"1", L"Error while parsing attribute string", nullptr},
        {L"<Window x=\"1\"", L"Expected start-tag closing", nullptr},
        {L"<Window x=\"1\" / >", L"Expected start-tag closing", nullptr},
        {L"<Window x=\"1\"#>", L"Error while parsing attributes", nullptr},
        {L"<Window><A/>text</Window>", L"Expected start tag", nullptr},   // no text after a child
        {L"<Button></Buttonx>", L"Unmatched closing tag", nullptr},
        {L"<Button></Butto>", L"Unmatched closing tag", nullptr},
        {L"<Button></button>", L"Unmatched closing tag", nullptr},
        {L"<Button></Button x>", L"Unmatched closing tag", nullptr},
        {L"<Button></Button", L"Unmatched closing tag", nullptr},
        {L"<W><Button></Button ></W>", nullptr, L"W"},
        {L"", nullptr, nullptr},                                 // no element: no root
        {L"<!-- only a comment -->", nullptr, nullptr},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows));
        CXmlDocument doc;
        bool ok = doc.load(row.text);
        EXPECT_EQ(ok, row.error == nullptr) << str(doc.error_message()).size();
        if (row.error)
        {
            EXPECT_EQ(str(doc.error_message()), row.error);
            EXPECT_FALSE(doc.root().is_valid());
            continue;
        }
        EXPECT_EQ(str(doc.error_message()), L"");
        EXPECT_EQ(doc.root().is_valid(), row.root != nullptr);
        if (row.root)
        {
            EXPECT_EQ(str(doc.root().name()), row.root);
        }
    }
}

TEST(XmlParse, ErrorLocationIsTheTextWhereParsingStopped)
{
    CXmlDocument doc;
    EXPECT_FALSE(doc.load(L"<Window><Button></Buttonx>trailing text that is longer than the location field holds</Window>"));
    EXPECT_EQ(str(doc.error_message()), L"Unmatched closing tag");
    std::wstring where = str(doc.error_location());
    EXPECT_EQ(where.size(), 49u);
    EXPECT_EQ(where.substr(0, 7), L"Buttonx");
}

TEST(XmlParse, FirstElementOpenAtTheEndKeepsACleanName)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.load(L"<Window><Font id=\"1\"/><Layout>"));
    CXmlNode root = doc.root();
    EXPECT_EQ(str(root.name()), L"Window");
    EXPECT_EQ(root.attribute_count(), 0);
    CXmlNode font = root.first_child();
    EXPECT_EQ(str(font.name()), L"Font");
    EXPECT_EQ(str(font.next_sibling().name()), L"Layout");
}

TEST(XmlParse, EntitiesAreTranslatedInPlace)
{
    struct Row
    {
        const wchar_t* written;
        const wchar_t* read;
    } const rows[] = {
        {L"&quot;&apos;&lt;&gt;&amp;", L"\"'<>&"},
        {L"a&amp;b", L"a&b"},
        {L"&#65;", L"&#65;"},
        {L"&QUOT;", L"&QUOT;"},
        {L"&amp", L"&amp"},
        {L"&", L"&"},
        {L"&&lt;", L"&<"},
        {L"  two  spaces  ", L"  two  spaces  "},
        {L"", L""},
    };
    for (const Row& row : rows)
    {
        std::wstring text = std::wstring(L"<A v=\"") + row.written + L"\" w=\"next\">" + row.written + L"</A>";
        CXmlDocument doc;
        ASSERT_TRUE(doc.load(text.c_str())) << str(doc.error_message()).size();
        CXmlNode a = doc.root();
        ASSERT_EQ(a.attribute_count(), 2);
        EXPECT_EQ(str(a.attribute_value(0)), row.read);
        EXPECT_EQ(str(a.attribute_value(1)), L"next");   // the gap left by entities is skipped
        EXPECT_EQ(str(a.value()), row.read);
    }
}

TEST(XmlAttributes, LookupIndexAndLimits)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.load(L"<Window name=\"main\" Size=\"700,420\" text=\"\u5b89\u88c5\"><Control/><Control /></Window>"));
    CXmlNode root = doc.root();
    EXPECT_TRUE(root.has_attributes());
    ASSERT_EQ(root.attribute_count(), 3);
    EXPECT_EQ(str(root.attribute_name(1)), L"Size");
    EXPECT_EQ(str(root.attribute_value(2)), L"\u5b89\u88c5");
    EXPECT_EQ(str(root.attribute_name(3)), L"");
    EXPECT_EQ(str(root.attribute_value(-1)), L"");

    wchar_t buffer[16] = L"untouched";
    EXPECT_TRUE(root.attribute_value(L"NAME", buffer, 16));
    EXPECT_EQ(str(buffer), L"main");
    EXPECT_TRUE(root.attribute_value(L"size", buffer, 4));
    EXPECT_EQ(str(buffer), L"700");   // cut to the buffer, terminated
    EXPECT_FALSE(root.attribute_value(L"missing", buffer, 16));
    EXPECT_FALSE(root.attribute_value(L"nam", buffer, 16));

    for (CXmlNode control = root.first_child(); control.is_valid(); control = control.next_sibling())
    {
        EXPECT_EQ(str(control.name()), L"Control");
        EXPECT_FALSE(control.has_attributes());
        EXPECT_EQ(control.attribute_count(), 0);
        EXPECT_EQ(str(control.value()), L"");
        EXPECT_FALSE(control.has_children());
    }

    std::wstring many = L"<Many";
    for (int i = 0; i < 70; ++i)
        many += L" a" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    many += L"/>";
    ASSERT_TRUE(doc.load(many.c_str()));
    EXPECT_EQ(doc.root().attribute_count(), 64);
    EXPECT_EQ(str(doc.root().attribute_value(63)), L"63");
    EXPECT_FALSE(doc.root().attribute_value(L"a64", buffer, 16));
}

TEST(XmlAttributes, InvalidNodeGivesNulls)
{
    CXmlNode node;
    wchar_t buffer[4];
    EXPECT_FALSE(node.is_valid());
    EXPECT_EQ(node.name(), nullptr);
    EXPECT_EQ(node.attribute_name(0), nullptr);
    EXPECT_EQ(node.attribute_value(0), nullptr);
    EXPECT_EQ(node.attribute_count(), 0);
    EXPECT_FALSE(node.attribute_value(L"a", buffer, 4));
    EXPECT_FALSE(node.first_child().is_valid());
    EXPECT_FALSE(node.next_sibling().is_valid());
}

TEST(XmlTree, WalkingOrderAndTexts)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.load(L"<Window>\n <Font id=\"0\"/>\n <Layout a=\"1\"><Label>hi</Label><Button/></Layout>\n <Tail/>\n</Window>"));
    std::wstring walked;
    // Depth-first, as the skin builder walks: names with their depth.
    struct Walker
    {
        static void walk(CXmlNode node, int depth, std::wstring& out)
        {
            for (; node.is_valid(); node = node.next_sibling())
            {
                out += std::wstring(depth, L'-') + node.name() + L";";
                walk(node.first_child(), depth + 1, out);
            }
        }
    };
    Walker::walk(doc.root(), 0, walked);
    EXPECT_EQ(walked, L"Window;-Font;-Layout;--Label;--Button;-Tail;");
    CXmlNode layout = doc.root().first_child().next_sibling();
    EXPECT_EQ(str(layout.first_child().value()), L"hi");
    EXPECT_EQ(str(doc.root().value()), L"\n ");   // the text before the first child
    EXPECT_TRUE(layout.has_children());
}

TEST(XmlLoad, Utf8BytesWithByteOrderMark)
{
    const std::string utf8 = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                             "<Window text=\"\xE5\xAE\x89\xE8\xA3\x85 \xF0\x9F\x98\x80\"/>";
    CXmlDocument doc;
    ASSERT_TRUE(doc.load_from_memory(reinterpret_cast<const unsigned char*>(utf8.data()),
                                     static_cast<uint32_t>(utf8.size())));
    EXPECT_EQ(str(doc.root().name()), L"Window");
    const wchar_t* text = doc.root().attribute_value(0);
    ASSERT_NE(text, nullptr);
    const unsigned want[] = {0x5B89, 0x88C5, 0x20, 0xD83D, 0xDE00, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(static_cast<unsigned>(text[i]), want[i]) << i;

    // A byte-order mark alone is no document; two bytes of one are text.
    const unsigned char bom[] = {0xEF, 0xBB, 0xBF};
    EXPECT_TRUE(doc.load_from_memory(bom, 3));
    EXPECT_FALSE(doc.root().is_valid());
    EXPECT_FALSE(doc.load_from_memory(bom, 2));
    EXPECT_EQ(str(doc.error_message()), L"Expected start tag");
    EXPECT_FALSE(doc.load_from_memory(nullptr, 10));
}

TEST(XmlLoad, DeepNestingFailsWithoutExhaustingTheStack)
{
    std::wstring deep;
    for (int i = 0; i < 100000; ++i)
        deep += L"<a>";
    CXmlDocument doc;
    EXPECT_FALSE(doc.load(deep.c_str()));
    EXPECT_EQ(str(doc.error_message()), L"Expected start tag");
    std::wstring fine;
    for (int i = 0; i < 500; ++i)
        fine += L"<a>";
    for (int i = 0; i < 500; ++i)
        fine += L"</a>";
    EXPECT_TRUE(doc.load(fine.c_str()));
}

TEST(XmlLoad, ReloadingReleasesThePreviousDocument)
{
    CXmlDocument doc(L"<First/>");
    EXPECT_EQ(str(doc.root().name()), L"First");
    EXPECT_FALSE(doc.load(L"<Broken"));
    EXPECT_FALSE(doc.root().is_valid());
    EXPECT_TRUE(doc.load(L"<Second/>"));
    EXPECT_EQ(str(doc.root().name()), L"Second");
    EXPECT_EQ(str(doc.error_message()), L"");
    doc.release();
    EXPECT_FALSE(doc.root().is_valid());
}
