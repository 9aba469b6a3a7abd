// The image loader (see ImageLoader.h).
#include "resources/ImageLoader.h"

#include "resources/DibSection.h"
#include "resources/ImageDecoder.h"
#include "resources/ResourceBytes.h"
#include "resources/ResourceCatalog.h"
#include "resources/ResourceModule.h"
#include "resources/ResourceSource.h"

namespace Lomar {

void destroy_image(ImageRecord* image)
{
    if (!image)
        return;
    if (image->bitmap)
        DeleteObject(image->bitmap);
    delete image;
}

ImageRecord* create_image(const unsigned char* rgba, int width, int height, uint32_t mask)
{
    if (!rgba || width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > kMaxImagePixels)
        return nullptr;
    uint32_t* bits = nullptr;
    HBITMAP bitmap = create_dib32(nullptr, width, height, true, &bits);
    if (!bitmap || !bits)
    {
        if (bitmap)
            DeleteObject(bitmap);
        return nullptr;
    }
    ImageRecord* image = new ImageRecord;
    image->bitmap = bitmap;
    image->width = width;
    image->height = height;
    image->has_alpha = premultiply_pixels(rgba, bits,
                                          static_cast<uint32_t>(width) * height, mask);
    return image;
}

ImageRecord* load_image(const wchar_t* name, const wchar_t* type, uint32_t mask, HINSTANCE module)
{
    if (!name)
        return nullptr;
    const unsigned char* data = nullptr;
    uint32_t size = 0;
    CResourceBytes file;
    if (type && *type)
    {
        const void* resource;
        if (CResourceModule::find(module, name, type, &resource, &size))
            data = static_cast<const unsigned char*>(resource);
        else if (is_resource_id(name))
            return nullptr;
    }
    if (!data)
    {
        if (is_resource_id(name) || !*name)
            return nullptr;
        bool found;
        if (type && *type)
            found = read_whole_file(name, CResourceSource::kMaxNamedFile, &file) == RESOURCE_OK;
        else
        {
            if (const wchar_t* path = CResourceCatalog::instance().image_path(name))
                name = path;
            found = CResourceSource::read_named_file(name, &file);
        }
        if (!found)
            return nullptr;
        data = file.data();
        size = file.size();
    }
    DecodedImage decoded;
    if (!decode_image(data, size, &decoded))
        return nullptr;
    return create_image(decoded.rgba, decoded.width, decoded.height, mask);
}

} // namespace Lomar
