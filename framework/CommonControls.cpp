#include "CommonControls.h"

#include <vector>

namespace {
TTTOOLINFOW ToolRecord(HWND owner, HWND tool)
{
    TTTOOLINFOW ti = {};
    ti.cbSize = CToolTipCtrl::ToolRecordSize();
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = owner;
    ti.uId = reinterpret_cast<UINT_PTR>(tool);
    return ti;
}
}  // namespace

UINT CToolTipCtrl::ToolRecordSize()
{
    return TTTOOLINFOW_V2_SIZE;
}

CToolTipCtrl::~CToolTipCtrl()
{
    Destroy();
}

bool CToolTipCtrl::Create(HWND owner, DWORD style)
{
    Destroy();
    m_owner = owner;
    m_hWnd = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    return m_hWnd != nullptr;
}

void CToolTipCtrl::Destroy()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

bool CToolTipCtrl::AddTool(HWND tool, const wchar_t* text)
{
    if (!m_hWnd || !tool)
        return false;
    TTTOOLINFOW probe = ToolRecord(m_owner, tool);
    if (::SendMessageW(m_hWnd, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&probe)))
        return UpdateTipText(tool, text);  // one tool per window
    TTTOOLINFOW ti = ToolRecord(m_owner, tool);
    ti.lpszText = const_cast<wchar_t*>(text ? text : L"");
    return ::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

bool CToolTipCtrl::UpdateTipText(HWND tool, const wchar_t* text)
{
    if (!m_hWnd || !tool)
        return false;
    TTTOOLINFOW ti = ToolRecord(m_owner, tool);
    ti.lpszText = const_cast<wchar_t*>(text ? text : L"");
    ::SendMessageW(m_hWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    return GetText(tool) == CString(text ? text : L"");
}

void CToolTipCtrl::DelTool(HWND tool)
{
    if (!m_hWnd)
        return;
    TTTOOLINFOW ti = ToolRecord(m_owner, tool);
    ::SendMessageW(m_hWnd, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

CString CToolTipCtrl::GetText(HWND tool) const
{
    if (!m_hWnd)
        return CString();
    // The control copies up to 80 characters without being told the size
    // (TTM_GETTEXTW); a larger buffer keeps it inside ours.
    std::vector<wchar_t> buf(1024, L'\0');
    TTTOOLINFOW ti = ToolRecord(m_owner, tool);
    ti.lpszText = buf.data();
    ::SendMessageW(m_hWnd, TTM_GETTEXTW, buf.size(), reinterpret_cast<LPARAM>(&ti));
    buf.back() = L'\0';
    return CString(buf.data());
}

int CToolTipCtrl::ToolCount() const
{
    return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, TTM_GETTOOLCOUNT, 0, 0)) : 0;
}

void CToolTipCtrl::Activate(bool on)
{
    if (m_hWnd)
        ::SendMessageW(m_hWnd, TTM_ACTIVATE, on, 0);
}

void CToolTipCtrl::SetMaxTipWidth(int width)
{
    if (m_hWnd)
        ::SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, width);
}

void CToolTipCtrl::SetDelayTime(DWORD which, int ms)
{
    if (m_hWnd)
        ::SendMessageW(m_hWnd, TTM_SETDELAYTIME, which, MAKELPARAM(ms, 0));
}

bool CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    Destroy();
    m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList != nullptr;
}

void CImageList::Destroy()
{
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
}

int CImageList::Add(HBITMAP bitmap, COLORREF key)
{
    return m_hImageList && bitmap ? ImageList_AddMasked(m_hImageList, bitmap, key) : -1;
}

int CImageList::Add(HBITMAP bitmap, HBITMAP mask)
{
    return m_hImageList && bitmap ? ImageList_Add(m_hImageList, bitmap, mask) : -1;
}

int CImageList::AddIcon(HICON icon)
{
    return m_hImageList && icon ? ImageList_AddIcon(m_hImageList, icon) : -1;
}

int CImageList::Count() const
{
    return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0;
}

SIZE CImageList::ImageSize() const
{
    int cx = 0, cy = 0;
    if (m_hImageList)
        ImageList_GetIconSize(m_hImageList, &cx, &cy);
    return SIZE{cx, cy};
}

bool CImageList::Draw(int index, HDC dc, int x, int y, UINT style) const
{
    return m_hImageList && index >= 0 && index < Count() && ImageList_Draw(m_hImageList, index, dc, x, y, style);
}

HICON CImageList::ExtractIcon(int index) const
{
    return m_hImageList && index >= 0 && index < Count() ? ImageList_GetIcon(m_hImageList, index, ILD_NORMAL)
                                                         : nullptr;
}
