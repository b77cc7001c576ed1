// The owner-drawn menu's rules that need no window: the Windows version
// code and theme test that choose its drawing style, the widening of
// accelerator labels, the keyboard mnemonics and the colour blend.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace owner_menu {

// The menu's Windows version code from GetVersion's result and, when it
// could be read, the version record (null: GetVersion's own numbers):
// 0 Win32s, 2 Windows 95, 3 98, 4 ME, 5 NT 4, 6 2000, 7 XP, 1 anything
// newer (5.2, 6.x and later).
int VersionCodeFrom(DWORD getVersion, const OSVERSIONINFOA* info);

// Whether the current-theme registry value names the classic theme: a
// string value (REG_SZ or REG_EXPAND_SZ) of size bytes that ends, in any
// case, in "Windows Classic.theme". The value need not be terminated.
bool IsClassicThemeValue(DWORD type, const BYTE* data, DWORD size);

// Widens the labels in front of a tab with spaces until each is as wide as
// the widest label plus one space, as width measures them. Texts without a
// tab are left alone. A label stops growing after as many spaces as the
// widest label is wide, even if a space measures nothing.
void PadAcceleratorTexts(std::vector<std::wstring>& texts, const std::function<int(const std::wstring&)>& width);

// A caption split at its tabs: the label before the first, the accelerator
// after the last.
struct AcceleratorSplit {
    std::wstring label, accelerator;
    bool hasTab;
};
AcceleratorSplit SplitAccelerator(const std::wstring& text);

// The classic style's image top within an item (4 pixels of frame around
// the image), 0 when the item is too low.
int ClassicImageTop(int itemTop, int itemBottom, int iconHeight);
// The flat style's offset that centres size within span, rounded half up,
// 0 when it does not fit.
int CentredOffset(int span, int size);
// An item's size: a separator half a menu line high, others as wide as
// their text plus the image column and at least a menu line high. The
// themed XP look pads more.
SIZE MenuItemSize(bool separator, int textWidth, int menuLineHeight, int iconWidth, int iconHeight, bool themedXp);

// Whether the label of text (the part before the first tab) has the
// mnemonic ch: an ampersand followed by ch, in either case. "&&" stands for
// a plain ampersand and marks nothing.
bool TextHasMnemonic(const std::wstring& text, wchar_t ch);

}  // namespace owner_menu

// colour moved towards white by factor (0 < factor <= 1; any other factor
// leaves it): each channel c becomes factor * (255 - c) + c, truncated.
COLORREF BlendTowardWhite(COLORREF colour, double factor);
