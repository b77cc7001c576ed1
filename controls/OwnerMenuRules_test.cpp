#include "OwnerMenuRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace owner_menu;

namespace {

// GetVersion's result: build in the high word, minor and major below, and
// the high bit for the Windows 9x family.
DWORD Version(bool nineX, DWORD major, DWORD minor)
{
    return (nineX ? 0x80000000u : 0x1DB00000u) | (minor << 8) | major;
}

OSVERSIONINFOA Info(DWORD major, DWORD minor)
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    return info;
}

std::vector<BYTE> Utf16(const std::wstring& s, bool terminate = true)
{
    std::vector<BYTE> b;
    for (wchar_t c : s) {
        b.push_back(static_cast<BYTE>(c & 0xFF));
        b.push_back(static_cast<BYTE>(c >> 8));
    }
    if (terminate)
        b.insert(b.end(), {0, 0});
    return b;
}

}  // namespace

TEST(OwnerMenuRules, VersionCodes)
{
    struct Case {
        bool nineX;
        DWORD major, minor;
        int code;
    } cases[] = {
        {true, 3, 10, 0},  {true, 4, 0, 2},  {true, 4, 10, 3}, {true, 4, 90, 4},  {false, 4, 0, 5},
        {false, 5, 0, 6},  {false, 5, 1, 7}, {false, 5, 2, 1}, {false, 6, 1, 1},  {false, 10, 0, 1},
        {false, 3, 51, 1},
    };
    for (const Case& c : cases) {
        OSVERSIONINFOA info = Info(c.major, c.minor);
        EXPECT_EQ(VersionCodeFrom(Version(c.nineX, c.major, c.minor), &info), c.code) << c.major << "." << c.minor;
        // Without the version record GetVersion's own numbers decide.
        EXPECT_EQ(VersionCodeFrom(Version(c.nineX, c.major, c.minor), nullptr), c.code) << c.major << "." << c.minor;
    }
    // The record wins over GetVersion (which a compatibility layer may bend).
    OSVERSIONINFOA xp = Info(5, 1);
    EXPECT_EQ(VersionCodeFrom(Version(false, 6, 1), &xp), 7);
}

TEST(OwnerMenuRules, ClassicThemeValue)
{
    const std::wstring classic = L"C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme";
    struct Case {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
        bool classic;
    } cases[] = {
        {"classic", REG_SZ, Utf16(classic), true},
        {"expandable path", REG_EXPAND_SZ, Utf16(L"%SystemRoot%\\Resources\\Themes\\Windows Classic.theme"), true},
        {"capitals", REG_SZ, Utf16(L"C:\\THEMES\\WINDOWS CLASSIC.THEME"), true},
        {"just the name", REG_SZ, Utf16(L"Windows Classic.theme"), true},
        {"unterminated", REG_SZ, Utf16(classic, false), true},
        {"luna", REG_SZ, Utf16(L"C:\\WINDOWS\\Resources\\Themes\\Luna.theme"), false},
        {"shorter than the name", REG_SZ, Utf16(L"Classic.theme"), false},
        {"empty", REG_SZ, {}, false},
        {"binary", REG_BINARY, Utf16(classic), false},
        {"number", REG_DWORD, {1, 0, 0, 0}, false},
        {"name after a NUL", REG_SZ, Utf16(L"x\0Windows Classic.theme"), false},
    };
    cases[10].data = Utf16(std::wstring(L"x\0Windows Classic.theme", 23));
    for (const Case& c : cases)
        EXPECT_EQ(IsClassicThemeValue(c.type, c.data.data(), static_cast<DWORD>(c.data.size())), c.classic) << c.what;
    // An odd byte count reads the whole characters only.
    std::vector<BYTE> odd = Utf16(L"Windows Classic.theme", false);
    odd.push_back('x');
    EXPECT_TRUE(IsClassicThemeValue(REG_SZ, odd.data(), static_cast<DWORD>(odd.size())));
    EXPECT_FALSE(IsClassicThemeValue(REG_SZ, nullptr, 10));
}

