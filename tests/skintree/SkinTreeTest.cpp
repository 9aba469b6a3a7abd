// The installer's two skins built by the engine from the packed skin archive, exactly as the
// installer builds them, laid out in their windows and checked against the control tables.
#include "builder/SkinBuilder.h"
#include "controls/ControlUI.h"
#include "controls/LabelUI.h"
#include "controls/OptionUI.h"
#include "controls/ProgressUI.h"
#include "controls/TabLayoutUI.h"
#include "resources/DibSection.h"
#include "resources/ResourceSource.h"
#include "window/PaintManagerUI.h"
#include "window/WindowImplBase.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace Lomar;

namespace {

std::wstring g_archive_path;

class SkinWindow : public WindowImplBase
{
public:
    explicit SkinWindow(const wchar_t* skin) : m_skin(skin) {}
    const wchar_t* get_window_class_name() const override { return L"VxSkinTreeTest"; }
    const wchar_t* get_skin_file() override { return m_skin; }

private:
    const wchar_t* m_skin;
};

std::vector<unsigned char> ReadAll(const std::wstring& path)
{
    std::vector<unsigned char> bytes;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return bytes;
    unsigned char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
    return bytes;
}

// Lays the tree out and paints one frame, as the window would before showing it.
void Frame(CPaintManagerUI& m, int w, int h)
{
    uint32_t* bits = nullptr;
    HDC dc = CreateCompatibleDC(m.get_paint_dc());
    HBITMAP bmp = create_dib32(dc, w, h, false, &bits);
    HGDIOBJ old = SelectObject(dc, bmp);
    m.render_frame(dc, bits, w, h);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

struct Row
{
    const wchar_t* name;
    const wchar_t* type;  // the engine's type name
    int page;             // tab page that must be shown for the rectangle, -1: any
    CUIRect rect;         // client coordinates after layout
    int font;             // -2: not checked
    const wchar_t* text;  // nullptr: not checked
};

void ExpectRow(CPaintManagerUI& m, const Row& r)
{
    CControlUI* c = m.find_control_by_name(r.name);
    ASSERT_NE(nullptr, c) << "no control named " << std::string(r.name, r.name + wcslen(r.name));
    std::wstring what(r.name);
    std::string label(what.begin(), what.end());
    EXPECT_STREQ(r.type, c->get_type_name()) << label;
    EXPECT_EQ(r.rect, c->get_pos()) << label << " at " << c->get_pos().left << "," << c->get_pos().top << ","
                                    << c->get_pos().right << "," << c->get_pos().bottom;
    if (r.font != -2)
    {
        auto* l = static_cast<CLabelUI*>(c->query_interface(L"Label"));
        ASSERT_NE(nullptr, l) << label;
        EXPECT_EQ(r.font, l->get_font()) << label;
    }
    if (r.text)
    {
        EXPECT_STREQ(r.text, c->get_text().data()) << label;
    }
}

void SelectPage(CPaintManagerUI& m, int page)
{
    CControlUI* c = m.find_control_by_name(L"tabInstall");
    ASSERT_NE(nullptr, c);
    auto* tab = static_cast<CTabLayoutUI*>(c->query_interface(L"TabLayout"));
    ASSERT_NE(nullptr, tab);
    ASSERT_TRUE(tab->select_item(page));
}

struct FontRow
{
    int id;
    const wchar_t* face;
    int size;
    bool bold;
};

void ExpectFonts(CPaintManagerUI& m, const std::vector<FontRow>& rows)
{
    for (const FontRow& f : rows)
    {
        HFONT font = m.get_font(f.id);
        LOGFONTW lf{};
        ASSERT_EQ(int(sizeof lf), GetObjectW(font, sizeof lf, &lf)) << "font " << f.id;
        EXPECT_STREQ(f.face, lf.lfFaceName) << "font " << f.id;
        EXPECT_EQ(-f.size, lf.lfHeight) << "font " << f.id;
        EXPECT_EQ(f.bold, lf.lfWeight >= FW_BOLD) << "font " << f.id;
    }
}

class SkinTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        archive = ReadAll(g_archive_path);
        ASSERT_FALSE(archive.empty()) << "skin archive missing";
        CResourceSource::set_resource_zip(archive.data(), uint32_t(archive.size()), nullptr);
    }
    void TearDown() override { CResourceSource::clear_resource_zip(); }
    std::vector<unsigned char> archive;
};

} // namespace

