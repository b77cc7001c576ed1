#include "Wnd.h"

#include "PostedBlock.h"
#include "UiThread.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// Handle -> object. User-interface thread only, like the windows themselves.
std::unordered_map<HWND, CWnd*>& HandleMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// Menu handle -> the owner-drawn menu's object, in registration order (the
// order in which owners are asked to measure an item). UI thread only.
std::vector<std::pair<HMENU, CMenuOwner*>>& OwnerMenus()
{
    static std::vector<std::pair<HMENU, CMenuOwner*>> menus;
    return menus;
}

bool IsColourMessage(UINT msg)
{
    return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC;
}

}  // namespace

void RegisterOwnerMenu(HMENU menu, CMenuOwner* owner)
{
    CheckUiThread("RegisterOwnerMenu");
    if (!menu || !owner)
        return;
    auto& menus = OwnerMenus();
    for (auto& entry : menus)
        if (entry.first == menu) {
            entry.second = owner;
            return;
        }
    menus.emplace_back(menu, owner);
}

void UnregisterOwnerMenu(HMENU menu)
{
    CheckUiThread("UnregisterOwnerMenu");
    auto& menus = OwnerMenus();
    menus.erase(std::remove_if(menus.begin(), menus.end(), [menu](const auto& e) { return e.first == menu; }),
                menus.end());
}

void UnregisterMenuOwner(CMenuOwner* owner)
{
    CheckUiThread("UnregisterMenuOwner");
    auto& menus = OwnerMenus();
    menus.erase(std::remove_if(menus.begin(), menus.end(), [owner](const auto& e) { return e.second == owner; }),
                menus.end());
}

CMenuOwner* OwnerOfMenu(HMENU menu)
{
    CheckUiThread("OwnerOfMenu");
    for (const auto& entry : OwnerMenus())
        if (entry.first == menu)
            return entry.second;
    return nullptr;
}

bool MessageEntry::Matches(const Message& m) const
{
    switch (kind) {
    case ByMessage:
        return m.id >= first && m.id <= last;
    case ByCommand: {
        if (m.id != WM_COMMAND && m.id != Reflected(WM_COMMAND))
            return false;
        UINT id = m.CommandId();
        return id >= first && id <= last && (code == kAnyCode || code == m.CommandCode());
    }
    case ByNotify: {
        if (m.id != WM_NOTIFY && m.id != Reflected(WM_NOTIFY))
            return false;
        const NMHDR* h = m.Notify();
        if (!h)
            return false;
        UINT id = static_cast<UINT>(h->idFrom);
        return h->code == code && id >= first && id <= last;
    }
    }
    return false;
}

bool MessageTable::Dispatch(CWnd* window, Message& m) const
{
    for (const MessageTable* t = this; t; t = t->m_base) {
        for (const MessageEntry& e : t->m_entries) {
            if (!e.Matches(m))
                continue;
            m.handled = true;
            e.handler(window, m);
            if (m.handled)
                return true;
        }
    }
    return false;
}

const MessageTable& CWnd::Table()
{
    static const MessageTable table(nullptr, {});
    return table;
}

CWnd::~CWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    // The window may have outlived us when DestroyWindow failed (another
    // thread's window); never leave a dangling map entry behind.
    if (m_hWnd)
        Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    CheckUiThread("FromHandlePermanent");
    if (!hwnd)
        return nullptr;
    auto& map = HandleMap();
    auto it = map.find(hwnd);
    return it == map.end() ? nullptr : it->second;
}

bool CWnd::Attach(HWND hwnd)
{
    CheckUiThread("Attach");
    if (!hwnd || m_hWnd || FromHandlePermanent(hwnd))
        return false;
    m_hWnd = hwnd;
    HandleMap()[hwnd] = this;
    AcceptBlocksFor(hwnd);
    return true;
}

HWND CWnd::Detach()
{
    CheckUiThread("Detach");
    HWND h = m_hWnd;
    if (h) {
        auto& map = HandleMap();
        auto it = map.find(h);
        if (it != map.end() && it->second == this)
            map.erase(it);
    }
    m_hWnd = nullptr;
    return h;
}

bool CWnd::SubclassWindow(HWND hwnd)
{
    if (!Attach(hwnd))
        return false;
    PreSubclassWindow();
    m_oldProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StdWndProc)));
    if (m_oldProc == &CWnd::StdWndProc)  // created by CreateEx: already ours
        m_oldProc = ::DefWindowProcW;
    return true;
}

bool CWnd::SubclassDlgItem(int id, CWnd* parent)
{
    HWND item = parent ? ::GetDlgItem(parent->m_hWnd, id) : nullptr;
    return item && SubclassWindow(item);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd && m_oldProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
    m_oldProc = nullptr;
    return Detach();
}

namespace {
const wchar_t kPlainClass[] = L"ZarvWnd";
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                    int x, int y, int w, int h, HWND parent, UINT_PTR idOrMenu)
{
    if (!className) {
        // A plain class of our own for windows that paint everything themselves.
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc = {};
            wc.lpfnWndProc = ::DefWindowProcW;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
            wc.lpszClassName = kPlainClass;
            registered = ::RegisterClassW(&wc) != 0;
        }
        className = kPlainClass;
    }
    HWND hwnd = ::CreateWindowExW(exStyle, className, text ? text : L"", style, x, y, w, h, parent,
                                  reinterpret_cast<HMENU>(idOrMenu), ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        return false;
    if (!SubclassWindow(hwnd)) {
        ::DestroyWindow(hwnd);
        return false;
    }
    return true;
}

