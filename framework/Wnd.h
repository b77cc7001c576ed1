// CWnd: a window object bound to a window handle.
//
// The framework in this folder is the small class library the player's
// panels and controls are built on. Its pieces:
//   Wnd.h          window objects, handle map, subclassing, message dispatch,
//                  reflection of colour and owner-draw requests, timers
//   Dialog.h       dialogs from dialog resources, modeless child dialogs,
//                  the modal loop with the PreTranslateMessage chain
//   DataExchange.h binding controls to dialog items, text/number exchange
//   Gdi.h          device contexts and GDI objects that free what they make
//   WString.h      a wide string with printf-style formatting
//   GdiplusSession.h  GDI+ start-up and shut-down
//   WinApp.h       the application object, command line and WinMain
//
// A window object is "permanent": while it is attached, FromHandlePermanent
// finds it from its handle. Messages reach the object's virtual WindowProc;
// what it does not handle goes to DefWindowProc, which calls the window
// procedure the window had before it was subclassed.
#pragma once

#include <windows.h>

class CWnd;

// Draws and measures the items of owner-drawn menus. A menu class registers
// itself while its items are shown; WM_DRAWITEM / WM_MEASUREITEM for menu
// items are offered to every registered drawer until one takes them.
class CMenuDrawer {
public:
    virtual ~CMenuDrawer() = default;
    virtual bool DrawMenuItem(DRAWITEMSTRUCT* item) = 0;
    virtual bool MeasureMenuItem(MEASUREITEMSTRUCT* item) = 0;
};
void RegisterMenuDrawer(CMenuDrawer* drawer);
void UnregisterMenuDrawer(CMenuDrawer* drawer);

class CWnd {
public:
    CWnd() = default;
    // Destroys the window if the object still has one.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to hwnd, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Binds the object to hwnd without touching its window procedure.
    bool Attach(HWND hwnd);
    HWND Detach();

    // Binds the object and routes the window's messages through WindowProc.
    // PreSubclassWindow runs first, with m_hWnd already set.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(int id, CWnd* parent);
    // Gives the window its old procedure back and detaches the object.
    HWND UnsubclassWindow();

    // Creates a window of a registered class and subclasses it.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                  int x, int y, int w, int h, HWND parent, UINT_PTR idOrMenu);
    bool DestroyWindow();

    virtual void PreSubclassWindow() {}
    // Offered every queued message addressed to this window or one of its
    // children (Dialog.h's modal loop); true = handled, not dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // WM_COMMAND: true when handled.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    // WM_NOTIFY: true when handled; *result is the message's result.
    virtual bool OnNotify(NMHDR* header, LRESULT* result);
    // Every WM_CTLCOLOR* of the children, after the child's own object had its
    // say (CtlColorReflect). type is a CTLCOLOR_ value. The default returns
    // what the window's default handling returns.
    virtual HBRUSH OnCtlColor(HDC dc, HWND control, UINT type);
    // Child side of the colour request: a non-null brush answers it.
    virtual HBRUSH CtlColorReflect(HDC dc, UINT type);
    // WM_DRAWITEM / WM_MEASUREITEM: the default hands control items to the
    // control's object (DrawItem / MeasureItem) and menu items to the menu
    // drawers. true = handled.
    virtual bool OnDrawItem(int id, DRAWITEMSTRUCT* item);
    virtual bool OnMeasureItem(int id, MEASUREITEMSTRUCT* item);
    virtual void DrawItem(DRAWITEMSTRUCT*) {}
    virtual void MeasureItem(MEASUREITEMSTRUCT*) {}
    virtual void OnTimer(UINT_PTR id);

    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
    bool KillTimer(UINT_PTR id);

    // Plain helpers over the handle.
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    void MoveWindow(int x, int y, int w, int h, bool repaint = true);
    void ShowWindow(int cmd) { ::ShowWindow(m_hWnd, cmd); }
    void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) { return ::SendMessageW(m_hWnd, msg, w, l); }
    bool PostMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) { return ::PostMessageW(m_hWnd, msg, w, l); }

protected:
    static LRESULT CALLBACK StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Called after WM_NCDESTROY went through; the handle is gone.
    virtual void PostNcDestroy() {}

    WNDPROC m_oldProc = nullptr;
};
