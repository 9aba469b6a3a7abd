// Where CenterInArea puts a window: the pure part of the rule, without any window.
#pragma once

#include "core/UIRect.h"

using Lomar::CUIPoint;
using Lomar::CUIRect;

struct CenterInputs
{
    CUIRect window;        // the window's current screen rectangle
    CUIRect area;          // empty: no area given
    bool ownerUsable;      // an owner exists, is visible and is not minimised
    CUIRect owner;         // the owner's screen rectangle
    CUIRect primary;       // the primary monitor's whole rectangle; empty when none was found
    CUIPoint offset;
};

// Top-left corner for the window.
CUIPoint ComputeCenterPosition(const CenterInputs& in);
