// CWnd: a window object bound to a window handle.
//
// The framework in this folder is the small class library the player's
// panels and controls are built on. Writing a panel:
//   1. Derive from CDialog (Dialog.h) with the panel's dialog resource, or
//      from CWnd for a control; bind control objects in DoDataExchange.
//   2. List the handlers in the class's message table (MessageTable.h):
//      messages, commands by control id and code, notifications by code
//      and control id. Keep handlers thin: logic that needs no window goes
//      into plain functions that tests call directly.
//   3. A control answers its own notifications, colour requests and owner
//      drawing: the parent offers each of them to the child's object first
//      (Reflected(WM_NOTIFY) etc. in the child's table; see below).
//   4. Work from other threads reaches a window only as posted messages;
//      a block of memory goes with PostBlock (PostedBlock.h), and every
//      private message id of the program is in PrivateMessages.h.
//   5. A modal dialog opened from a panel runs with DoModal(panel): the
//      top-level window is disabled while it runs.
// The other pieces: Gdi.h (device contexts and GDI objects that free what
// they make, Draw3dRect), CommonControls.h (tool tips, image lists),
// MessageLoop.h (the one message loop, a wait that keeps answering sent
// messages), DataExchange.h (binding controls to dialog items, text and
// number exchange), WString.h (a wide string with formatting),
// GdiplusSession.h, WinApp.h (the application object and WinMain), and
// AppSettings.h / LanguageHolder.h (the program's settings block and the
// language of every text, which controls read too).
//
// A window object is "permanent": while it is attached, FromHandlePermanent
// finds it from its handle. Window objects belong to the user-interface
// thread: touching one from another thread is reported (UiThread.h).
//
// Reflection. A parent window hands these messages of its children to the
// child's own object before its own table sees them: WM_COMMAND, WM_NOTIFY,
// WM_HSCROLL / WM_VSCROLL, WM_CTLCOLOR*, WM_DRAWITEM, WM_MEASUREITEM,
// WM_DELETEITEM. The child sees them as Reflected(message) with the same
// wParam and lParam. When the child handles one (for colours: with a
// non-null brush), its result is the parent's answer and the parent's own
// table is not asked; a child handler that clears Message::handled lets
// the parent handle the message as well. Owner-drawn menu items, WM_MENUCHAR
// and WM_INITMENUPOPUP go to the menu's object, found by its menu handle
// (CMenuOwner below).
#pragma once

#include "MessageTable.h"

#include <windows.h>

// An owner-drawn menu's object. It registers the handles of its menus;
// whichever window the menu reports to hands it the menu's drawing,
// measuring, typed letters and pop-up openings.
class CMenuOwner {
public:
    virtual ~CMenuOwner() = default;
    virtual bool DrawMenuItem(DRAWITEMSTRUCT*) { return false; }
    // WM_MEASUREITEM names no menu: each registered owner is asked in turn
    // until one recognises the item (by its itemData).
    virtual bool MeasureMenuItem(MEASUREITEMSTRUCT*) { return false; }
    // WM_MENUCHAR: true with *result set when the letter was recognised.
    virtual bool MenuChar(UINT /*ch*/, UINT /*flags*/, HMENU, LRESULT* /*result*/) { return false; }
    virtual void InitMenuPopup(HMENU /*popup*/, UINT /*index*/, bool /*systemMenu*/) {}
};
void RegisterOwnerMenu(HMENU menu, CMenuOwner* owner);
void UnregisterOwnerMenu(HMENU menu);
// Removes every menu handle registered for owner.
void UnregisterMenuOwner(CMenuOwner* owner);
CMenuOwner* OwnerOfMenu(HMENU menu);

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

    // The root of every message table: handles nothing.
    static const MessageTable& Table();
    virtual const MessageTable& GetMessageTable() const { return Table(); }

    virtual void PreSubclassWindow() {}
    // Offered every queued message addressed to this window or one of its
    // children (MessageLoop.h); true = handled, not dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Reflection to a child's object, then the message tables, then
    // DefWindowProc.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
    bool KillTimer(UINT_PTR id);

    // Changes the style (or extended style) and lets the frame follow it.
    bool ModifyStyle(DWORD remove, DWORD add);
    bool ModifyStyleEx(DWORD remove, DWORD add);

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

private:
    // The one reflection point: offers a child's message to the child's
    // object, an owner-drawn menu's message to the menu's object.
    bool ReflectToOwner(Message& m);
};
