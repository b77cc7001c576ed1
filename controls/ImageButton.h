// CImageButton: the flat push button of the panels. It shows a bitmap with
// one colour keyed out, lights up with a raised frame while the mouse is
// over it, can carry a tool tip and can act as a check box. A dialog button
// is attached by subclassing (DDX_Control); the button turns itself into an
// owner-drawn one and paints through the parent's reflected WM_DRAWITEM.
//
// The button owns every GDI object it is given (SetBitmap) or makes. Its
// fields are open, as the panels set some of them directly; sounds, a link,
// a cursor, icons, a drop-down menu and transparent drawing work when set,
// though the player sets none of them.
#pragma once

#include "CommonControls.h"
#include "Gdi.h"
#include "OwnerMenu.h"
#include "Wnd.h"

class CImageButton : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    CImageButton();
    ~CImageButton() override;

    // Takes the bitmap (the button deletes it) and keys out the transparent
    // colour, which turns those pixels of the bitmap black in place. A null
    // bitmap removes the image. 0 done, 1 the size could not be read, 2 the
    // mask could not be made (the button is then left without images).
    int SetBitmap(HBITMAP bitmap, COLORREF transparent);
    // Makes the hover background one step lighter, unless a channel is at 255.
    void OffsetFirstColor();
    // The tool tip's text (null: nothing changes).
    void SetHintText(const wchar_t* text);
    // A 1-bit mask of bitmap: 1 where it has the transparent colour, which
    // is then painted black in the bitmap itself. Null on failure.
    static HBITMAP MakeImageMask(HBITMAP bitmap, int width, int height, COLORREF transparent);

    // Paints the button from the draw-item record.
    virtual void DrawItem(DRAWITEMSTRUCT* item);

    struct Icon {
        HICON icon;
        int width, height;
    };
    struct Bitmap {
        HBITMAP bitmap;
        int width, height;
        HBITMAP mask;
        COLORREF transparent;
    };
    struct Callback {
        HWND hwnd;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    struct Sound {
        char name[MAX_PATH];
        const void* sound;
        HMODULE module;
        DWORD flags;  // PlaySoundA's
    };

    int showDisabledBitmap = 1;
    POINT imageOrigin = {3, 3};
    POINT pressedOffset = {1, 1};
    int flat = 1;
    int hover = 0;
    int drawTransparent = 0;
    int pressed = 0, focused = 0, disabled = 0;  // state of the current paint
    int isDefault = 0;
    int isCheckBox = 0;
    unsigned char alignment = 0;  // image left of the caption
    int drawBorder = 1;
    int drawFlatFocus = 0;
    COLORREF backIn, foreIn, backOut, foreOut, backFocus, foreFocus;
    HWND menuOwner = nullptr;  // receives the command chosen from the menu
    int menuShown = 0;
    COwnerMenu menu;
    HCURSOR cursor = nullptr;
    CToolTipCtrl tooltip;
    HDC backgroundDC = nullptr;
    HBITMAP backgroundBitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    int alwaysTrack = 1;
    int checkState = 0;
    int buttonType = 15;
    unsigned tooltipStyle = 0;
    char url[MAX_PATH] = {};
    Icon icons[2] = {};      // 0 normal, 1 not hovered
    Bitmap bitmaps[2] = {};  // 0 normal, 1 not hovered
    Callback menuCallback = {};
    Sound hoverSound = {};
    Sound clickSound = {};

protected:
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // The steps of a paint; each returns 0.
    virtual DWORD DrawBackground(CDC* dc, RECT* rect);
    virtual DWORD DrawBorder(CDC* dc, RECT* rect);
    virtual DWORD DrawImageIcon(CDC* dc, bool hasCaption, const RECT* item, RECT* caption, bool isPressed,
                                bool isDisabled);
    virtual DWORD DrawImageBitmap(CDC* dc, bool hasCaption, const RECT* item, RECT* caption, bool isPressed,
                                  bool isDisabled);
    virtual DWORD DrawCaption(CDC* dc, bool hasCaption, const RECT* item, RECT* caption, bool isPressed,
                              bool isDisabled);

private:
    void EnsureTooltip();
    void ReleaseImages();
    void DeleteBackgroundCopy();
    void CopyParentBackground(CDC* dc);
    void EndHover();
    void OpenMenu();
    // Which of the two image slots this paint shows.
    int ImageSlot(bool secondSet, bool isPressed) const;

    bool focusTakenByDisabling = false;

    void OnSetCursor(Message& m);
    void OnKillFocus(Message& m);
    void OnMouseMove(Message& m);
    void OnSysColorChange(Message& m);
    void OnClicked(Message& m);
    void OnActivate(Message& m);
    void OnEnable(Message& m);
    void OnCancelMode(Message& m);
    void OnGetDlgCode(Message& m);
    void OnCtlColor(Message& m);
    void OnDrawItem(Message& m);
    void OnSetStyle(Message& m);
    void OnMouseLeave();
    void OnSetCheck(Message& m);
    void OnGetCheck(Message& m);
};

// Button types (style & 0xF) that make a check box: check box, auto check
// box, three-state and auto three-state.
bool IsCheckBoxType(unsigned type);

// Where the image goes (image left of the caption): with a caption it sits
// origin.x from the left edge and the caption moves right past it, without
// one it is centred; always centred vertically; shifted by pressedOffset
// while pressed (not for check boxes).
RECT PlaceButtonImage(const RECT& item, RECT* caption, SIZE image, bool hasCaption, POINT origin,
                      POINT pressedOffset, bool shiftPressed);
