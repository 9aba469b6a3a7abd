// ImageRecord: one decoded skin image, a premultiplied 32-bit top-down DIB section.
#pragma once

#include "core/UIString.h"

#include <windows.h>

#include <cstdint>

namespace Lomar {

struct ImageRecord
{
    HBITMAP bitmap = nullptr;     // owned by the table that holds the record
    void* pixel_copy = nullptr;   // a separate pixel copy; never made in this system
    int width = 0;
    int height = 0;
    bool has_alpha = false;       // a pixel is not opaque, or was made transparent by the mask
    bool colour_adjust = false;   // never set in this system
    CUIString resource_type;      // the resource type it was loaded with, empty for files
    uint32_t mask = 0;            // 0xAARRGGBB made transparent at load time, 0 for none
};

// Deletes the bitmap and the record.
void destroy_image(ImageRecord* image);

} // namespace Lomar
