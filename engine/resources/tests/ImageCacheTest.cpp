// The image cache under Wine: real DIB sections read back pixel by pixel, per-window and shared
// tables, decoding once, and the sources an image can come from.
#include "resources/WindowResourceCache.h"

#include "resources/ImageLoader.h"
#include "resources/ResourceCatalog.h"
#include "resources/ResourceSource.h"

#include "ResourceTestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

using namespace Lomar;
using restest::fixture;
using restest::wfixture;

namespace {

// The pixels of a DIB section as the bitmap holds them, top row first.
std::vector<uint32_t> pixels_of(HBITMAP bitmap, int* width, int* height)
{
    DIBSECTION dib = {};
    std::vector<uint32_t> out;
    if (GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBitsPixel != 32 || !dib.dsBm.bmBits)
        return out;
    *width = dib.dsBm.bmWidth;
    *height = dib.dsBm.bmHeight;
    const uint32_t* bits = static_cast<const uint32_t*>(dib.dsBm.bmBits);
    out.assign(bits, bits + dib.dsBm.bmWidth * dib.dsBm.bmHeight);
    return out;
}

class ImageCache : public testing::Test
{
protected:
    void SetUp() override
    {
        CResourceSource::clear_resource_zip();
        CResourceSource::set_resource_path(wfixture("").c_str());
    }
    void TearDown() override
    {
        CWindowResourceCache().remove_all_images(true);
        CResourceSource::clear_resource_zip();
        CResourceSource::set_resource_path(L"");
    }
};

} // namespace

