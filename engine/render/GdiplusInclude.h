// GDI+ headers need min/max in scope, which NOMINMAX removes from <windows.h>.
#pragma once

#include <windows.h>

#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus

#include <objidl.h>
#include <gdiplus.h>
