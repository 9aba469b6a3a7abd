// ImageDrawSpec: one parsed image string ("file='a.png' corner='2,2,2,2' ...").
// Parsing is pure text work; the per-window cache of parsed strings is CDrawSpecTable.
#pragma once

#include <cstdint>

#include "core/UIRect.h"
#include "core/UIString.h"

namespace Lomar {

struct ImageDrawSpec
{
    CUIString draw_string;    // the image string as written
    CUIString modify_string;  // options that override those of draw_string
    CUIString image_name;     // starts as the whole draw string
    CUIString resource_type;  // with it, image_name is a numeric resource id
    CUIRect dest;             // relative to the item's top-left corner; all zero = the item
    CUIRect source;           // image pixels; all zero = the whole image
    CUIRect corner;           // nine-grid border widths
    uint32_t mask = 0;        // 0xAARRGGBB made transparent at load time; 0 = none
    uint8_t fade = 255;       // constant alpha
    bool hole = false;        // leave the nine-grid centre undrawn
    bool x_tiled = false;
    bool y_tiled = false;
    bool hsl = false;         // read, never used
    CUISize size;             // draw at this size, placed by align and padding
    CUIRect padding;          // offsets applied after alignment
    CUIString align;          // words "left"/"center"/"right", "top"/"vcenter"/"bottom"

    // Parses draw then modify; scale_percent applies to dest, source, corner and padding.
    void parse(const wchar_t* draw, const wchar_t* modify, int scale_percent = 100);

    // Applies one image string's key='value' pairs over the current fields.
    void apply_string(const wchar_t* text, int scale_percent);
};

// Value readers shared with the control attribute code: decimal numbers where each one is
// followed by exactly one separator character.
namespace image_string {
CUIRect read_rect(const wchar_t* value);
CUISize read_size(const wchar_t* value);
bool read_bool(const wchar_t* value);
} // namespace image_string

} // namespace Lomar
