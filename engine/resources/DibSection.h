// The engine's pixel surface: a 32-bit DIB section, for images, frames, layers and canvases.
#pragma once

#include <windows.h>

#include <cstdint>

namespace Lomar {

// rows_top_down: row 0 at the lowest address (decoded images); otherwise bottom-up, as GDI
// draws a layered window's frame. Null when GDI cannot make it; *bits then is null as well.
HBITMAP create_dib32(HDC dc, int width, int height, bool rows_top_down, uint32_t** bits);

}  // namespace Lomar
