// COwnerMenu: a menu whose popup items are drawn by the program. Every item
// of a popup level is registered as MF_OWNERDRAW with its COwnerMenuData
// record as the item data; the window the menu reports to hands the
// drawing, measuring and typed letters to the menu's object, which the
// framework finds by the menu handle (CMenuOwner, Wnd.h).
//
// A tree comes from a menu resource (LoadMenu) or from AppendItem. The menu
// owns the sub-menus it made and their records; a sub-menu the caller made
// and appended stays the caller's. The top level of a loaded menu shows
// plain strings; only its popup levels are owner-drawn.
//
// The drawing style follows the system: the flat look of themed Windows XP
// (version code 7 without the classic theme), the classic 3-D look
// elsewhere. Tests set WindowsVersion and the theme cache to reach either.
#pragma once

#include "CommonControls.h"
#include "Gdi.h"
#include "OwnerMenuData.h"
#include "WString.h"
#include "Wnd.h"

#include <windows.h>

#include <vector>

class COwnerMenu : public CMenuOwner {
public:
    COwnerMenu();
    ~COwnerMenu() override;
    COwnerMenu(const COwnerMenu&) = delete;
    COwnerMenu& operator=(const COwnerMenu&) = delete;

    HMENU m_hMenu = nullptr;
    HMENU GetSafeHmenu() const { return m_hMenu; }
    // Binds the object to a menu handle and registers it as the handle's
    // owner; Detach undoes both.
    bool Attach(HMENU menu);
    HMENU Detach();
    // The menu object registered for a handle, or null.
    static COwnerMenu* FromHandle(HMENU menu);

    // Builds the tree from an RT_MENU resource of the resource module or,
    // failing that, of the program. FALSE (and an empty menu) for a missing
    // or malformed template.
    virtual BOOL LoadMenu(UINT id);
    virtual BOOL LoadMenu(const wchar_t* name);
    // Frees the tree: the sub-menus this menu made, the records; a sub-menu
    // the caller appended is taken out first and survives.
    virtual BOOL DestroyMenu();

    // Appends one owner-drawn item (id 0: a separator; MF_POPUP: id is the
    // sub-menu). The result of the system's append.
    BOOL AppendItem(const wchar_t* text, UINT flags, UINT_PTR id);
    // Replaces the item at position by one with a new record, which the
    // caller keeps (it is not added to items).
    COwnerMenuData* ModifyItem(UINT position, UINT flags, UINT_PTR id, const CString& text);
    // Matches the records to the menu's current items again, making records
    // for items that have none and dropping records of items that are gone.
    void ResyncRecords();
    COwnerMenuData* ClaimRecordById(UINT_PTR id);
    void DeleteUnclaimedRecords();
    // The menu position of the first record (items put in front of a
    // loaded menu by others shift it).
    int FindListStart();
    // Gives the top-level popup items of a loaded menu back as strings.
    void RestoreTopLevelStrings();
    // Widens the labels in front of a tab so that the accelerators line up.
    void PadAcceleratorLabels();

    // The environment probes that choose the drawing style.
    static int WindowsVersionCode();
    static BOOL IsClassicTheme();
    // Windows XP with its themes on: the flat style.
    static bool IsThemedXp();

    // The answer to WM_MENUCHAR for one of this class's popups: 0x20000 |
    // the position of the first item whose label has the mnemonic (the
    // system then executes it), 0 when none has (the system's default), for
    // a menu of another class and for a request from a menu bar.
    static LRESULT FindMnemonicItem(UINT character, UINT flags, HMENU menu);

