#include "MainDialog.h"

#include "AppSettings.h"
#include "DataExchange.h"
#include "FileAssociation.h"
#include "LanguageHolder.h"
#include "MainLayout.h"
#include "WindowsVersion.h"
#include "WinApp.h"

#include <commctrl.h>
#include <windowsx.h>
#include <richedit.h>

#include <new>

HWND g_hMainWnd = nullptr;

namespace {
const UINT kAboutCommand = 0x10;
const int kStartupLanguageTimer = 1;
const int kToolButtonIds[6] = {210, 234, 235, 236, 230, 231};
const int kToolButtonImages[6] = {226, 229, 227, 228, 232, 617};
const UINT kCutToAviCommand = 0x8007;
}

CTORQUELIANDlg::CTORQUELIANDlg() : CDialog(102)
{
    language = new (std::nothrow) LanguageHolder;
    if (language)
        language->playbackPage = &playbackPage;
    g_Settings.language = language;
    icon = ::LoadIconW(ResourceModule(), MAKEINTRESOURCEW(128));
    backgroundBrush.CreateSolidBrush(RGB(0, 0, 0));
}

CTORQUELIANDlg::~CTORQUELIANDlg()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    if (g_Settings.language == language)
        g_Settings.language = nullptr;
    delete language;
    language = nullptr;
    // The members go in reverse order; gdiplus, the first, goes last.
}

CExStatic* CTORQUELIANDlg::ToolButtons(int i)
{
    CExStatic* b[6] = {&button210, &button234, &button235, &button236, &button230, &button231};
    return b[i];
}

void CTORQUELIANDlg::DoDataExchange(CDataExchange* dx)
{
    for (int i = 0; i < 6; ++i)
        DDX_Control(dx, kToolButtonIds[i], *ToolButtons(i));
    DDX_Control(dx, 464, streamInfo);
}

BOOL CTORQUELIANDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CCommandLineInfo cmd;
    if (CWinApp* app = CWinApp::Instance())
        app->ParseCommandLine(cmd);

    g_Settings.SetProgramFolder();
    g_Settings.Load();
    windowsVersion = DetectWindowsVersion();
    g_hMainWnd = m_hWnd;

    CString about;
    if (language)
        language->LoadString(about, 1);
    if (HMENU sys = ::GetSystemMenu(m_hWnd, FALSE); sys && !about.IsEmpty()) {
        ::AppendMenuW(sys, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(sys, MF_STRING, kAboutCommand, about.c_str());
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    mapPane.Create(this);
    mapPane.ShowWindow(SW_SHOW);
    for (int i = 0; i < 6; ++i)
        ToolButtons(i)->ReloadJpgResource(kToolButtonImages[i], ResourceModule());
    gpsPanel.Create(this);
    gpsPanel.ShowWindow(SW_SHOW);
    scopePanel.Create(this);
    scopePanel.ShowWindow(SW_SHOW);
    legendBar.Create(this);
    legendBar.ShowWindow(SW_SHOW);
    searchPanel.Create(this);
    searchPanel.ShowWindow(SW_SHOW);
    playbackPage.language = language;
    playbackPage.Create(this);
    playbackPage.ShowWindow(SW_SHOW);
    fileList.Create(this);
    fileList.ShowWindow(SW_SHOW);

    streamFont.CreateFont(14, 400, 0, 0x20, L"宋体");
    streamInfo.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(streamFont)), TRUE);
    streamInfo.SendMessage(EM_SETBKGNDCOLOR, 0, RGB(0, 0, 0));
    if (language)
        streamInfo.SetWindowText(language->Text(470).c_str());
    streamInfo.SendMessage(EM_SETREADONLY, TRUE);
    FormatStreamInfo();
    streamInfo.ShowWindow(SW_SHOW);

    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    MoveWindow(0, 0, work.right - work.left, work.bottom - work.top);

    char exe[512] = {};
    ::GetModuleFileNameA(nullptr, exe, sizeof exe);
    RegisterFileAssociation(HKEY_CLASSES_ROOT, (FolderOf(exe) + "\\exe.ico").c_str(), exe);

    ApplyCommandLine(cmd);
    textsReady = 1;
    SetTimer(kStartupLanguageTimer, 500);
    return TRUE;
}

void CTORQUELIANDlg::ApplyCommandLine(const CCommandLineInfo& cmd)
{
    if (cmd.argumentCount < 1)
        return;
    std::string path = cmd.fileName.ToAnsi();
    searchPanel.folderText = path;
    g_Settings.searchRoot = path;
    searchPanel.StartDateSearch();
    fileList.currentPage = 1;
    fileList.pageCount = 1;
    fileList.nextIndex = 0;
    fileList.groupPage = 0;
    fileList.selectedPath = path;
}

