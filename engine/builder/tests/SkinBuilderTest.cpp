// Skin files to control trees: class lookup, default lists, styles, includes, Window attributes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "builder/ControlFactory.h"
#include "builder/DialogBuilderCallback.h"
#include "builder/SkinBuilder.h"
#include "controls/ButtonUI.h"
#include "controls/ContainerUI.h"
#include "controls/LabelUI.h"
#include "resources/ResourceSource.h"
#include "window/PaintManagerUI.h"

using namespace Lomar;

namespace {

// A plain hidden top-level window: the Window element applies only to an attached manager.
class HostWindow
{
public:
    HostWindow()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SkinBuilderTestHost";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, wc.lpszClassName, L"host", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                               wc.hInstance, nullptr);
    }
    ~HostWindow() { DestroyWindow(hwnd); }
    HWND hwnd;
};

CContainerUI* as_container(CControlUI* c) { return static_cast<CContainerUI*>(c->query_interface(L"Container")); }

class BuilderTest : public ::testing::Test
{
protected:
    CControlUI* build(const wchar_t* xml)
    {
        CSkinBuilder builder;
        CControlUI* root = builder.create(xml, nullptr, callback, &manager);
        if (root) manager.attach_root(root);
        return root;
    }
    HostWindow host;
    CPaintManagerUI manager;
    IDialogBuilderCallback* callback = nullptr;
    void SetUp() override { manager.init(host.hwnd, L"test"); }
};

} // namespace

TEST_F(BuilderTest, ClassLookupIgnoresCaseDefaultListsDoNot)
{
    CControlUI* root = build(L"<Window><Default name=\"Button\" value=\"text=&quot;dflt&quot; width=&quot;40&quot;\"/>"
                             L"<VerticalLayout><Button name=\"a\"/><button name=\"b\"/><BUTTON name=\"c\" text=\"own\"/>"
                             L"</VerticalLayout></Window>");
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->get_type_name(), L"VerticalLayoutUI");
    for (const wchar_t* n : {L"a", L"b", L"c"})
    {
        CControlUI* c = manager.find_control_by_name(n);
        ASSERT_NE(c, nullptr) << n;
        EXPECT_STREQ(c->get_type_name(), L"ButtonUI");
    }
    EXPECT_STREQ(manager.find_control_by_name(L"a")->get_text().data(), L"dflt");
    EXPECT_EQ(manager.find_control_by_name(L"a")->get_fixed_width(), 40);
    EXPECT_TRUE(manager.find_control_by_name(L"b")->get_text().is_empty());
    EXPECT_STREQ(manager.find_control_by_name(L"c")->get_text().data(), L"own");
}

TEST_F(BuilderTest, ElementAttributesOverrideTheDefaultListInDocumentOrder)
{
    build(L"<Window><Default name=\"Label\" value=\"textcolor=&quot;#FF112233&quot;\"/>"
          L"<VerticalLayout><Label name=\"l\" textcolor=\"#FF445566\"/>"
          L"<Label name=\"m\" pos=\"0,0,10,10\" width=\"30\"/><Label name=\"n\" width=\"30\" pos=\"0,0,10,10\"/>"
          L"</VerticalLayout></Window>");
    auto* l = static_cast<CLabelUI*>(manager.find_control_by_name(L"l"));
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->get_text_color(), 0xFF445566u);
    EXPECT_EQ(manager.find_control_by_name(L"m")->get_fixed_width(), 30);
    EXPECT_EQ(manager.find_control_by_name(L"n")->get_fixed_width(), 10);
}

