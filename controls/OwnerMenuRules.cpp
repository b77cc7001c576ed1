#include "OwnerMenuRules.h"

namespace owner_menu {

int VersionCodeFrom(DWORD getVersion, const OSVERSIONINFOA* info)
{
    const bool nineX = (getVersion & 0x80000000u) != 0;
    DWORD major = LOBYTE(LOWORD(getVersion)), minor = HIBYTE(LOWORD(getVersion));
    if (nineX && major < 4)
        return 0;
    if (info) {
        major = info->dwMajorVersion;
        minor = info->dwMinorVersion;
    }
    if (nineX) {
        if (major == 4 && minor == 10)
            return 3;
        if (major == 4 && minor == 90)
            return 4;
        return 2;
    }
    if (major == 4)
        return 5;
    if (major == 5 && minor == 0)
        return 6;
    if (major == 5 && minor == 1)
        return 7;
    return 1;
}

bool IsClassicThemeValue(DWORD type, const BYTE* data, DWORD size)
{
    static const wchar_t kSuffix[] = L"Windows Classic.theme";
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || !data)
        return false;
    std::wstring value;
    for (DWORD i = 0; i + 1 < size; i += 2) {
        wchar_t c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (!c)
            break;
        value.push_back(c);
    }
    const size_t n = sizeof kSuffix / sizeof kSuffix[0] - 1;
    return value.size() >= n && ::lstrcmpiW(value.c_str() + value.size() - n, kSuffix) == 0;
}

void PadAcceleratorTexts(std::vector<std::wstring>& texts, const std::function<int(const std::wstring&)>& width)
{
    int widest = 0;
    for (const std::wstring& t : texts) {
        int w = width(t.substr(0, t.find(L'\t')) + L" ");
        if (w > widest)
            widest = w;
    }
    for (std::wstring& t : texts) {
        size_t tab = t.find(L'\t');
        if (tab == std::wstring::npos)
            continue;
        std::wstring label = t.substr(0, tab);
        for (int spaces = 0; spaces <= widest && width(label) < widest; ++spaces)
            label += L' ';
        t = label + t.substr(tab);
    }
}

AcceleratorSplit SplitAccelerator(const std::wstring& text)
{
    const size_t first = text.find(L'\t');
    if (first == std::wstring::npos)
        return {text, std::wstring(), false};
    return {text.substr(0, first), text.substr(text.rfind(L'\t') + 1), true};
}

int ClassicImageTop(int itemTop, int itemBottom, int iconHeight)
{
    int dy = (itemBottom - iconHeight - itemTop - 4) / 2;
    return dy < 0 ? 0 : dy;
}

int CentredOffset(int span, int size)
{
    int offset = static_cast<int>((span - size) * 0.5 + 0.5);
    return offset < 0 ? 0 : offset;
}

SIZE MenuItemSize(bool separator, int textWidth, int menuLineHeight, int iconWidth, int iconHeight, bool themedXp)
{
    const int pad = themedXp ? 7 : 4;
    if (separator) {
        int half = menuLineHeight >> 1, image = (iconHeight + pad) / 2;
        return {0, half > image ? half : image};
    }
    int width = themedXp ? textWidth + iconWidth + pad + 8 : textWidth + 2 * iconWidth + 1;
    int height = menuLineHeight > iconHeight + pad ? menuLineHeight : iconHeight + pad;
    return {width, height};
}

namespace {
wchar_t Lower(wchar_t c)
{
    ::CharLowerBuffW(&c, 1);
    return c;
}
}  // namespace

bool TextHasMnemonic(const std::wstring& text, wchar_t ch)
{
    const std::wstring label = text.substr(0, text.find(L'\t'));
    const wchar_t key = Lower(ch);
    for (size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != L'&')
            continue;
        if (label[i + 1] == L'&') {
            ++i;  // a plain ampersand
            continue;
        }
        if (Lower(label[i + 1]) == key)
            return true;
    }
    return false;
}

}  // namespace owner_menu

COLORREF BlendTowardWhite(COLORREF colour, double factor)
{
    if (!(factor > 0 && factor <= 1))
        return colour;
    auto blend = [factor](BYTE c) { return static_cast<BYTE>(factor * (255 - c) + c); };
    return RGB(blend(GetRValue(colour)), blend(GetGValue(colour)), blend(GetBValue(colour)));
}
