// libFuzzer target: any bytes as an in-memory archive. Every entry is described, looked up by
// its stored name in both case modes and inflated in pieces whose size the input chooses, so
// that the resuming paths run too. Output is capped: a declared size is never trusted.
#include "zip/ZipArchive.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace Lomar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 24))
        return 0;
    // The last byte picks the piece size; the archive itself is the whole input so that the
    // seeds (real archives) stay valid.
    const uint32_t piece = size ? 1u + (data[size - 1] * 131u) % 40000u : 1u;
    const char* password = (size && (data[0] & 1)) ? "s3cret" : nullptr;
    ZipArchive* zip = open_zip(data, static_cast<uint32_t>(size), password);
    if (!zip)
        return 0;
    std::vector<unsigned char> out(piece);
    const int count = zip_item_count(zip);
    for (int i = 0; i < count && i < 64; ++i)
    {
        ZipEntry entry;
        if (get_zip_item(zip, i, &entry) != ZR_OK)
            continue;
        int index = -1;
        find_zip_item(zip, entry.name, true, &index, nullptr);
        find_zip_item(zip, entry.name, false, &index, nullptr);
        ZRESULT r = ZR_MORE;
        for (uint64_t produced = 0; r == ZR_MORE && produced < (4u << 20); produced += piece)
            r = unzip_item(zip, i, out.data(), piece);
    }
    unzip_item(zip, count, out.data(), piece);
    close_zip(zip);
    return 0;
}
