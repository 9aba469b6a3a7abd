// load_image: a skin image by name (from the resource source, through the catalog's image
// paths) or by resource id and type (from a module), decoded into a DIB section.
#pragma once

#include "resources/ImageRecord.h"

#include <windows.h>

#include <cstdint>

namespace Lomar {

// `name` may be MAKEINTRESOURCE(id) when `type` is given; `module` null means the effective
// resource module. Returns a new record (caller owns it) or null.
ImageRecord* load_image(const wchar_t* name, const wchar_t* type, uint32_t mask, HINSTANCE module = nullptr);

// The DIB section step alone: premultiplied pixels of `rgba`, top-down.
ImageRecord* create_image(const unsigned char* rgba, int width, int height, uint32_t mask);

} // namespace Lomar
