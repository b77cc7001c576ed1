#include "OwnerMenu.h"

#include "OwnerMenuMemDC.h"
#include "OwnerMenuRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

const UINT kPlayMenu = 700, kExtendedMenu = 790, kOnlyPopupMenu = 791, kCutShortMenu = 792;

UINT ItemType(HMENU menu, UINT position)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info.fType;
}

ULONG_PTR ItemData(HMENU menu, UINT position)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info.dwItemData;
}

size_t Entries(HMENU h)
{
    return static_cast<size_t>(
        std::count(COwnerMenu::SubMenuHandles.begin(), COwnerMenu::SubMenuHandles.end(), h));
}

// The label part of a caption, before its first tab.
std::wstring Label(const std::wstring& text)
{
    return text.substr(0, text.find(L'\t'));
}

int MenuFontWidth(const std::wstring& s)
{
    HFONT font = CreateMenuFont();
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return size.cx;
}

}  // namespace

TEST(OwnerMenu, LoadedMenuHasStringTopLevelAndOwnerDrawnPopups)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kPlayMenu));
    HMENU root = menu.GetSafeHmenu();
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(menu.loadedFromResource);
    EXPECT_EQ(COwnerMenu::FromHandle(root), &menu);

    // Top level: plain strings, Chinese intact.
    ASSERT_EQ(GetMenuItemCount(root), 3);
    ASSERT_EQ(menu.items.size(), 3u);
    EXPECT_EQ(MenuItemText(root, 0), L"&Play");
    EXPECT_EQ(MenuItemText(root, 1), L"查看(&V)");
    EXPECT_EQ(MenuItemText(root, 2), L"&Help");
    EXPECT_EQ(menu.items[0]->flags, static_cast<UINT>(MF_BYPOSITION | MF_POPUP));
    EXPECT_EQ(menu.items[2]->flags, static_cast<UINT>(MF_BYPOSITION | MF_STRING));
    EXPECT_EQ(GetMenuItemID(root, 2), 720u);
    for (UINT i = 0; i < 3; ++i)
        EXPECT_FALSE(ItemType(root, i) & MFT_OWNERDRAW) << i;

    // The first popup: owner-drawn items carrying their records.
    HMENU play = GetSubMenu(root, 0);
    ASSERT_NE(play, nullptr);
    COwnerMenu* sub = COwnerMenu::FromHandle(play);
    ASSERT_NE(sub, nullptr);
    ASSERT_EQ(GetMenuItemCount(play), 9);
    ASSERT_EQ(sub->items.size(), 9u);
    for (UINT i = 0; i < 9; ++i) {
        EXPECT_TRUE(ItemType(play, i) & MFT_OWNERDRAW) << i;
        EXPECT_EQ(ItemData(play, i), reinterpret_cast<ULONG_PTR>(sub->items[i])) << i;
    }
    EXPECT_EQ(sub->items[1]->GetText(), L"&Recent files");
    EXPECT_EQ(sub->items[1]->commandId, 702u);
    EXPECT_TRUE(GetMenuState(play, 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(play, 5, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_EQ(sub->items[2]->flags, static_cast<UINT>(MF_SEPARATOR | MF_OWNERDRAW));
    EXPECT_EQ(sub->items[2]->commandId, 0u);
    EXPECT_EQ(sub->items[6]->GetText(), L"截图(&S)");
    // The nested popup is one of the popup's own items.
    HMENU more = GetSubMenu(play, 7);
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(sub->items[7]->commandId, reinterpret_cast<UINT_PTR>(more));
    EXPECT_EQ(sub->items[7]->flags & (MF_POPUP | MF_OWNERDRAW), static_cast<UINT>(MF_POPUP | MF_OWNERDRAW));
    ASSERT_NE(COwnerMenu::FromHandle(more), nullptr);
    EXPECT_EQ(COwnerMenu::FromHandle(more)->items[0]->GetText(), L"&About");
    // Every popup handle is listed.
    EXPECT_EQ(Entries(play), 1u);
    EXPECT_EQ(Entries(more), 1u);
    EXPECT_EQ(Entries(GetSubMenu(root, 1)), 1u);

    // Accelerator labels widened to the widest label and a space; texts
    // without a tab unchanged.
    int widest = 0;
    for (const wchar_t* label : {L"&Open recording", L"&Recent files", L"", L"&Single pane", L"&Four panes",
                                 L"&Export clip", L"截图(&S)", L"&More", L"E&xit"})
        widest = std::max(widest, MenuFontWidth(std::wstring(label) + L" "));
    for (int i : {0, 4, 5}) {
        std::wstring text = sub->items[i]->GetText();
        ASSERT_NE(text.find(L'\t'), std::wstring::npos) << i;
        EXPECT_GE(MenuFontWidth(Label(text)), widest) << i;
        EXPECT_LT(MenuFontWidth(Label(text)), widest + MenuFontWidth(L" ")) << i;
        EXPECT_EQ(text.back(), i == 0 ? L'O' : i == 4 ? L'4' : L'E');
    }
    EXPECT_EQ(sub->items[0]->GetText().substr(0, 16), L"&Open recording ");
    EXPECT_EQ(sub->items[8]->GetText(), L"E&xit");

    // Destroying frees the whole tree.
    menu.DestroyMenu();
    EXPECT_EQ(menu.GetSafeHmenu(), nullptr);
    EXPECT_FALSE(IsMenu(root));
    EXPECT_FALSE(IsMenu(play));
    EXPECT_FALSE(IsMenu(more));
    EXPECT_EQ(Entries(play), 0u);
    EXPECT_EQ(COwnerMenu::FromHandle(play), nullptr);
    EXPECT_TRUE(menu.items.empty());
}

TEST(OwnerMenu, FirstPopupThatIsTheLastItemHoldsAllTheRest)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kOnlyPopupMenu));
    ASSERT_EQ(GetMenuItemCount(menu.GetSafeHmenu()), 1);
    HMENU only = GetSubMenu(menu.GetSafeHmenu(), 0);
    ASSERT_NE(only, nullptr);
    EXPECT_EQ(GetMenuItemCount(only), 2);
    EXPECT_EQ(GetMenuItemID(only, 1), 2u);
}

