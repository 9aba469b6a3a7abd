// Image decoding and premultiplication, on images written by Pillow at test time.
#include "resources/ImageDecoder.h"

#include "ResourceTestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace Lomar;
using restest::fixture;
using restest::read_file;

TEST(ImagePixels, PremultipliedAndMasked)
{
    struct Row
    {
        unsigned char rgba[4];
        uint32_t mask;
        uint32_t stored;
        bool has_alpha;
    } const rows[] = {
        {{200, 100, 50, 128}, 0, 0x80643219, true},     // R=200, A=128 stores R=100
        {{255, 0, 255, 255}, 0, 0xFFFF00FF, false},
        {{255, 0, 255, 255}, 0xFFFF00FF, 0, true},      // opaque magenta masked out
        {{255, 0, 254, 255}, 0xFFFF00FF, 0xFFFF00FE, false},
        {{255, 0, 255, 128}, 0xFFFF00FF, 0x80800080, true},   // the mask compares premultiplied values
        {{10, 20, 30, 0}, 0, 0, true},
        {{100, 150, 200, 64}, 0, 0x40192532, true},
        {{1, 2, 3, 255}, 0, 0xFF010203, false},
    };
    for (const Row& row : rows)
    {
        uint32_t out = 0x12345678;
        EXPECT_EQ(premultiply_pixels(row.rgba, &out, 1, row.mask), row.has_alpha) << std::hex << row.stored;
        EXPECT_EQ(out, row.stored);
    }
}

TEST(ImageDecode, FormatsDecodeToRgba)
{
    DecodedImage image;
    std::vector<unsigned char> png = read_file(fixture("img/good-alpha.png"));
    ASSERT_TRUE(decode_image(png.data(), static_cast<uint32_t>(png.size()), &image));
    ASSERT_EQ(image.width, 4);
    ASSERT_EQ(image.height, 2);
    const unsigned char want[8][4] = {{200, 100, 50, 128}, {255, 0, 255, 255}, {10, 20, 30, 0}, {255, 255, 255, 255},
                                      {0, 0, 0, 255},      {255, 0, 255, 128}, {100, 150, 200, 64}, {1, 2, 3, 255}};
    for (int i = 0; i < 8; ++i)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(image.rgba[i * 4 + c], want[i][c]) << i << "/" << c;

    struct Row
    {
        const char* file;
        int width, height;
        unsigned char first[4];
        int tolerance;
    } const rows[] = {
        {"img/good-opaque.png", 3, 2, {255, 0, 255, 255}, 0},
        {"img/good-opaque.bmp", 3, 2, {255, 0, 255, 255}, 0},
        {"img/good-photo.jpg", 8, 8, {40, 80, 120, 255}, 4},
        {"img/good-frame.gif", 5, 3, {0, 0, 0, 255}, 0},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.file);
        std::vector<unsigned char> bytes = read_file(fixture(row.file));
        ASSERT_TRUE(decode_image(bytes.data(), static_cast<uint32_t>(bytes.size()), &image));
        EXPECT_EQ(image.width, row.width);
        EXPECT_EQ(image.height, row.height);
        for (int c = 0; c < 4; ++c)
            EXPECT_LE(std::abs(image.rgba[c] - row.first[c]), row.tolerance) << c;
    }
}

TEST(ImageDecode, BadImagesAreRefused)
{
    DecodedImage image;
    for (const char* file : {"img/bad-truncated.png", "img/bad-text.png", "img/bad-huge.png"})
    {
        std::vector<unsigned char> bytes = read_file(fixture(file));
        ASSERT_FALSE(bytes.empty()) << file;
        EXPECT_FALSE(decode_image(bytes.data(), static_cast<uint32_t>(bytes.size()), &image)) << file;
        EXPECT_EQ(image.rgba, nullptr);
    }
    EXPECT_FALSE(decode_image(nullptr, 10, &image));
    const unsigned char one = 0x89;
    EXPECT_FALSE(decode_image(&one, 0, &image));
}

TEST(ImageDecode, MutatedImagesNeverBreakTheDecoder)
{
    // Byte-level damage to real images: decoding fails or succeeds within the limits, and
    // never reads or writes outside its buffers (the native sanitizer build checks that).
    const char* const files[] = {"img/good-alpha.png", "img/good-opaque.png", "img/good-photo.jpg",
                                 "img/good-opaque.bmp", "img/good-frame.gif"};
    uint64_t state = 7;
    auto next = [&state](uint32_t n) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return n ? static_cast<uint32_t>(state >> 33) % n : 0u;
    };
    int decoded = 0, refused = 0;
    for (int round = 0; round < 4000; ++round)
    {
        std::vector<unsigned char> bytes = read_file(fixture(files[round % 5]));
        ASSERT_FALSE(bytes.empty());
        for (int k = 1 + next(4); k > 0; --k)
        {
            uint32_t at = next(static_cast<uint32_t>(bytes.size()));
            switch (next(3))
            {
            case 0: bytes[at] = static_cast<unsigned char>(next(256)); break;
            case 1: bytes[at] ^= 0x80; break;
            default: bytes.resize(at + 1); break;
            }
        }
        DecodedImage image;
        if (decode_image(bytes.data(), static_cast<uint32_t>(bytes.size()), &image))
        {
            ++decoded;
            EXPECT_GT(image.width, 0);
            EXPECT_LE(static_cast<int64_t>(image.width) * image.height, kMaxImagePixels);
            uint32_t sum = 0;
            for (int64_t i = 0; i < static_cast<int64_t>(image.width) * image.height * 4; ++i)
                sum += image.rgba[i];   // every decoded byte is readable
            volatile uint32_t sink = sum;
            (void)sink;
        }
        else
            ++refused;
    }
    EXPECT_GT(decoded, 100);
    EXPECT_GT(refused, 100);
}
