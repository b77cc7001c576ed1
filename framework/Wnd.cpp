#include "Wnd.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

// Handle -> object. UI thread only, like the windows themselves.
std::unordered_map<HWND, CWnd*>& HandleMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

std::vector<CMenuDrawer*>& MenuDrawers()
{
    static std::vector<CMenuDrawer*> drawers;
    return drawers;
}

}  // namespace

void RegisterMenuDrawer(CMenuDrawer* drawer)
{
    auto& d = MenuDrawers();
    if (drawer && std::find(d.begin(), d.end(), drawer) == d.end())
        d.push_back(drawer);
}

void UnregisterMenuDrawer(CMenuDrawer* drawer)
{
    auto& d = MenuDrawers();
    d.erase(std::remove(d.begin(), d.end(), drawer), d.end());
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
    if (!hwnd)
        return nullptr;
    auto& map = HandleMap();
    auto it = map.find(hwnd);
    return it == map.end() ? nullptr : it->second;
}

bool CWnd::Attach(HWND hwnd)
{
    if (!hwnd || m_hWnd || FromHandlePermanent(hwnd))
        return false;
    m_hWnd = hwnd;
    HandleMap()[hwnd] = this;
    return true;
}

HWND CWnd::Detach()
{
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
    LRESULT r = wnd->WindowProc(msg, wParam, lParam);
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
    switch (msg) {
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
            return 0;
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(reinterpret_cast<NMHDR*>(lParam), &result))
            return result;
        break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        HWND control = reinterpret_cast<HWND>(lParam);
        UINT type = msg - WM_CTLCOLORMSGBOX;
        CWnd* child = control != m_hWnd ? FromHandlePermanent(control) : nullptr;
        if (child) {
            if (HBRUSH b = child->CtlColorReflect(dc, type))
                return reinterpret_cast<LRESULT>(b);
        }
        return reinterpret_cast<LRESULT>(OnCtlColor(dc, control, type));
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item && OnDrawItem(static_cast<int>(wParam), item))
            return TRUE;
        break;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item && OnMeasureItem(static_cast<int>(wParam), item))
            return TRUE;
        break;
    }
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    default:
        break;
    }
    return DefWindowProc(msg, wParam, lParam);
}

bool CWnd::OnCommand(UINT, UINT, HWND)
{
    return false;
}

bool CWnd::OnNotify(NMHDR*, LRESULT*)
{
    return false;
}

HBRUSH CWnd::OnCtlColor(HDC dc, HWND control, UINT type)
{
    return reinterpret_cast<HBRUSH>(
        DefWindowProc(WM_CTLCOLORMSGBOX + type, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
}

HBRUSH CWnd::CtlColorReflect(HDC, UINT)
{
    return nullptr;
}

bool CWnd::OnDrawItem(int, DRAWITEMSTRUCT* item)
{
    if (item->CtlType == ODT_MENU) {
        for (CMenuDrawer* d : MenuDrawers())
            if (d->DrawMenuItem(item))
                return true;
        return false;
    }
    CWnd* child = FromHandlePermanent(item->hwndItem);
    if (!child)
        return false;
    child->DrawItem(item);
    return true;
}

bool CWnd::OnMeasureItem(int, MEASUREITEMSTRUCT* item)
{
    if (item->CtlType == ODT_MENU) {
        for (CMenuDrawer* d : MenuDrawers())
            if (d->MeasureMenuItem(item))
                return true;
        return false;
    }
    CWnd* child = FromHandlePermanent(::GetDlgItem(m_hWnd, static_cast<int>(item->CtlID)));
    if (!child)
        return false;
    child->MeasureItem(item);
    return true;
}

void CWnd::OnTimer(UINT_PTR id)
{
    DefWindowProc(WM_TIMER, id, 0);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs)
{
    return ::SetTimer(m_hWnd, id, elapseMs, nullptr);
}

bool CWnd::KillTimer(UINT_PTR id)
{
    return ::KillTimer(m_hWnd, id) != 0;
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