TEST(OwnerMenu, MissingOrExtendedTemplatesLeaveNoTree)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kPlayMenu));
    HMENU old = menu.GetSafeHmenu();
    EXPECT_FALSE(menu.LoadMenu(kExtendedMenu));
    EXPECT_EQ(menu.GetSafeHmenu(), nullptr);
    EXPECT_TRUE(menu.items.empty());
    EXPECT_FALSE(IsMenu(old));
    ASSERT_TRUE(menu.LoadMenu(kPlayMenu));
    EXPECT_FALSE(menu.LoadMenu(kCutShortMenu));
    EXPECT_EQ(menu.GetSafeHmenu(), nullptr);
    EXPECT_FALSE(menu.LoadMenu(12345));
    EXPECT_FALSE(menu.LoadMenu(L"NO_SUCH_MENU"));
    EXPECT_EQ(menu.GetSafeHmenu(), nullptr);
}

TEST(OwnerMenu, AppendedSeparatorsKeepOnlyThePositionBit)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.Attach(CreatePopupMenu()));
    EXPECT_TRUE(menu.AppendItem(L"ignored", MF_BYPOSITION | MF_CHECKED | MF_POPUP, 0));
    EXPECT_TRUE(menu.AppendItem(L"Go", MF_STRING, 5));
    ASSERT_EQ(menu.items.size(), 2u);
    EXPECT_EQ(menu.items[0]->flags, static_cast<UINT>(MF_BYPOSITION | MF_SEPARATOR | MF_OWNERDRAW));
    EXPECT_TRUE(GetMenuState(menu.GetSafeHmenu(), 0, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(menu.items[1]->flags, static_cast<UINT>(MF_OWNERDRAW));
    EXPECT_EQ(menu.items[1]->GetText(), L"Go");
    EXPECT_TRUE(COwnerMenu::SubMenuHandles.empty());
}

TEST(OwnerMenu, DestroyingLeavesTheCallersPopupsAlone)
{
    COwnerMenu menu, mine;
    ASSERT_TRUE(menu.Attach(CreatePopupMenu()));
    ASSERT_TRUE(mine.Attach(CreatePopupMenu()));
    ASSERT_TRUE(mine.AppendItem(L"Mine", 0, 31));
    HMENU popup = mine.GetSafeHmenu();
    // Appended twice: listed twice.
    ASSERT_TRUE(menu.AppendItem(L"Sub", MF_POPUP, reinterpret_cast<UINT_PTR>(popup)));
    ASSERT_TRUE(menu.AppendItem(L"Again", MF_POPUP, reinterpret_cast<UINT_PTR>(popup)));
    EXPECT_EQ(Entries(popup), 2u);
    HMENU h = menu.GetSafeHmenu();

    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_FALSE(IsMenu(h));
    EXPECT_EQ(Entries(popup), 0u);
    // The caller's popup, its object and its records are untouched.
    EXPECT_TRUE(IsMenu(popup));
    EXPECT_EQ(mine.GetSafeHmenu(), popup);
    EXPECT_EQ(COwnerMenu::FromHandle(popup), &mine);
    ASSERT_EQ(mine.items.size(), 1u);
    EXPECT_EQ(mine.items[0]->GetText(), L"Mine");
    EXPECT_EQ(GetMenuItemID(popup, 0), 31u);
    EXPECT_FALSE(menu.DestroyMenu());  // nothing left
}

TEST(OwnerMenu, ResyncKeepsSeparatorsInPlace)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.Attach(CreatePopupMenu()));
    HMENU h = menu.GetSafeHmenu();
    ASSERT_TRUE(menu.AppendItem(L"One", 0, 1));
    ASSERT_TRUE(menu.AppendItem(nullptr, 0, 0));
    ASSERT_TRUE(menu.AppendItem(L"Two", 0, 2));
    COwnerMenuData* separator = menu.items[1];
    menu.ResyncRecords();
    // The separator was registered again at its own position, not on the
    // item whose command id equals that position.
    EXPECT_EQ(GetMenuItemID(h, 0), 1u);
    EXPECT_FALSE(GetMenuState(h, 0, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_TRUE(GetMenuState(h, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(h, 2), 2u);
    ASSERT_EQ(menu.items.size(), 3u);
    EXPECT_EQ(menu.items[1], separator);
    EXPECT_EQ(ItemData(h, 1), reinterpret_cast<ULONG_PTR>(separator));
    EXPECT_EQ(menu.items[0]->GetText(), L"One");
}

TEST(OwnerMenu, ResyncTakesPopupsOfAnySizeAsPopups)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.Attach(CreatePopupMenu()));
    HMENU h = menu.GetSafeHmenu();
    // Popups of 8 items: their item count fills the state's high byte.
    HMENU eight = CreatePopupMenu(), other = CreatePopupMenu();
    for (UINT i = 0; i < 8; ++i) {
        AppendMenuW(eight, MF_STRING, 100 + i, L"x");
        AppendMenuW(other, MF_STRING, 200 + i, L"y");
    }
    ASSERT_TRUE(menu.AppendItem(L"Known", MF_POPUP, reinterpret_cast<UINT_PTR>(eight)));
    COwnerMenuData* known = menu.items[0];
    // Items the system got from elsewhere: a popup and a string.
    AppendMenuW(h, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(other), L"Stranger");
    AppendMenuW(h, MF_STRING, 9, L"Extra");
    ASSERT_EQ(GetMenuItemCount(h), 3);

    menu.ResyncRecords();
    ASSERT_EQ(menu.items.size(), 3u);
    EXPECT_EQ(menu.items[0], known);
    EXPECT_EQ(GetSubMenu(h, 0), eight);
    EXPECT_EQ(GetSubMenu(h, 1), other);
    EXPECT_EQ(GetMenuItemCount(other), 8);
    EXPECT_FALSE(GetMenuState(h, 1, MF_BYPOSITION) & 0xFF & MF_SEPARATOR);
    COwnerMenuData* stranger = menu.items[1];
    EXPECT_EQ(stranger->commandId, reinterpret_cast<UINT_PTR>(other));
    EXPECT_FALSE(stranger->flags & MF_SEPARATOR);
    EXPECT_TRUE(stranger->flags & MF_POPUP);
    EXPECT_EQ(stranger->GetText(), L"Stranger");
    EXPECT_TRUE(ItemType(h, 1) & MFT_OWNERDRAW);
    EXPECT_EQ(ItemData(h, 1), reinterpret_cast<ULONG_PTR>(stranger));
    EXPECT_EQ(menu.items[2]->GetText(), L"Extra");
    EXPECT_EQ(menu.items[2]->commandId, 9u);
    EXPECT_TRUE(ItemType(h, 2) & MFT_OWNERDRAW);

    // An item removed behind the menu's back loses its record.
    RemoveMenu(h, 2, MF_BYPOSITION);
    menu.ResyncRecords();
    EXPECT_EQ(menu.items.size(), 2u);
    menu.DestroyMenu();
    DestroyMenu(eight);
}

