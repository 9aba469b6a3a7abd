// FontRecord: one GDI font created from a skin's font description.
#pragma once

#include "core/UIString.h"

#include <windows.h>

namespace Lomar {

struct FontRecord
{
    HFONT font = nullptr;      // owned by the table that holds the record
    CUIString face_name;       // as stored in the LOGFONTW
    int size = 0;              // as written in the skin, before DPI scaling
    bool bold = false;
    bool underline = false;
    bool italic = false;
    TEXTMETRICW metrics = {};  // measured lazily; tmHeight 0 means not yet
};

} // namespace Lomar