TEST_F(SkinTree, MainFrameBuildsTheFourPagesWithTheirControls)
{
    SkinWindow window(L"VXMainFrame.xml");
    ASSERT_NE(nullptr, window.create(nullptr, L"Ostrel", WS_POPUP, 0, 0, 0, 10, 10));
    CPaintManagerUI& m = window.manager();
    EXPECT_EQ(CUISize(700, 420), m.get_initial_size());
    EXPECT_EQ(CUIRect(0, 0, 0, 50), m.get_caption_rect());
    EXPECT_EQ(CUISize(6, 6), m.get_round_corner());
    RECT client;
    GetClientRect(window.get_hwnd(), &client);
    EXPECT_EQ(CUIRect(0, 0, 700, 420), CUIRect(client));

    ExpectFonts(m, {{0, L"微软雅黑", 11, false}, {1, L"微软雅黑", 12, false}, {2, L"微软雅黑", 13, false},
                    {3, L"微软雅黑", 14, false}, {4, L"微软雅黑", 15, false}, {5, L"Arial", 35, true},
                    {6, L"Arial", 37, true}, {7, L"Arial", 39, true}, {8, L"Arial Narrow", 50, false},
                    {9, L"微软雅黑", 16, true}});

    const Row rows[] = {
        {L"verRoot", L"VerticalLayoutUI", -1, {0, 0, 700, 420}, -2, nullptr},
        {L"tabInstall", L"TabLayoutUI", -1, {0, 0, 700, 420}, -2, nullptr},
        {L"verroot0", L"VerticalLayoutUI", 0, {0, 0, 700, 420}, -2, nullptr},
        {L"minbtn", L"ButtonUI", 0, {620, 11, 644, 35}, -2, nullptr},
        {L"closebtn", L"ButtonUI", 0, {655, 11, 679, 35}, -2, nullptr},
        {L"installBtn", L"ButtonUI", 0, {246, 264, 454, 308}, -2, nullptr},
        {L"protocalOpt", L"OptionUI", 0, {28, 378, 46, 396}, -2, nullptr},
        {L"vx_btn_protocal", L"ButtonUI", 0, {58, 372, 178, 401}, 3, L"同意《用户协议》"},
        {L"customBtn", L"ButtonUI", 0, {579, 370, 680, 402}, 3, L"自定义安装>"},
        {L"verroot1", L"VerticalLayoutUI", 1, {0, 0, 700, 420}, -2, nullptr},
        {L"gobackbtn", L"ButtonUI", 1, {22, 10, 122, 34}, 3, L"返回"},
        {L"minbtn1", L"ButtonUI", 1, {620, 11, 644, 35}, -2, nullptr},
        {L"closebtn1", L"ButtonUI", 1, {655, 11, 679, 35}, -2, nullptr},
        {L"installBtn1", L"ButtonUI", 1, {246, 198, 454, 242}, -2, nullptr},
        {L"pathLab", L"LabelUI", 1, {131, 78, 587, 118}, 4, L"dddd"},
        {L"modifyBtn", L"ButtonUI", 1, {587, 82, 647, 114}, 4, L"修改"},
        {L"desktopShortCutOpt", L"OptionUI", 1, {28, 378, 46, 396}, -2, nullptr},
        {L"verroot2", L"VerticalLayoutUI", 2, {0, 0, 700, 420}, -2, nullptr},
        {L"minbtn2", L"ButtonUI", 2, {620, 11, 644, 35}, -2, nullptr},
        {L"closebtn2", L"ButtonUI", 2, {655, 11, 679, 35}, -2, nullptr},
        {L"installPrg", L"ProgressUI", 2, {55, 342, 649, 356}, -2, nullptr},
        {L"installproglab", L"LabelUI", 2, {52, 367, 284, 388}, 3, L"正在安装，请不要关闭 40%"},
        {L"verroot3", L"VerticalLayoutUI", 3, {0, 0, 700, 420}, -2, nullptr},
        {L"minbtn3", L"ButtonUI", 3, {620, 11, 644, 35}, -2, nullptr},
        {L"closebtn3", L"ButtonUI", 3, {655, 11, 679, 35}, -2, nullptr},
        {L"completeBtn", L"ButtonUI", 3, {246, 202, 454, 246}, -2, nullptr},
    };
    for (int page = 0; page < 4; ++page)
    {
        SelectPage(m, page);
        Frame(m, 700, 420);
        for (const Row& r : rows)
            if (r.page == page || (r.page == -1 && page == 0)) ExpectRow(m, r);
    }

    // Starting states the pages rely on.
    auto option = [&](const wchar_t* n) {
        return static_cast<COptionUI*>(m.find_control_by_name(n)->query_interface(L"Option"));
    };
    EXPECT_TRUE(option(L"protocalOpt")->is_selected());
    EXPECT_TRUE(option(L"desktopShortCutOpt")->is_selected());
    EXPECT_TRUE(option(L"addtaskbarOpt")->is_selected());
    EXPECT_FALSE(m.find_control_by_name(L"addtaskbarOpt")->is_visible());
    auto* bar = static_cast<CProgressUI*>(m.find_control_by_name(L"installPrg")->query_interface(L"Progress"));
    EXPECT_EQ(50, bar->get_value());
    EXPECT_EQ(0, bar->get_min());
    EXPECT_EQ(100, bar->get_max());
    const wchar_t* pages[] = {L"verroot0", L"verroot1", L"verroot2", L"verroot3"};
    const wchar_t* virtuals[] = {L"install0", L"install1", L"install2", L"install3"};
    for (int i = 0; i < 4; ++i)
        EXPECT_STREQ(virtuals[i], m.find_control_by_name(pages[i])->get_virtual_wnd().data());
    DestroyWindow(window.get_hwnd());
}