TEST(OwnerMenu, ModifiedItemsRecordIsTheCallers)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.Attach(CreatePopupMenu()));
    ASSERT_TRUE(menu.AppendItem(L"Old", 0, 4));
    COwnerMenuData* r = menu.ModifyItem(0, MF_BYPOSITION | MF_OWNERDRAW, 6, L"新的");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->GetText(), L"新的");
    EXPECT_EQ(r->commandId, 6u);
    EXPECT_EQ(r->sharedImageOffset, -1);
    EXPECT_EQ(GetMenuItemID(menu.GetSafeHmenu(), 0), 6u);
    EXPECT_EQ(ItemData(menu.GetSafeHmenu(), 0), reinterpret_cast<ULONG_PTR>(r));
    EXPECT_EQ(std::count(menu.items.begin(), menu.items.end(), r), 0);
    delete r;
}

TEST(OwnerMenu, ListStartFollowsItemsPutInFront)
{
    COwnerMenu menu;
    EXPECT_EQ(menu.FindListStart(), 0);
    ASSERT_TRUE(menu.LoadMenu(kPlayMenu));
    HMENU root = menu.GetSafeHmenu();
    EXPECT_EQ(menu.FindListStart(), 0);
    InsertMenuW(root, 0, MF_BYPOSITION | MF_STRING, 900, L"Window");
    EXPECT_EQ(menu.FindListStart(), 1);
    // Appending after a load turns the top level's popups back into strings.
    HMENU extra = CreatePopupMenu();
    ASSERT_TRUE(menu.AppendItem(L"E&xtra", MF_POPUP, reinterpret_cast<UINT_PTR>(extra)));
    EXPECT_FALSE(ItemType(root, 1) & MFT_OWNERDRAW);
    EXPECT_EQ(MenuItemText(root, 1), L"&Play");
    EXPECT_FALSE(ItemType(root, 4) & MFT_OWNERDRAW);
    EXPECT_EQ(MenuItemText(root, 4), L"E&xtra");
    menu.DestroyMenu();
    EXPECT_TRUE(IsMenu(extra));  // the caller's
    DestroyMenu(extra);

    // A first matching caption at a lower position than its record: 0.
    COwnerMenu low;
    ASSERT_TRUE(low.LoadMenu(kPlayMenu));
    RemoveMenu(low.GetSafeHmenu(), 0, MF_BYPOSITION);
    EXPECT_EQ(low.FindListStart(), 0);
}