void CTORQUELIANDlg::FormatStreamInfo()
{
    streamInfo.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    CHARFORMAT2W cf = {};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_COLOR;
    cf.crTextColor = RGB(255, 255, 255);
    streamInfo.SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    CHARFORMAT2W hl = {};
    hl.cbSize = sizeof hl;
    hl.dwMask = CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_SIZE | CFM_FACE;
    hl.dwEffects = CFE_BOLD | CFE_ITALIC;
    hl.crTextColor = RGB(0, 255, 0);
    hl.yHeight = 300;
    lstrcpynW(hl.szFaceName, L"宋体", LF_FACESIZE);
    const CHARRANGE ranges[2] = {{10, 50}, {120, 200}};
    for (const CHARRANGE& r : ranges) {
        streamInfo.SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
        streamInfo.SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&hl));
    }
}

void CTORQUELIANDlg::LayoutPanels()
{
    if (!streamInfo.m_hWnd || !playbackPage.m_hWnd)
        return;
    if (playbackPage.fullScreen) {
        playbackPage.LeaveFullScreen();
        return;
    }
    HDC screen = ::GetDC(nullptr);
    int W = ::GetDeviceCaps(screen, HORZRES);
    ::ReleaseDC(nullptr, screen);
    if (playbackPage.controlPanel.sidePanelsHidden || gpsPanel.mapHidden)
        return;
    RECT client = GetClientRect();
    MainLayout m = ComputeMainLayout(W, client.bottom);
    auto place = [](CWnd& w, const PanelRect& r) {
        if (w.m_hWnd)
            w.MoveWindow(r.x, r.y, r.w, r.h);
    };
    place(searchPanel, m.search);
    place(fileList, m.fileList);
    if (HWND list = fileList.ListControl()) {
        const int order[6] = {1, 2, 0, 3, 4, 5};
        for (int i = 0; i < 6; ++i)
            ::SendMessageW(list, LVM_SETCOLUMNWIDTH, order[i], m.listColumns[i]);
    }
    place(streamInfo, m.streamInfo);
    place(mapPane, m.map);
    place(gpsPanel, m.gps);
    for (int i = 0; i < 6; ++i)
        place(*ToolButtons(i), m.toolButtons[i]);
    place(playbackPage, m.playback);
    place(scopePanel, m.scope);
    place(legendBar, m.legend);
}

void CTORQUELIANDlg::SetSplitCount(int n)
{
    playbackPage.paneCount = n;
    playbackPage.LayoutPanes();
}

void CTORQUELIANDlg::ApplyStartupLanguage()
{
    int fix = g_Settings.gpsFix;
    UiLanguage lang = ChooseStartupLanguage(g_Settings.lanSelect, ::GetSystemDefaultLangID(), fix);
    g_Settings.gpsFix = fix;
    switch (lang) {
    case UiLanguage::Simplified: searchPanel.SetSimplifiedChinese(); break;
    case UiLanguage::Traditional: searchPanel.SetTraditionalChinese(); break;
    case UiLanguage::English: searchPanel.SetEnglish(); break;
    }
}

void CTORQUELIANDlg::UpdateTexts()
{
    if (m_hWnd) {
        HDC dc = ::GetWindowDC(m_hWnd);
        PaintCaption(dc);
        ::ReleaseDC(m_hWnd, dc);
    }
    if (textsReady) {
        fileList.ApplyLanguage();
        legendBar.UpdateTexts();
        gpsPanel.UpdateTexts();
        playbackPage.controlPanel.UpdateToolTips();
    }
    if (streamInfo.m_hWnd && language)
        streamInfo.SetWindowText(language->Text(470).c_str());
}