bool CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return false;
    return ::DestroyWindow(m_hWnd) != 0;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (!wnd)
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg != WM_NCDESTROY)
        return wnd->WindowProc(msg, wParam, lParam);

    // Last message of the window: let it through, then unbind the object.
    // Blocks posted to the window and not taken yet die with it.
    LRESULT r = wnd->WindowProc(msg, wParam, lParam);
    FreeBlocksOf(hwnd);
    WNDPROC old = wnd->m_oldProc;
    if (old)
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    wnd->m_oldProc = nullptr;
    wnd->Detach();
    wnd->PostNcDestroy();
    return r;
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_oldProc)
        return ::CallWindowProcW(m_oldProc, m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    Message m{msg, wParam, lParam};
    if (ReflectToOwner(m))
        return m.result;
    m = Message{msg, wParam, lParam};
    if (GetMessageTable().Dispatch(this, m))
        return m.result;
    return DefWindowProc(msg, wParam, lParam);
}

bool CWnd::ReflectToOwner(Message& m)
{
    HWND control = nullptr;
    switch (m.id) {
    case WM_COMMAND:  // lParam 0: a menu item or an accelerator, no control
    case WM_HSCROLL:  // lParam 0: the window's own scroll bar
    case WM_VSCROLL:
        control = reinterpret_cast<HWND>(m.lParam);
        break;
    case WM_NOTIFY:
        if (const NMHDR* h = m.Notify())
            control = h->hwndFrom;
        break;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.lParam);
        if (!item)
            return false;
        if (item->CtlType == ODT_MENU) {
            CMenuOwner* owner = OwnerOfMenu(reinterpret_cast<HMENU>(item->hwndItem));
            if (!owner || !owner->DrawMenuItem(item))
                return false;
            m.result = TRUE;
            return true;
        }
        control = item->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.lParam);
        if (!item)
            return false;
        if (item->CtlType == ODT_MENU) {
            // Asked in turn; a copy of the list, since measuring may
            // register sub-menus.
            std::vector<CMenuOwner*> asked;
            for (const auto& entry : std::vector<std::pair<HMENU, CMenuOwner*>>(OwnerMenus())) {
                if (std::find(asked.begin(), asked.end(), entry.second) != asked.end())
                    continue;
                asked.push_back(entry.second);
                if (entry.second->MeasureMenuItem(item)) {
                    m.result = TRUE;
                    return true;
                }
            }
            return false;
        }
        control = ::GetDlgItem(m_hWnd, static_cast<int>(item->CtlID));
        break;
    }
    case WM_DELETEITEM:
        if (auto* item = reinterpret_cast<DELETEITEMSTRUCT*>(m.lParam))
            control = item->hwndItem;
        break;
    case WM_MENUCHAR: {
        CMenuOwner* owner = OwnerOfMenu(reinterpret_cast<HMENU>(m.lParam));
        return owner && owner->MenuChar(LOWORD(m.wParam), HIWORD(m.wParam), reinterpret_cast<HMENU>(m.lParam),
                                        &m.result);
    }
    case WM_INITMENUPOPUP:
        // The menu's object prepares its items; the window still sees the
        // message in its own table.
        if (CMenuOwner* owner = OwnerOfMenu(reinterpret_cast<HMENU>(m.wParam)))
            owner->InitMenuPopup(reinterpret_cast<HMENU>(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam) != 0);
        return false;
    default:
        if (IsColourMessage(m.id))
            control = reinterpret_cast<HWND>(m.lParam);
        break;
    }
    if (!control || control == m_hWnd)
        return false;
    CWnd* child = FromHandlePermanent(control);
    if (!child)
        return false;
    Message r{Reflected(m.id), m.wParam, m.lParam};
    if (!child->GetMessageTable().Dispatch(child, r))
        return false;
    if (IsColourMessage(m.id) && r.result == 0)
        return false;  // no brush: no answer
    m.result = (m.id == WM_DRAWITEM || m.id == WM_MEASUREITEM || m.id == WM_DELETEITEM) ? TRUE : r.result;
    return true;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs)
{
    return ::SetTimer(m_hWnd, id, elapseMs, nullptr);
}

bool CWnd::KillTimer(UINT_PTR id)
{
    return ::KillTimer(m_hWnd, id) != 0;
}

namespace {
bool ChangeStyle(HWND hwnd, int which, DWORD remove, DWORD add)
{
    if (!hwnd)
        return false;
    DWORD style = static_cast<DWORD>(::GetWindowLongW(hwnd, which));
    DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return false;
    ::SetWindowLongW(hwnd, which, static_cast<LONG>(changed));
    // The frame is computed from the style: recompute it now.
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}
}  // namespace

bool CWnd::ModifyStyle(DWORD remove, DWORD add)
{
    return ChangeStyle(m_hWnd, GWL_STYLE, remove, add);
}

bool CWnd::ModifyStyleEx(DWORD remove, DWORD add)
{
    return ChangeStyle(m_hWnd, GWL_EXSTYLE, remove, add);
}

RECT CWnd::GetClientRect() const
{
    RECT r = {};
    ::GetClientRect(m_hWnd, &r);
    return r;
}

RECT CWnd::GetWindowRect() const
{
    RECT r = {};
    ::GetWindowRect(m_hWnd, &r);
    return r;
}

void CWnd::MoveWindow(int x, int y, int w, int h, bool repaint)
{
    ::MoveWindow(m_hWnd, x, y, w, h, repaint);
}
