#include "ProgressText.h"

#include <gtest/gtest.h>

#include <cstdint>

struct ProgressCase
{
    int64_t done, total;
    const wchar_t* text;
    int value;
};

TEST(ProgressText, PercentWithOneDecimalAndTruncatedBar)
{
    const ProgressCase cases[] = {
        {0, 200, L"正在安装，请不要关闭 0.0%", 0},
        {199, 200, L"正在安装，请不要关闭 99.5%", 99},
        {200, 200, L"正在安装，请不要关闭 100.0%", 100},
        {379, 1000, L"正在安装，请不要关闭 37.9%", 37},
        {0, INT64_MAX, L"正在安装，请不要关闭 0.0%", 0},  // before the first report
        {0, 0, L"正在安装，请不要关闭 100.0%", 100},        // an empty payload is complete
        {int64_t(5) << 40, int64_t(10) << 40, L"正在安装，请不要关闭 50.0%", 50},
    };
    for (const ProgressCase& c : cases)
    {
        ProgressView v = ComputeProgressView(c.done, c.total);
        EXPECT_STREQ(c.text, v.text.data()) << c.done << "/" << c.total;
        EXPECT_EQ(c.value, v.value) << c.done << "/" << c.total;
    }
}