void CTORQUELIANDlg::PaintCaption(HDC dc)
{
    if (!m_hWnd || !dc)
        return;
    CString title;
    if (language)
        language->LoadString(title, 509);
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
    if (logo.LoadBitmap(ResourceModule(), 743)) {
        CMemoryDC mem(dc);
        CSelect sel(mem, logo.m_hObject);
        SIZE s = logo.GetSize();
        ::StretchBlt(dc, cxFrame, cyFrame, 100, cySize, mem, 0, 0, s.cx, s.cy, SRCCOPY);
    }
    closeRect = {W - cxFrame - 19, cyFrame, W - cxFrame, cyFrame + 19};
    minimiseRect = {closeRect.left - 3 - 19, cyFrame, closeRect.left - 3, cyFrame + 19};
    ::OffsetRect(&closeRect, wr.left, wr.top);
    ::OffsetRect(&minimiseRect, wr.left, wr.top);
    DrawCaptionButton(dc, closeRect, 636);
    DrawCaptionButton(dc, minimiseRect, 332);

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

void CTORQUELIANDlg::OnNcMouseMove(WPARAM hit, LPARAM point)
{
    if (windowsVersion == 5)
        return;
    HDC dc = ::GetWindowDC(m_hWnd);
    PaintCaption(dc);
    POINT p = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    DrawCaptionButton(dc, closeRect, ::PtInRect(&closeRect, p) ? 635 : 636);
    DrawCaptionButton(dc, minimiseRect, ::PtInRect(&minimiseRect, p) ? 639 : 332);
    ::ReleaseDC(m_hWnd, dc);
    CDialog::DefWindowProc(WM_NCMOUSEMOVE, hit, point);
}

void CTORQUELIANDlg::OnNcLButtonDown(WPARAM hit, LPARAM point)
{
    POINT p = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    if (::PtInRect(&closeRect, p))
        SendMessage(WM_CLOSE);
    else if (::PtInRect(&minimiseRect, p))
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    if (m_hWnd)
        CDialog::DefWindowProc(WM_NCLBUTTONDOWN, hit, point);
}

BOOL CTORQUELIANDlg::PreTranslateMessage(MSG* msg)
{
    // Keys only; the dialog manager's navigation stays off on purpose.
    if (msg->message != WM_KEYDOWN)
        return FALSE;
    CDlgPlayBkCtrl& panel = playbackPage.controlPanel;
    switch (msg->wParam) {
    case VK_ESCAPE:
        if (playbackPage.fullScreen)
            playbackPage.LeaveFullScreen();
        return TRUE;
    case VK_UP:
        return TRUE;
    case VK_SPACE:
        if (panel.paused)
            panel.Play();
        else
            panel.Pause();
        return TRUE;
    case VK_LEFT:
        panel.Slower();
        return TRUE;
    case VK_RIGHT:
        panel.Faster();
        return TRUE;
    case VK_DOWN:
        panel.NextFile();
        return TRUE;
    default:
        return FALSE;
    }
}

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
        case WM_NOTIFY: {
            HDC dc = ::GetWindowDC(m_hWnd);
            PaintCaption(dc);
            ::ReleaseDC(m_hWnd, dc);
            break;
        }
        case WM_NCPAINT:
        case WM_NCACTIVATE: {
            // The system draws its own caption here: paint ours over it after.
            LRESULT r = CDialog::DefWindowProc(msg, wParam, lParam);
            HDC dc = ::GetWindowDC(m_hWnd);
            PaintCaption(dc);
            ::ReleaseDC(m_hWnd, dc);
            return r;
        }
        default:
            break;
        }
    }
    return CDialog::DefWindowProc(msg, wParam, lParam);
}

LRESULT CTORQUELIANDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == kAboutCommand) {
            CAboutDlg about;
            about.DoModal(this);
            return 0;
        }
        if ((wParam & 0xFFF0) == SC_MOVE)
            return 0;  // the window stays where it is
        break;
    case WM_PAINT:
        if (::IsIconic(m_hWnd)) {
            CPaintDC dc(this);
            RECT rc = GetClientRect();
            ::DrawIcon(dc, (rc.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2,
                       (rc.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2, icon);
            return 0;
        }
        break;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(icon);
    case WM_SIZE: {
        LRESULT r = CDialog::WindowProc(msg, wParam, lParam);
        LayoutPanels();
        return r;
    }
    case WM_NCMOUSEMOVE:
        OnNcMouseMove(wParam, lParam);
        return 0;
    case WM_NCLBUTTONDOWN:
        OnNcLButtonDown(wParam, lParam);
        return 0;
    case WM_REPAINT_CAPTION: {
        HDC dc = ::GetWindowDC(m_hWnd);
        PaintCaption(dc);
        ::ReleaseDC(m_hWnd, dc);
        return 0;
    }
    default:
        break;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}

bool CTORQUELIANDlg::OnCommand(UINT id, UINT code, HWND control)
{
    switch (id) {
    case 210: SetSplitCount(1); return true;
    case 234: SetSplitCount(4); return true;
    case 235: SetSplitCount(9); return true;
    case 236: SetSplitCount(16); return true;
    case 230: playbackPage.controlPanel.Snapshot(); return true;
    case 231:
        // The selected video pane takes the cut command (seam for the panes).
        ::SendMessageW(playbackPage.m_hWnd, WM_COMMAND, kCutToAviCommand, 0);
        return true;
    default:
        return CDialog::OnCommand(id, code, control);
    }
}

HBRUSH CTORQUELIANDlg::OnCtlColor(HDC dc, HWND control, UINT type)
{
    CDialog::OnCtlColor(dc, control, type);
    return backgroundBrush;
}

bool CTORQUELIANDlg::OnDrawItem(int id, DRAWITEMSTRUCT* item)
{
    ::SetTextColor(item->hDC, RGB(255, 255, 255));
    return CDialog::OnDrawItem(id, item);
}

void CTORQUELIANDlg::OnTimer(UINT_PTR id)
{
    if (id == kStartupLanguageTimer) {
        ApplyStartupLanguage();
        KillTimer(kStartupLanguageTimer);
        return;
    }
    CDialog::OnTimer(id);
}
