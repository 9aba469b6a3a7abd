#include "ProgressText.h"

const wchar_t kInstallingText[] = L"正在安装，请不要关闭";

ProgressView ComputeProgressView(int64_t done, int64_t total)
{
    double percent;
    if (total > 0) percent = double(done) * 100.0 / double(total);
    else percent = (done == total) ? 100.0 : 0.0;  // an empty payload is complete at once
    ProgressView view;
    view.text.format(L"%s %.1f%%", kInstallingText, percent);
    view.value = int(percent);
    return view;
}
