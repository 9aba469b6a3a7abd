// What the progress page shows for the extraction counters.
#pragma once

#include "core/UIString.h"

#include <cstdint>

extern const wchar_t kInstallingText[];

struct ProgressView
{
    Lomar::CUIString text;  // "正在安装，请不要关闭 37.5%"
    int value = 0;          // the bar, 0 to 100
};

ProgressView ComputeProgressView(int64_t done, int64_t total);
