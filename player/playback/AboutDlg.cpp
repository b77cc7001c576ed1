#include "playback/AboutDlg.h"

extern HWND g_hMainWnd;

POINT AboutBoxOrigin(int mainWidth, int mainHeight)
{
    return POINT{mainWidth / 2 - CDlgAbout::kWidth / 2, mainHeight / 2 - CDlgAbout::kHeight / 2};
}

RECT AboutOkButtonRect(int width, int height)
{
    return RECT{width - 75, height - 23, width - 75 + 72, height - 23 + 20};
}

BOOL CDlgAbout::OnInitDialog()
{
    // The template's layout is replaced: no base handling.
    RECT main = {};
    if (g_hMainWnd)
        ::GetClientRect(g_hMainWnd, &main);
    const POINT at = AboutBoxOrigin(main.right, main.bottom);
    MoveWindow(at.x, at.y, kWidth, kHeight);
    const RECT client = GetClientRect();
    const RECT ok = AboutOkButtonRect(client.right, client.bottom);
    ::MoveWindow(GetDlgItem(IDOK), ok.left, ok.top, ok.right - ok.left, ok.bottom - ok.top, TRUE);
    return FALSE;
}