TEST_F(BuilderTest, UnknownElementsAreSkippedWithTheirChildren)
{
    CControlUI* root = build(L"<Window><VerticalLayout><Gizmo><Button name=\"inner\"/></Gizmo>"
                             L"<Edit name=\"edit\"/><Label name=\"after\"/></VerticalLayout></Window>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(manager.find_control_by_name(L"inner"), nullptr);
    EXPECT_EQ(manager.find_control_by_name(L"edit"), nullptr);   // registered name without a class
    EXPECT_NE(manager.find_control_by_name(L"after"), nullptr);
    EXPECT_EQ(as_container(root)->get_count(), 1);
}

TEST_F(BuilderTest, CallbackCreatesWhatTheFactoryDoesNotKnow)
{
    struct Callback : IDialogBuilderCallback
    {
        CControlUI* create_control(const wchar_t* name) override
        {
            seen = name;
            return std::wstring(name) == L"Gizmo" ? new CLabelUI : nullptr;
        }
        std::wstring seen;
    } cb;
    callback = &cb;
    build(L"<Window><VerticalLayout><Gizmo name=\"g\"/></VerticalLayout></Window>");
    EXPECT_EQ(cb.seen, L"Gizmo");
    ASSERT_NE(manager.find_control_by_name(L"g"), nullptr);
    EXPECT_STREQ(manager.find_control_by_name(L"g")->get_type_name(), L"LabelUI");
}

TEST_F(BuilderTest, ChildrenOfANonContainerEndThatLevel)
{
    build(L"<Window><VerticalLayout><Button name=\"b\"><Label name=\"x\"/><Label name=\"y\"/></Button>"
          L"</VerticalLayout></Window>");
    EXPECT_NE(manager.find_control_by_name(L"b"), nullptr);
    EXPECT_EQ(manager.find_control_by_name(L"x"), nullptr);
    EXPECT_EQ(manager.find_control_by_name(L"y"), nullptr);
}

TEST_F(BuilderTest, ResourceElementsCountOnlyAtTheTopLevel)
{
    build(L"<Window><Style name=\"s\" value=\"width=&quot;11&quot;\"/><Style name=\"s\" value=\"width=&quot;99&quot;\"/>"
          L"<VerticalLayout><Default name=\"Label\" value=\"width=&quot;5&quot;\"/>"
          L"<Label name=\"l\" style=\"s\"/></VerticalLayout></Window>");
    EXPECT_EQ(manager.get_default_attribute_list(L"Label"), nullptr);
    ASSERT_NE(manager.find_control_by_name(L"l"), nullptr);
    EXPECT_EQ(manager.find_control_by_name(L"l")->get_fixed_width(), 11);   // the first style text stays
}

TEST_F(BuilderTest, WindowAttributesExactCaseForFive)
{
    build(L"<Window size=\"700,420\" bktrans=\"true\" caption=\"0,0,0,40\" ROUNDCORNER=\"4,4\" mininfo=\"300,200\" "
          L"noactivate=\"true\" defaultfontcolor=\"#FF123456\" gdiplustext=\"true\" tooltiphovertime=\"250\">"
          L"<VerticalLayout/></Window>");
    EXPECT_EQ(manager.get_initial_size(), CUISize(700, 420));
    RECT r;
    GetWindowRect(host.hwnd, &r);
    EXPECT_EQ(r.right - r.left, 700);
    EXPECT_EQ(r.bottom - r.top, 420);
    EXPECT_TRUE(manager.is_layered());
    EXPECT_EQ(manager.get_caption_rect(), CUIRect(0, 0, 0, 40));
    EXPECT_EQ(manager.get_round_corner(), CUISize(4, 4));
    EXPECT_EQ(manager.get_min_info(), CUISize(300, 200));
    EXPECT_TRUE(manager.is_no_activate());
    EXPECT_EQ(manager.get_default_font_color(), 0xFF123456u);
    EXPECT_TRUE(manager.is_use_gdiplus_text());
    EXPECT_EQ(manager.get_hover_time(), 250);

    HostWindow other;
    CPaintManagerUI m2;
    m2.init(other.hwnd, L"upper");
    CSkinBuilder b;
    CControlUI* root = b.create(L"<Window BKTRANS=\"true\" NoActivate=\"true\"><Control/></Window>", nullptr, nullptr, &m2);
    ASSERT_NE(root, nullptr);
    m2.attach_root(root);
    EXPECT_FALSE(m2.is_layered());
    EXPECT_FALSE(m2.is_no_activate());
}

TEST_F(BuilderTest, IncludeAddsTheSourceControlsCountTimes)
{
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    std::wstring folder = std::wstring(dir) + L"skinbuilder_include";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring file = folder + L"\\row.xml";
    FILE* f = _wfopen(file.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    const char xml[] = "<Window><Label text=\"row\"/><Button text=\"go\"/></Window>";
    fwrite(xml, 1, sizeof(xml) - 1, f);
    fclose(f);
    CResourceSource::set_resource_path(folder.c_str());

    CControlUI* root = build(L"<Window><VerticalLayout><Include source=\"row.xml\" count=\"2\"/>"
                             L"<Include source=\"row.xml\" count=\"0\"/><Include/></VerticalLayout></Window>");
    ASSERT_NE(root, nullptr);
    CContainerUI* v = as_container(root);
    ASSERT_EQ(v->get_count(), 4);
    EXPECT_STREQ(v->get_item_at(0)->get_type_name(), L"LabelUI");
    EXPECT_STREQ(v->get_item_at(3)->get_text().data(), L"go");
    EXPECT_EQ(v->get_item_at(3)->get_parent(), root);

    CSkinBuilder missing;
    EXPECT_EQ(missing.create(L"no_such_skin.xml", nullptr, nullptr, &manager), nullptr);
    CResourceSource::set_resource_path(L"");
    DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(BuilderTest, FontElementsRegisterByIdAndASecondIdReplacesTheFirst)
{
    CControlUI* root = build(L"<Window><Font id=\"3\" name=\"Liberation Sans\" size=\"14\"/>"
                             L"<Font name=\"Liberation Serif\" size=\"30\"/><VerticalLayout/></Window>");
    ASSERT_NE(nullptr, root);
    HFONT first = manager.get_font(3);
    LOGFONTW lf{};
    ASSERT_EQ(int(sizeof lf), GetObjectW(first, sizeof lf, &lf));
    EXPECT_STREQ(L"Liberation Sans", lf.lfFaceName);
    EXPECT_EQ(-14, lf.lfHeight);
    // The Font without an id registered nothing: no table entry is sized 30.
    for (int id = -1; id < 8; ++id)
    {
        LOGFONTW any{};
        GetObjectW(manager.get_font(id), sizeof any, &any);
        EXPECT_NE(-30, any.lfHeight) << id;
    }

    CControlUI* again = build(L"<Window><Font id=\"3\" name=\"Liberation Mono\" size=\"20\" bold=\"true\"/>"
                              L"<VerticalLayout/></Window>");
    ASSERT_NE(nullptr, again);
    HFONT second = manager.get_font(3);
    ASSERT_EQ(int(sizeof lf), GetObjectW(second, sizeof lf, &lf));
    EXPECT_STREQ(L"Liberation Mono", lf.lfFaceName);
    EXPECT_EQ(-20, lf.lfHeight);
    EXPECT_GE(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(0, GetObjectW(first, sizeof lf, &lf));  // the replaced font was deleted
}

TEST(ControlFactory, KnowsTheBuiltInClasses)
{
    CControlFactory& f = CControlFactory::instance();
    struct Row
    {
        const wchar_t* name;
        const wchar_t* type;   // null: registered name without a class here
    } rows[] = {
        {L"CControlUI", L"ControlUI"},   {L"cbuttonui", L"ButtonUI"},     {L"COptionUI", L"OptionUI"},
        {L"CCheckBoxUI", L"CheckBoxUI"}, {L"CProgressUI", L"ProgressUI"}, {L"CTextUI", L"TextUI"},
        {L"CTabLayoutUI", L"TabLayoutUI"}, {L"CContainerUI", L"ContainerUI"}, {L"CEditUI", nullptr},
    };
    for (const Row& r : rows)
    {
        EXPECT_TRUE(f.is_registered(r.name)) << r.name;
        CControlUI* c = f.create_control(r.name);
        if (r.type)
        {
            ASSERT_NE(c, nullptr) << r.name;
            EXPECT_STREQ(c->get_type_name(), r.type);
        }
        else
            EXPECT_EQ(c, nullptr);
        delete c;
    }
    EXPECT_FALSE(f.is_registered(L"CNoSuchUI"));
}
