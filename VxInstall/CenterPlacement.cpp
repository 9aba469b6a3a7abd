#include "CenterPlacement.h"

namespace {

// As IsRectEmpty: no width or no height.
bool IsEmptyArea(const CUIRect& r) { return r.right <= r.left || r.bottom <= r.top; }

} // namespace

CUIPoint ComputeCenterPosition(const CenterInputs& in)
{
    int width = in.window.right - in.window.left;
    int height = in.window.bottom - in.window.top;
    bool haveArea = !IsEmptyArea(in.area);

    CUIRect r = in.primary;
    if (haveArea) r = in.area;
    else if (in.ownerUsable)
    {
        // Horizontally over the owner, vertically over the primary monitor.
        r.left = in.owner.left;
        r.right = in.owner.right;
        r.top = in.primary.top;
        r.bottom = in.primary.bottom;
    }

    int x = (r.left + r.right) / 2 - width / 2 + in.offset.x;
    int y = (r.top + r.bottom) / 2 - height / 2 + in.offset.y;
    if (haveArea)
    {
        if (x < in.area.left) x = in.area.left;
        else if (x + width > in.area.right) x = in.area.right - width;
        if (y < in.area.top) y = in.area.top;
        else if (y + height > in.area.bottom) y = in.area.bottom - height;
    }
    return CUIPoint(x, y);
}