TEST_F(ImageCache, PartlyTransparentPngIsPremultipliedTopDown)
{
    CWindowResourceCache cache;
    ImageRecord* image = cache.add_image(L"img\\good-alpha.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->height, 2);
    EXPECT_TRUE(image->has_alpha);
    EXPECT_EQ(image->mask, 0u);
    EXPECT_TRUE(image->resource_type.is_empty());
    EXPECT_EQ(image->pixel_copy, nullptr);
    DIBSECTION dib = {};
    ASSERT_EQ(GetObjectW(image->bitmap, sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    EXPECT_EQ(dib.dsBmih.biBitCount, 32);
    EXPECT_EQ(dib.dsBmih.biCompression, static_cast<DWORD>(BI_RGB));
    int w = 0, h = 0;
    std::vector<uint32_t> px = pixels_of(image->bitmap, &w, &h);
    ASSERT_EQ(px.size(), 8u);
    const uint32_t want[8] = {0x80643219, 0xFFFF00FF, 0x00000000, 0xFFFFFFFF,
                              0xFF000000, 0x80800080, 0x40192532, 0xFF010203};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(px[i], want[i]) << "pixel " << i;
    // Memory order is B, G, R, A: what AlphaBlend with AC_SRC_ALPHA expects.
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(px.data());
    EXPECT_EQ(bytes[2], 100);   // R=200, A=128 stores R=100
    EXPECT_EQ(bytes[3], 128);
}

TEST_F(ImageCache, OpaqueImageAndTheMask)
{
    CWindowResourceCache cache;
    ImageRecord* plain = cache.add_image(L"img\\good-opaque.png");
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(plain->has_alpha);
    ImageRecord* masked = cache.add_image(L"img\\good-opaque.bmp", nullptr, 0xFFFF00FF);
    ASSERT_NE(masked, nullptr);
    EXPECT_TRUE(masked->has_alpha);
    EXPECT_EQ(masked->mask, 0xFFFF00FFu);
    int w, h;
    std::vector<uint32_t> px = pixels_of(masked->bitmap, &w, &h);
    ASSERT_EQ(px.size(), 6u);
    const uint32_t want[6] = {0, 0xFF0A141E, 0, 0xFF00FF00, 0xFFFF00FE, 0xFFFFFFFF};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(px[i], want[i]) << "pixel " << i;
    // A cached image is returned whatever mask a later request carries.
    EXPECT_EQ(cache.get_image_ex(L"img\\good-opaque.png", nullptr, 0xFFFF00FF), plain);
    EXPECT_FALSE(plain->has_alpha);
}

TEST_F(ImageCache, GetImageExDecodesOnce)
{
    const std::string copy = fixture("img/once.png");
    ASSERT_TRUE(restest::copy_file(fixture("img/good-alpha.png"), copy));
    CWindowResourceCache cache;
    ImageRecord* first = cache.get_image_ex(L"img\\once.png");
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(std::remove(copy.c_str()), 0);
    EXPECT_EQ(cache.get_image_ex(L"img\\once.png"), first);   // the file is gone: not read again
    EXPECT_EQ(cache.get_image(L"img\\once.png"), first);
    EXPECT_EQ(cache.get_image(L"IMG\\once.png"), nullptr);     // keys are the names as written
    cache.remove_all_images(false);
    EXPECT_EQ(cache.get_image_ex(L"img\\once.png"), nullptr);
}

TEST_F(ImageCache, WindowAndSharedTables)
{
    CWindowResourceCache one, two;
    ImageRecord* shared = one.add_image(L"img\\good-alpha.png", nullptr, 0, false, true);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(two.get_image(L"img\\good-alpha.png"), shared);
    ImageRecord* own = two.add_image(L"img\\good-alpha.png");
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own, shared);
    EXPECT_EQ(two.get_image(L"img\\good-alpha.png"), own);   // the window's table first
    EXPECT_EQ(one.get_image(L"img\\good-alpha.png"), shared);

    // Adding under an existing name destroys the old record and its bitmap.
    HBITMAP old_bitmap = own->bitmap;
    ImageRecord* again = two.add_image(L"img\\good-alpha.png");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(GetObjectType(old_bitmap), 0u);
    EXPECT_EQ(two.get_image(L"img\\good-alpha.png"), again);

    // With the all-shared flag every add goes to the shared table.
    CWindowResourceCache three;
    three.set_all_shared(true);
    ImageRecord* opaque = three.add_image(L"img\\good-opaque.png");
    ASSERT_NE(opaque, nullptr);
    EXPECT_EQ(one.get_image(L"img\\good-opaque.png"), opaque);

    // Re-applying the DPI drops the window's images, not the shared ones.
    two.rebuild_for_dpi();
    EXPECT_EQ(two.get_image(L"img\\good-alpha.png"), shared);
}

TEST_F(ImageCache, SourcesOfAnImage)
{
    CWindowResourceCache cache;
    // A plain path, when the source does not have the name.
    const std::wstring absolute = wfixture("img/good-photo.jpg");
    ImageRecord* photo = cache.add_image(absolute.c_str());
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(photo->width, 8);

    // The catalog's image path replaces an id.
    ASSERT_TRUE(CResourceCatalog::instance().load(L"<Res><Image id=\"logo-id\" path=\"img\\good-alpha.png\"/></Res>"));
    ImageRecord* logo = cache.add_image(L"logo-id");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->width, 4);
    EXPECT_EQ(cache.get_image(L"logo-id"), logo);

    // The archive: slashes for backslashes, ASCII case ignored.
    std::vector<unsigned char> zip = restest::read_file(fixture("skin.zip"));
    CResourceSource::set_resource_zip(zip.data(), static_cast<uint32_t>(zip.size()), nullptr);
    ImageRecord* zipped = cache.add_image(L"IMG\\Good-Alpha.PNG");
    ASSERT_NE(zipped, nullptr);
    EXPECT_EQ(zipped->height, 2);
    EXPECT_EQ(cache.add_image(L"img\\good-photo.jpg"), nullptr);   // not in the archive
}

TEST_F(ImageCache, BadImagesGiveNoRecord)
{
    CWindowResourceCache cache;
    const wchar_t* const names[] = {L"img\\bad-truncated.png", L"img\\bad-text.png", L"img\\bad-huge.png",
                                    L"img\\missing.png", L"", nullptr};
    for (const wchar_t* name : names)
    {
        EXPECT_EQ(cache.add_image(name), nullptr);
        EXPECT_EQ(cache.get_image_ex(name), nullptr);
    }
    EXPECT_EQ(cache.add_image(L"logo", L"PNG"), nullptr);   // a resource type needs a numeric id
    EXPECT_EQ(create_image(nullptr, 4, 4, 0), nullptr);
    const unsigned char px[4] = {1, 2, 3, 4};
    EXPECT_EQ(create_image(px, 0, 1, 0), nullptr);
    EXPECT_EQ(create_image(px, 70000, 70000, 0), nullptr);
}