TEST(OwnerMenu, MemoryDcCopiesItsRectangleOnDestruction)
{
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 50, 50);
    HGDIOBJ old = SelectObject(mem, target);
    CDC dc(mem);
    dc.FillSolidRect(0, 0, 50, 50, RGB(255, 255, 255));
    RECT area = {10, 20, 30, 40};
    {
        COwnerMenuMemDC buffer(&dc, &area);
        EXPECT_TRUE(buffer.isMemory);
        buffer.FillSolidRect(area, RGB(200, 0, 0));  // the target's coordinates
        buffer.FillSolidRect(12, 22, 2, 2, RGB(0, 0, 200));
        EXPECT_EQ(GetPixel(mem, 15, 25), RGB(255, 255, 255));  // not yet
    }
    EXPECT_EQ(GetPixel(mem, 15, 25), RGB(200, 0, 0));
    EXPECT_EQ(GetPixel(mem, 12, 22), RGB(0, 0, 200));
    EXPECT_EQ(GetPixel(mem, 29, 39), RGB(200, 0, 0));
    EXPECT_EQ(GetPixel(mem, 9, 25), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(mem, 30, 25), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(mem, 15, 40), RGB(255, 255, 255));
    SelectObject(mem, old);
    DeleteObject(target);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

TEST(OwnerMenu, ClassicThemeIsReadOnceFromTheRegistry)
{
    const wchar_t* path = L"Software\\Microsoft\\Plus!\\Themes\\Current";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    auto set = [key](DWORD type, const std::wstring& value) {
        RegSetValueExW(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    struct Case {
        DWORD type;
        std::wstring value;
        BOOL classic;
    } cases[] = {
        {REG_SZ, L"C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme", TRUE},
        {REG_SZ, L"C:\\WINDOWS\\RESOURCES\\THEMES\\WINDOWS CLASSIC.THEME", TRUE},
        {REG_SZ, L"C:\\WINDOWS\\Resources\\Themes\\Luna.theme", FALSE},
        {REG_BINARY, L"Windows Classic.theme", FALSE},
    };
    for (const Case& c : cases) {
        set(c.type, c.value);
        COwnerMenu::ClassicThemeProbed = false;
        EXPECT_EQ(COwnerMenu::IsClassicTheme(), c.classic);
    }
    // Read once: a later change is not seen.
    set(REG_SZ, L"Windows Classic.theme");
    EXPECT_FALSE(COwnerMenu::IsClassicTheme());
    RegCloseKey(key);
    RegDeleteKeyW(HKEY_CURRENT_USER, path);
    COwnerMenu::ClassicThemeProbed = false;
    EXPECT_FALSE(COwnerMenu::IsClassicTheme());  // no key
    COwnerMenu::ClassicThemeProbed = false;
}

namespace {

// The version code a fresh process of the probe program finds, with Wine
// told to report version (empty: the prefix's own).
int ProbeVersionCode(const wchar_t* version)
{
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring probe(exe);
    probe = probe.substr(0, probe.rfind(L'\\') + 1) + L"controls_menu_version_probe.exe";
    const wchar_t* settings = L"Software\\Wine\\AppDefaults\\controls_menu_version_probe.exe";
    if (*version) {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, settings, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                       static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    DWORD code = 0xFFFF;
    std::wstring command = L"\"" + probe + L"\"";
    if (CreateProcessW(probe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, 30000);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    if (*version)
        RegDeleteKeyW(HKEY_CURRENT_USER, settings);
    return static_cast<int>(code);
}

}  // namespace

TEST(OwnerMenu, VersionCodeReadsTheSystemsVersionRecord)
{
    // Windows 7 and later are all code 1; Windows XP (which Wine reports to
    // a program it is told to) is 7, from the version record.
    EXPECT_EQ(COwnerMenu::WindowsVersionCode(), 1);
    EXPECT_EQ(COwnerMenu::WindowsVersion, 1);
    EXPECT_EQ(ProbeVersionCode(L""), 1);
    EXPECT_EQ(ProbeVersionCode(L"winxp"), 7);
    EXPECT_EQ(ProbeVersionCode(L"win2003"), 1);
}

TEST(OwnerMenu, TypedLetterFindsTheFirstItemWithThatMnemonic)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kPlayMenu));
    HMENU play = GetSubMenu(menu.GetSafeHmenu(), 0);
    struct Case {
        UINT ch;
        LRESULT result;
    } cases[] = {
        {'o', 0x20000},      {'R', 0x20001},      {'s', 0x20003},  // "&Single pane" before "截图(&S)"
        {'f', 0x20004},      {'e', 0x20005},      {'m', 0x20007},  {'x', 0x20008},
        {'c', 0},            {'z', 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(COwnerMenu::FindMnemonicItem(c.ch, MF_POPUP, play), c.result) << static_cast<char>(c.ch);
    // A menu bar's request, and menus of another kind, get the default.
    EXPECT_EQ(COwnerMenu::FindMnemonicItem('o', 0, play), 0);
    HMENU plain = CreatePopupMenu();
    AppendMenuW(plain, MF_STRING, 1, L"&Open");
    EXPECT_EQ(COwnerMenu::FindMnemonicItem('o', MF_POPUP, plain), 0);
    DestroyMenu(plain);
    // The answer through the menu's owner interface.
    LRESULT r = 0;
    EXPECT_TRUE(COwnerMenu::FromHandle(play)->MenuChar('x', MF_POPUP, play, &r));
    EXPECT_EQ(r, 0x20008);
    EXPECT_FALSE(COwnerMenu::FromHandle(play)->MenuChar('z', MF_POPUP, play, &r));
    EXPECT_FALSE(menu.MenuChar('h', MF_POPUP, menu.GetSafeHmenu(), &r));  // the top level is no popup of ours

    // An item the system got from elsewhere: the records follow first.
    AppendMenuW(play, MF_STRING, 799, L"&Zoom");
    COwnerMenu* sub = COwnerMenu::FromHandle(play);
    EXPECT_EQ(COwnerMenu::FindMnemonicItem('z', MF_POPUP, play), 0x20009);
    EXPECT_EQ(sub->items.size(), 10u);
}

namespace {

// A memory DC of w x h filled with ground, for drawing tests.
class Canvas {
public:
    Canvas(int w, int h, COLORREF ground)
    {
        HDC screen = GetDC(nullptr);
        dc.m_hDC = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
        dc.FillSolidRect(0, 0, w, h, ground);
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc.m_hDC);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    int Count(int x0, int y0, int x1, int y1, COLORREF c) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += At(x, y) == c;
        return n;
    }
    CDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

}  // namespace

TEST(OwnerMenu, CheckBoxesWithTickOrBullet)
{
    const COLORREF ink = GetSysColor(COLOR_MENUTEXT), menuColour = GetSysColor(COLOR_MENU);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const int saved = COwnerMenu::WindowsVersion;
    RECT box = {10, 10, 26, 25};
    struct Case {
        const char* what;
        int version;
        bool flat, selected, bullet;
        int tickLeft;  // first column of the mark, from box.left
        COLORREF fill;
        bool sunken;
    } cases[] = {
        {"classic selected", 1, false, true, false, 4, menuColour, false},
        {"classic unselected", 1, false, false, false, 4, BlendTowardWhite(menuColour, 0.6), false},
        {"classic on Windows 2000", 6, false, true, false, 4, menuColour, true},
        {"classic bullet", 1, false, true, true, 5, menuColour, false},
        {"flat", 7, true, true, false, 5, BlendTowardWhite(highlight, 0.85), false},
        {"flat bullet", 7, true, false, true, 5, BlendTowardWhite(highlight, 0.85), false},
    };
    for (const Case& c : cases) {
        COwnerMenu::WindowsVersion = c.version;
        COwnerMenu::ClassicThemeProbed = true;
        COwnerMenu::ClassicThemeResult = TRUE;
        Canvas canvas(40, 40, RGB(1, 2, 3));
        if (c.flat)
            COwnerMenu::DrawCheckBoxFlat(&canvas.dc, box, highlight, c.bullet);
        else
            COwnerMenu::DrawCheckBoxClassic(&canvas.dc, box, c.selected, c.bullet);
        EXPECT_EQ(canvas.At(box.left + 2, box.top + 2), c.fill) << c.what;
        EXPECT_EQ(canvas.At(box.right, box.bottom), RGB(1, 2, 3)) << c.what;  // nothing outside
        if (c.flat)
            EXPECT_EQ(canvas.At(box.left, box.top), highlight) << c.what;
        else
            EXPECT_EQ(canvas.At(box.left, box.top) != c.fill, c.sunken) << c.what;
        // The mark's leftmost column, and nothing of it one column further left.
        int x = box.left + c.tickLeft;
        EXPECT_GT(canvas.Count(x, box.top, x + 1, box.bottom, ink), 0) << c.what;
        EXPECT_EQ(canvas.Count(box.left + 1, box.top + 1, x, box.bottom - 1, ink), 0) << c.what;
        int marked = canvas.Count(box.left, box.top, box.right, box.bottom, ink);
        if (c.bullet)
            EXPECT_GE(marked, 20) << c.what;  // a filled 6 x 6 disc
        else
            EXPECT_EQ(marked, 21) << c.what;  // seven strokes of three
    }
    COwnerMenu::WindowsVersion = saved;
    COwnerMenu::ClassicThemeProbed = false;
}

TEST(OwnerMenu, DisabledImagesAreEmbossedShapes)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), ground = RGB(90, 100, 110);
    struct Case {
        const char* what;
        bool dib;
        COLORREF imageGround;
    } cases[] = {{"mask", false, face}, {"mask, highlight ground", false, light}, {"dib", true, RGB(255, 255, 255)}};
    for (const Case& c : cases) {
        // A 16 x 15 image: a dark 6 x 6 square at (4, 4) on its ground.
        Canvas image(16, 15, c.imageGround);
        image.dc.FillSolidRect(4, 4, 6, 6, RGB(0, 0, 128));
        SelectObject(image.dc, image.old);  // free to be selected elsewhere
        Canvas target(40, 40, RGB(1, 2, 3));
        if (c.dib) {
            COwnerMenu::DrawDisabledBitmapDib(target.dc, 10, 10, 16, 15, image.bitmap, ground);
        } else {
            CBitmap held;
            held.Attach(image.bitmap);
            COwnerMenu::DrawDisabledBitmap(&target.dc, 10, 10, 16, 15, &held, ground);
            held.Detach();
        }
        image.old = SelectObject(image.dc, image.bitmap);
        EXPECT_EQ(target.At(10 + 5, 10 + 5), shadow) << c.what;       // the shape
        EXPECT_EQ(target.At(10 + 10, 10 + 6), light) << c.what;       // its edge, right
        EXPECT_EQ(target.At(10 + 6, 10 + 10), light) << c.what;       // and below
        EXPECT_EQ(target.At(10 + 1, 10 + 1), ground) << c.what;       // the ground
        EXPECT_EQ(target.At(10 + 14, 10 + 13), ground) << c.what;
        EXPECT_EQ(target.Count(0, 0, 40, 40, RGB(0, 0, 128)), 0) << c.what;
        EXPECT_EQ(target.At(5, 5), RGB(1, 2, 3)) << c.what;
    }
}
