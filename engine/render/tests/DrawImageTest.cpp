// Image strings drawn through a paint manager from image files of a skin folder.
#include <gtest/gtest.h>

#include <string>

#include "BmpFile.h"
#include "DibCanvas.h"
#include "render/SkinRenderer.h"
#include "resources/ResourceSource.h"
#include "window/PaintManagerUI.h"

using namespace Lomar;
using Lomar::test::DibCanvas;
using Lomar::test::write_bmp;

namespace {

class DrawImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        folder = std::wstring(tmp) + L"vx_render_images";
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"\\Install_and_uninstall").c_str(), nullptr);
        write_bmp(folder + L"\\Install_and_uninstall\\btn_return.bmp", 30, 24,
                  [](int x, int) { return x < 20 ? static_cast<uint32_t>(x + 1) : x < 29 ? 0x00FF00u : 0xFF0000u; });
        write_bmp(folder + L"\\small.bmp", 8, 8, [](int x, int y) { return static_cast<uint32_t>((y << 8) | x); });
        CResourceSource::set_resource_path(folder.c_str());
    }
    void TearDown() override { CResourceSource::set_resource_path(L""); }

    bool draw(DibCanvas& out, const CUIRect& item, const wchar_t* image, const wchar_t* modify = nullptr)
    {
        return CSkinRenderer::draw_image_string(out.dc(), &manager, item, CUIRect(0, 0, out.width(), out.height()),
                                                image, modify);
    }

    std::wstring folder;
    CPaintManagerUI manager;
};

const uint32_t kWhite = 0xFFFFFFFF;

} // namespace

TEST_F(DrawImageTest, CornerStringKeepsTheBorderColumnsOfAButton)
{
    DibCanvas out(120, 24, kWhite);
    ASSERT_TRUE(draw(out, CUIRect(0, 0, 100, 24), L"file='Install_and_uninstall\\btn_return.bmp' corner='20,0,1,0'"));
    for (int x = 0; x < 20; ++x) EXPECT_EQ(out.at(x, 12) & 0xFFFFFF, static_cast<uint32_t>(x + 1)) << x;
    for (int x = 20; x < 99; ++x) EXPECT_EQ(out.at(x, 12) & 0xFFFFFF, 0x00FF00u) << x;
    EXPECT_EQ(out.at(99, 12) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(out.at(100, 12), kWhite);
}

TEST_F(DrawImageTest, BareNameAndFileKeyDrawAlikeUpperCaseKeyFindsNothing)
{
    DibCanvas a(8, 8, kWhite), b(8, 8, kWhite), c(8, 8, kWhite);
    EXPECT_TRUE(draw(a, CUIRect(0, 0, 8, 8), L"small.bmp"));
    EXPECT_TRUE(draw(b, CUIRect(0, 0, 8, 8), L"file='small.bmp'"));
    EXPECT_FALSE(draw(c, CUIRect(0, 0, 8, 8), L"FILE='small.bmp'"));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
        {
            ASSERT_EQ(a.at(x, y), b.at(x, y));
            ASSERT_EQ(a.at(x, y) & 0xFFFFFF, static_cast<uint32_t>((y << 8) | x));
            ASSERT_EQ(c.at(x, y), kWhite);
        }
}

TEST_F(DrawImageTest, SourceIsCutToTheImageAndDestIsRelativeToTheItem)
{
    DibCanvas out(200, 100, kWhite);
    EXPECT_TRUE(draw(out, CUIRect(100, 50, 180, 90), L"file='small.bmp' source='0,0,16,16' dest='10,10,18,18'"));
    EXPECT_EQ(out.at(109, 59), kWhite);
    EXPECT_EQ(out.at(110, 60) & 0xFFFFFF, 0u);                       // image pixel (0, 0)
    EXPECT_EQ(out.at(117, 67) & 0xFFFFFF, static_cast<uint32_t>((7 << 8) | 7));
    EXPECT_EQ(out.at(118, 68), kWhite);
    // A dest outside the item draws nothing and still succeeds.
    DibCanvas none(200, 100, kWhite);
    EXPECT_TRUE(draw(none, CUIRect(0, 0, 10, 10), L"file='small.bmp' dest='20,20,28,28'"));
    EXPECT_EQ(none.at(24, 24), kWhite);
    EXPECT_FALSE(draw(none, CUIRect(0, 0, 10, 10), L"missing.bmp"));
}

TEST_F(DrawImageTest, ProgressModifierCutsTheForeImage)
{
    DibCanvas out(100, 8, kWhite);
    EXPECT_TRUE(draw(out, CUIRect(0, 0, 100, 8), L"small.bmp", L"dest='0,0,4,8' source='0,0,4,8'"));
    EXPECT_EQ(out.at(3, 2) & 0xFFFFFF, static_cast<uint32_t>((2 << 8) | 3));
    EXPECT_EQ(out.at(4, 2), kWhite);
}
