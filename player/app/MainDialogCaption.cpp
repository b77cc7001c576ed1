// The main window's own caption: a black band with the logo, the title and
// close and minimise buttons that light up under the mouse, painted over
// the system's caption after everything that redraws it. With version code
// 5 the system's own caption stays and only the title is set.
#include "app/MainDialog.h"

#include "LanguageHolder.h"
#include "StringIds.h"
#include "resource.h"

#include <windowsx.h>

LRESULT CTORQUELIANDlg::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CLOSE && playbackPage.fullScreen) {
        if (windowsVersion == 5) {
            playbackPage.LeaveFullScreen();
            ::UpdateWindow(m_hWnd);
            ::UpdateWindow(searchPanel.m_hWnd);
            ::UpdateWindow(mapPane.m_hWnd);
        } else {
            ::PostMessageW(playbackPage.controlPanel.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        }
        return 0;
    }
    if (windowsVersion != 5) {
        switch (msg) {
        case WM_MOVE:
        case WM_PAINT:
        case WM_NOTIFY:
            RepaintCaptionNow();
            break;
        case WM_NCPAINT:
        case WM_NCACTIVATE: {
            // The system draws its own caption here: paint ours over it after.
            LRESULT r = CDialog::DefWindowProc(msg, wParam, lParam);
            RepaintCaptionNow();
            return r;
        }
        default:
            break;
        }
    }
    return CDialog::DefWindowProc(msg, wParam, lParam);
}

void CTORQUELIANDlg::PaintCaption(HDC dc)
{
    if (!m_hWnd || !dc)
        return;
    CString title;
    if (language)
        language->LoadString(title, IDS_APP_TITLE);
    if (windowsVersion == 5) {
        SetWindowText(title.c_str());
        return;
    }
    RECT wr = GetWindowRect();
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    const int cxFrame = ::GetSystemMetrics(SM_CXFRAME), cyFrame = ::GetSystemMetrics(SM_CYFRAME);
    const int cySize = ::GetSystemMetrics(SM_CYSIZE);
    {
        CSelect brush(dc, backgroundBrush.m_hObject);
        ::PatBlt(dc, 0, 0, W, cyFrame + cySize, PATCOPY);
        ::PatBlt(dc, 0, 0, cxFrame + 1, H, PATCOPY);
        ::PatBlt(dc, 0, H - cyFrame - 1, W, cyFrame + 1, PATCOPY);
        ::PatBlt(dc, W - cxFrame - 1, 0, cxFrame + 1, H, PATCOPY);
    }
    CBitmap logo;
    if (logo.LoadBitmap(ResourceModule(), IDB_LOGO)) {
        CMemoryDC mem(dc);
        CSelect sel(mem, logo.m_hObject);
        SIZE s = logo.GetSize();
        ::StretchBlt(dc, cxFrame, cyFrame, 100, cySize, mem, 0, 0, s.cx, s.cy, SRCCOPY);
    }
    closeRect = {W - cxFrame - 19, cyFrame, W - cxFrame, cyFrame + 19};
    minimiseRect = {closeRect.left - 3 - 19, cyFrame, closeRect.left - 3, cyFrame + 19};
    ::OffsetRect(&closeRect, wr.left, wr.top);
    ::OffsetRect(&minimiseRect, wr.left, wr.top);
    DrawCaptionButton(dc, closeRect, IDB_CLOSE);
    DrawCaptionButton(dc, minimiseRect, IDB_MINIMISE);

    RECT tr = {cxFrame + 110, cyFrame + 5, W - cxFrame, cyFrame + cySize};
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    CSelect font(dc, ::GetStockObject(SYSTEM_FIXED_FONT));
    ::DrawTextW(dc, title.c_str(), -1, &tr, 0);
}

void CTORQUELIANDlg::DrawCaptionButton(HDC dc, const RECT& screenRect, int bitmapId)
{
    RECT wr = GetWindowRect();
    CBitmap bmp;
    if (!bmp.LoadBitmap(ResourceModule(), bitmapId))
        return;
    CMemoryDC mem(dc);
    CSelect sel(mem, bmp.m_hObject);
    ::BitBlt(dc, screenRect.left - wr.left, screenRect.top - wr.top, 19, 19, mem, 0, 0, SRCCOPY);
}

void CTORQUELIANDlg::RepaintCaptionNow()
{
    HDC dc = ::GetWindowDC(m_hWnd);
    PaintCaption(dc);
    ::ReleaseDC(m_hWnd, dc);
}

void CTORQUELIANDlg::OnRepaintCaption()
{
    RepaintCaptionNow();
}

void CTORQUELIANDlg::OnNcMouseMove(Message& m)
{
    if (windowsVersion == 5)
        return;  // not even the default handling
    HDC dc = ::GetWindowDC(m_hWnd);
    PaintCaption(dc);
    POINT p = {GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    DrawCaptionButton(dc, closeRect, ::PtInRect(&closeRect, p) ? IDB_CLOSE_LIT : IDB_CLOSE);
    DrawCaptionButton(dc, minimiseRect, ::PtInRect(&minimiseRect, p) ? IDB_MINIMISE_LIT : IDB_MINIMISE);
    ::ReleaseDC(m_hWnd, dc);
    CDialog::DefWindowProc(WM_NCMOUSEMOVE, m.wParam, m.lParam);
}

void CTORQUELIANDlg::OnNcLButtonDown(Message& m)
{
    POINT p = {GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    if (::PtInRect(&closeRect, p))
        SendMessage(WM_CLOSE);
    else if (::PtInRect(&minimiseRect, p))
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    if (m_hWnd)
        CDialog::DefWindowProc(WM_NCLBUTTONDOWN, m.wParam, m.lParam);
}