TEST(OwnerMenuRules, AcceleratorTextsLineUpBehindTheWidestLabel)
{
    // Every character is 5 wide, a space 2.
    auto width = [](const std::wstring& s) {
        int w = 0;
        for (wchar_t c : s)
            w += c == L' ' ? 2 : 5;
        return w;
    };
    std::vector<std::wstring> texts = {L"Open\tCtrl+O", L"Recent files", L"Exit\tAlt+F4", L"", L"a\tb\tc"};
    PadAcceleratorTexts(texts, width);
    // The widest label and a space: "Recent files " is 59 wide. "Open" (20)
    // reaches it with 20 spaces, "a" (5) with 27.
    EXPECT_EQ(texts[0], L"Open" + std::wstring(20, L' ') + L"\tCtrl+O");
    EXPECT_EQ(texts[1], L"Recent files");  // no tab: unchanged
    EXPECT_EQ(texts[2], L"Exit" + std::wstring(20, L' ') + L"\tAlt+F4");
    EXPECT_EQ(texts[3], L"");
    EXPECT_EQ(texts[4], L"a" + std::wstring(27, L' ') + L"\tb\tc");  // up to the first tab
}

TEST(OwnerMenuRules, PaddingEndsWhenSpacesMeasureNothing)
{
    // A font whose space has no width: the label never grows.
    auto width = [](const std::wstring& s) {
        int w = 0;
        for (wchar_t c : s)
            w += c == L' ' ? 0 : 7;
        return w;
    };
    std::vector<std::wstring> texts = {L"Go\tF5", L"Much longer label"};
    PadAcceleratorTexts(texts, width);
    size_t tab = texts[0].find(L'\t');
    ASSERT_NE(tab, std::wstring::npos);
    EXPECT_EQ(texts[0].substr(tab), L"\tF5");
    EXPECT_EQ(texts[0].substr(0, 2), L"Go");
    EXPECT_LE(tab, 2u + 105 + 1);  // no more spaces than the widest label is wide
}

TEST(OwnerMenuRules, Mnemonics)
{
    struct Case {
        const wchar_t* text;
        wchar_t ch;
        bool found;
    } cases[] = {
        {L"&Open", L'o', true},
        {L"&Open", L'O', true},
        {L"&open", L'O', true},
        {L"&Open", L'p', false},
        {L"Open", L'o', false},
        {L"Save && &Quit", L'q', true},
        {L"A&&b", L'b', false},  // "&&" is a plain ampersand
        {L"&&&x", L'x', true},
        {L"Open\tCtrl+&O", L'o', false},  // the accelerator text does not count
        {L"Go\tF&5", L'5', false},
        {L"截图(&S)", L's', true},
        {L"&打开", L'\x6253', true},
        {L"&\xc9t\xe9", L'\xe9', true},  // lower case beyond ASCII
        {L"", L'a', false},
        {L"End &", L'&', false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextHasMnemonic(c.text, c.ch), c.found) << static_cast<int>(c.ch);
}

TEST(OwnerMenuRules, BlendTowardWhite)
{
    struct Case {
        COLORREF colour;
        double factor;
        COLORREF blended;
    } cases[] = {
        {RGB(0, 0, 0), 0.7, RGB(178, 178, 178)},
        {RGB(10, 36, 106), 0.7, RGB(181, 189, 210)},  // 0.7 * 245 + 10 = 181.5
        {RGB(10, 36, 106), 0.85, RGB(218, 222, 232)},
        {RGB(212, 208, 200), 0.6, RGB(237, 236, 233)},
        {RGB(1, 2, 3), 1.0, RGB(255, 255, 255)},
        {RGB(1, 2, 3), 0.0, RGB(1, 2, 3)},
        {RGB(1, 2, 3), -0.5, RGB(1, 2, 3)},
        {RGB(1, 2, 3), 1.5, RGB(1, 2, 3)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlendTowardWhite(c.colour, c.factor), c.blended) << c.factor;
}
