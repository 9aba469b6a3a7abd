// PNG output read back by an independent decoder.
#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

#include "../PngWriter.h"

using namespace Lomar;

TEST(PngWriter, RoundTripsThroughADecoder)
{
    const int w = 37, h = 19;
    std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4);
    for (int i = 0; i < w * h; ++i)
    {
        rgba[i * 4 + 0] = static_cast<unsigned char>(i);
        rgba[i * 4 + 1] = static_cast<unsigned char>(i * 7);
        rgba[i * 4 + 2] = static_cast<unsigned char>(255 - i);
        rgba[i * 4 + 3] = static_cast<unsigned char>(i % 3 == 0 ? 0 : 200);
    }
    std::vector<unsigned char> png = encode_png(rgba.data(), w, h);
    ASSERT_GT(png.size(), 8u);
    int dw = 0, dh = 0, channels = 0;
    unsigned char* decoded = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &dw, &dh, &channels, 4);
    ASSERT_NE(decoded, nullptr) << stbi_failure_reason();
    EXPECT_EQ(dw, w);
    EXPECT_EQ(dh, h);
    EXPECT_EQ(channels, 4);
    EXPECT_EQ(std::vector<unsigned char>(decoded, decoded + rgba.size()), rgba);
    stbi_image_free(decoded);
}

TEST(PngWriter, RefusesEmptyImages)
{
    unsigned char px[4] = {};
    EXPECT_TRUE(encode_png(nullptr, 1, 1).empty());
    EXPECT_TRUE(encode_png(px, 0, 1).empty());
    EXPECT_TRUE(encode_png(px, 1, -1).empty());
}