TEST_F(SkinTree, MessageBoxBuildsItsControls)
{
    SkinWindow window(L"VXMsgBox.xml");
    ASSERT_NE(nullptr, window.create(nullptr, L"Ostrel", WS_POPUP, 0, 0, 0, 10, 10));
    CPaintManagerUI& m = window.manager();
    EXPECT_EQ(CUISize(417, 212), m.get_initial_size());
    EXPECT_EQ(CUIRect(0, 0, 0, 126), m.get_caption_rect());
    ExpectFonts(m, {{0, L"微软雅黑", 8, false}, {4, L"微软雅黑", 12, false}, {5, L"Arial", 32, true},
                    {8, L"Arial Narrow", 47, false}, {9, L"微软雅黑", 14, false}, {10, L"微软雅黑", 14, true},
                    {11, L"微软雅黑", 16, false}, {12, L"微软雅黑", 19, true}, {14, L"微软雅黑", 22, false}});
    Frame(m, 417, 212);
    const Row rows[] = {
        {L"background", L"HorizontalLayoutUI", -1, {1, 1, 416, 41}, -2, nullptr},
        {L"vx_lab_caption", L"LabelUI", -1, {1, 1, 185, 41}, -2, L""},
        {L"closebtn", L"ButtonUI", -1, {369, 13, 393, 37}, -2, nullptr},
        {L"MessageBox_IconLayout", L"HorizontalLayoutUI", -1, {1, 41, 61, 211}, -2, nullptr},
        {L"vx_lab_ico", L"LabelUI", -1, {30, 51, 54, 75}, -2, nullptr},
        {L"MessageBox_TextLayout", L"VerticalLayoutUI", -1, {61, 41, 416, 211}, -2, nullptr},
        {L"vx_txt_title", L"TextUI", -1, {61, 41, 407, 81}, 12, L"确定删除吗？"},
        {L"vx_txt_msg", L"TextUI", -1, {61, 81, 407, 141}, 9, L"本地文件也会同步删除"},
        {L"okBtn", L"ButtonUI", -1, {189, 144, 285, 180}, 10, L"确定删除"},
        {L"cancelBtn", L"ButtonUI", -1, {297, 144, 393, 180}, 10, L"取消"},
    };
    for (const Row& r : rows) ExpectRow(m, r);
    DestroyWindow(window.get_hwnd());
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    int wargc = 0;
    wchar_t** wargv = CommandLineToArgvW(GetCommandLineW(), &wargc);
    for (int i = 1; i < wargc; ++i)
        if (wargv[i][0] != L'-') g_archive_path = wargv[i];
    LocalFree(wargv);
    return RUN_ALL_TESTS();
}
