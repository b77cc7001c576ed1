#include "CallerText.h"

#include <windows.h>

#include <gtest/gtest.h>

using namespace geodraw;

TEST(CallerText, Utf8OrTheAnsiCodePage) {
    EXPECT_EQ(WideText("speed"), L"speed");
    EXPECT_EQ(WideText("\xE9\x80\x9F\xE5\xBA\xA6"), L"\u901F\u5EA6");   // UTF-8
    EXPECT_EQ(WideText(nullptr), L"");
    EXPECT_EQ(WideText(""), L"");
    // Not UTF-8 (GBK bytes): read in the ANSI code page, whatever it is.
    const char gbk[] = "\xCB\xD9\xB6\xC8";
    wchar_t ansi[16] = {};
    MultiByteToWideChar(CP_ACP, 0, gbk, -1, ansi, 16);
    EXPECT_EQ(WideText(gbk), ansi);
    EXPECT_FALSE(WideText(gbk).empty());
}

TEST(CallerText, Decimals) {
    struct Case { const char* text; bool ok; double value; } cases[] = {
        {"120.153210", true, 120.153210},
        {"-33.868820", true, -33.868820},
        {"+0.5", true, 0.5},
        {" 12 ", true, 12},
        {"12.", true, 12},
        {".5", true, 0.5},
        {"0.000001", true, 0.000001},
        {"", false, 0},
        {"-", false, 0},
        {".", false, 0},
        {"1e5", false, 0},
        {"12,5", false, 0},
        {"1.2.3", false, 0},
        {"abc", false, 0},
        {"nan", false, 0},
        {"12 3", false, 0},
        {nullptr, false, 0},
    };
    for (const Case& c : cases) {
        double value = -999;
        EXPECT_EQ(ParseDecimal(c.text, &value), c.ok) << (c.text ? c.text : "(null)");
        EXPECT_EQ(value, c.ok ? c.value : -999) << (c.text ? c.text : "(null)");   // exactly; untouched on failure
    }
}

TEST(CallerText, PositionsWithinTheirRanges) {
    struct Case { const char *x, *y; bool ok; } cases[] = {
        {"120.153210", "30.280001", true}, {"-180.000000", "-90.000000", true}, {"180", "90", true},
        {"180.000001", "0", false},        {"0", "90.5", false},                 {"0", "-90.000001", false},
        {"abc", "30", false},              {"120", nullptr, false},
    };
    for (const Case& c : cases) {
        double lon = -1, lat = -1;
        EXPECT_EQ(ParsePosition(c.x, c.y, &lon, &lat), c.ok) << c.x;
        if (!c.ok) {
            EXPECT_EQ(lon, -1);
            EXPECT_EQ(lat, -1);
        }
    }
}