    // The check box of a checked item without an image, with a tick or, for
    // a radio item, a bullet.
    static BOOL DrawCheckBoxClassic(CDC* dc, RECT box, BOOL selected, BOOL bullet);
    static BOOL DrawCheckBoxFlat(CDC* dc, RECT box, COLORREF highlight, BOOL bullet);
    // A disabled item's image as an embossed shape on background: through a
    // monochrome mask (button-face and highlight pixels are ground), or
    // through a 1-bit DIB section (white pixels are ground).
    static void DrawDisabledBitmap(CDC* target, int x, int y, int width, int height, CBitmap* image,
                                   COLORREF background);
    static void DrawDisabledBitmapDib(HDC target, int x, int y, int width, int height, HBITMAP image,
                                      COLORREF background);

    // Paints an item: the classic style, or the flat one on themed XP
    // (unless the display has a palette).
    virtual void DrawItem(DRAWITEMSTRUCT* item);
    // An item's size from its caption in the menu font.
    virtual void MeasureItem(MEASUREITEMSTRUCT* item);
    void DrawItemClassic(DRAWITEMSTRUCT* item);
    void DrawItemFlat(DRAWITEMSTRUCT* item);
    // Image index of list as an icon-sized bitmap on the button face; FALSE
    // (and no bitmap) without the list or the image.
    BOOL RenderImageToBitmap(CDC* dc, const CImageList* list, int index, CBitmap* out) const;
    // Three shared images in a row for one command (normal, unselected,
    // shadow).
    static bool IsTripleImage(int offset);

    // CMenuOwner: the items of this menu (their records are its own).
    bool DrawMenuItem(DRAWITEMSTRUCT* item) override;
    bool MeasureMenuItem(MEASUREITEMSTRUCT* item) override;
    bool MenuChar(UINT ch, UINT flags, HMENU menu, LRESULT* result) override;

    std::vector<COwnerMenuData*> items;  // in the order of the menu's positions
    std::vector<HMENU> subMenus;         // popups appended to this menu
    int iconWidth = 16;
    int iconHeight = 15;
    bool disabledStyleDib = false;
    CImageList* checkImages = nullptr;  // 0 unselected, 1 selected
    bool checkImagesShared = false;     // checkImages belongs to another menu
    int selectedCheckImage = -1;
    int unselectedCheckImage = -1;
    bool loadedFromResource = false;

    // Process-wide: every popup handle appended to any menu of this class
    // (an owner window tests membership), the shared images and their
    // command ids, the version code taken at start-up and the theme probe's
    // cache.
    static std::vector<HMENU> SubMenuHandles;
    static CImageList SharedImages;
    static std::vector<int> SharedImageIds;
    static int WindowsVersion;
    static bool ClassicThemeProbed;
    static BOOL ClassicThemeResult;

private:
    // What an item shows besides its text, read from its record.
    struct ItemLook {
        const CImageList* list;  // the record's images, or the shared ones
        int imageId, imageOffset;
        bool faded;
        int unselectedImage, shadowImage;
        bool checkImage, hasImage, selectedImage, disabledImage;
        bool AnyImage() const { return checkImage || hasImage || selectedImage || disabledImage; }
    };
    ItemLook ReadLook(const COwnerMenuData* record, UINT state, bool flat) const;
    COwnerMenuData* OwnRecord(ULONG_PTR itemData) const;
    // The disabled renderer this menu uses, onto dc at (x, y).
    void DrawDisabledImage(CDC* dc, const ItemLook& look, int x, int y, COLORREF background) const;
    // Whether the item has a checked-state bitmap of its own: its check box
    // then shows a bullet, as a radio item's does.
    static bool IsRadioItem(HMENU menu, UINT id);

    // The sub-menu objects this menu made (LoadMenu) and deletes.
    std::vector<COwnerMenu*> madeSubMenus;
};

// A menu item's caption by position ("" for owner-drawn items).
CString MenuItemText(HMENU menu, UINT position);
// The system's menu font (the caller deletes it), or null.
HFONT CreateMenuFont();

// A tick 7 pixels wide and 7 high from (x, y), and the 6-pixel bullet of a
// radio item, in colour.
void PaintTickMark(CDC* dc, int x, int y, COLORREF colour);
void PaintBulletMark(CDC* dc, int x, int y, COLORREF colour);
