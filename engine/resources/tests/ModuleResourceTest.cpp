// Images and catalogs read from the program's own resources (compiled in from files that a
// script writes at build time).
#include "resources/ImageLoader.h"
#include "resources/ResourceCatalog.h"
#include "resources/ResourceModule.h"
#include "resources/ResourceSource.h"
#include "resources/WindowResourceCache.h"

#include "ResourceTestFiles.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Lomar;

TEST(ModuleResources, ImageByNumericIdAndType)
{
    CResourceModule::set_instance(GetModuleHandleW(nullptr));
    EXPECT_EQ(CResourceModule::resource_module(), GetModuleHandleW(nullptr));
    CWindowResourceCache cache;
    ImageRecord* image = cache.add_image(L"201", L"PNGRES");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 1);
    EXPECT_TRUE(image->has_alpha);
    EXPECT_EQ(std::wstring(image->resource_type), L"PNGRES");
    DIBSECTION dib = {};
    ASSERT_EQ(GetObjectW(image->bitmap, sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    const uint32_t* px = static_cast<const uint32_t*>(dib.dsBm.bmBits);
    EXPECT_EQ(px[0], 0xFF0000FFu);
    EXPECT_EQ(px[1], 0x33333300u);   // (255, 255, 0) at alpha 51

    EXPECT_EQ(cache.add_image(L"999", L"PNGRES"), nullptr);   // no such resource
    EXPECT_EQ(cache.add_image(L"201", L"OTHER"), nullptr);
    EXPECT_EQ(cache.add_image(L"x201", L"PNGRES"), nullptr);

    // A text name whose resource is missing is tried as a plain file path.
    const std::wstring path = restest::wfixture("img/good-opaque.png");
    std::unique_ptr<ImageRecord, void (*)(ImageRecord*)> loaded(load_image(path.c_str(), L"PNGRES", 0),
                                                                 destroy_image);
    ASSERT_NE(loaded.get(), nullptr);
    EXPECT_EQ(loaded->width, 3);
}

TEST(ModuleResources, CatalogFromAResource)
{
    CResourceModule::set_instance(GetModuleHandleW(nullptr));
    CResourceCatalog catalog;
    ASSERT_TRUE(catalog.load(MAKEINTRESOURCEW(202), L"XMLRES"));
    EXPECT_EQ(std::wstring(catalog.image_path(L"fromres")), L"img\\good-opaque.png");
    EXPECT_FALSE(catalog.load(MAKEINTRESOURCEW(203), L"XMLRES"));
}
