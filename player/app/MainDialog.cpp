#include "app/MainDialog.h"

#include "AppSettings.h"
#include "DataExchange.h"
#include "app/FileAssociation.h"
#include "LanguageHolder.h"
#include "app/MainLayout.h"
#include "app/ScreenLayout.h"
#include "StringIds.h"
#include "app/WindowsVersion.h"
#include "WinApp.h"
#include "resource.h"

#include <commctrl.h>
#include <windowsx.h>
#include <richedit.h>

#include <new>

HWND g_hMainWnd = nullptr;

namespace {
const int kStartupLanguageTimer = 1;
const int kToolButtonIds[6] = {IDC_SPLIT1, IDC_SPLIT4, IDC_SPLIT9, IDC_SPLIT16, IDC_SNAPSHOT, IDC_CUT_AVI};
const int kToolButtonImages[6] = {IDB_SPLIT1, IDB_SPLIT4, IDB_SPLIT9, IDB_SPLIT16, IDB_SNAPSHOT, IDB_CUT_AVI};

// The screen's width in pixels, which the panels' proportions are taken of.
int ScreenWidth()
{
    HDC screen = ::GetDC(nullptr);
    const int w = ::GetDeviceCaps(screen, HORZRES);
    ::ReleaseDC(nullptr, screen);
    return w;
}
}

BEGIN_MESSAGE_TABLE(CTORQUELIANDlg, CDialog)
    OnMessage<&CTORQUELIANDlg::OnSysCommand>(WM_SYSCOMMAND),
    OnMessage<&CTORQUELIANDlg::OnPaint>(WM_PAINT),
    OnMessage<&CTORQUELIANDlg::OnQueryDragIcon>(WM_QUERYDRAGICON),
    OnMessage<&CTORQUELIANDlg::OnSize>(WM_SIZE),
    OnCommand<&CTORQUELIANDlg::OnSplit1>(IDC_SPLIT1),
    OnCommand<&CTORQUELIANDlg::OnSplit4>(IDC_SPLIT4),
    OnCommand<&CTORQUELIANDlg::OnSplit9>(IDC_SPLIT9),
    OnCommand<&CTORQUELIANDlg::OnSplit16>(IDC_SPLIT16),
    OnCommand<&CTORQUELIANDlg::OnSnapshot>(IDC_SNAPSHOT),
    OnCommand<&CTORQUELIANDlg::OnCutToAvi>(IDC_CUT_AVI),
    OnMessages<&CTORQUELIANDlg::OnCtlColor>(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC),
    OnMessage<&CTORQUELIANDlg::OnNcMouseMove>(WM_NCMOUSEMOVE),
    OnMessage<&CTORQUELIANDlg::OnNcLButtonDown>(WM_NCLBUTTONDOWN),
    OnMessage<&CTORQUELIANDlg::OnRepaintCaption>(WM_REPAINT_CAPTION),
    OnMessage<&CTORQUELIANDlg::OnDrawItem>(WM_DRAWITEM),
    OnMessage<&CTORQUELIANDlg::OnTimer>(WM_TIMER),
END_MESSAGE_TABLE()

CTORQUELIANDlg::CTORQUELIANDlg() : CDialog(IDD_MAIN)
{
    language = new (std::nothrow) LanguageHolder;
    if (language)
        language->playbackPage = &playbackPage;
    g_Settings.language = language;
    icon = ::LoadIconW(ResourceModule(), MAKEINTRESOURCEW(IDI_APP));
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
    DDX_Control(dx, IDC_STREAM_INFO, streamInfo);
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
    g_Settings.windowsVersion = windowsVersion;
    g_hMainWnd = m_hWnd;

    CString about;
    if (language)
        language->LoadString(about, IDS_ABOUT_MENU);
    if (HMENU sys = ::GetSystemMenu(m_hWnd, FALSE); sys && !about.IsEmpty()) {
        ::AppendMenuW(sys, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(sys, MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    mapPane.Create(this);
    mapPane.ShowWindow(SW_SHOW);
    for (int i = 0; i < 6; ++i)
        ToolButtons(i)->ReloadJpgResource(kToolButtonImages[i], ResourceModule());
    gpsPanel.playbackPage = &playbackPage;
    gpsPanel.mapPane = &mapPane;
    playbackPage.controlPanel.vehicle.gpsPanel = &gpsPanel;
    playbackPage.controlPanel.vehicle.mapPane = &mapPane;
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
        streamInfo.SetWindowText(language->Text(IDS_STREAM_INFORMATION).c_str());
    streamInfo.SendMessage(EM_SETREADONLY, TRUE);
    FormatStreamInfo();
    streamInfo.ShowWindow(SW_SHOW);

    KeepControlsPaintingInside();

    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    MoveWindow(0, 0, work.right - work.left, work.bottom - work.top);

    const std::string exe = AnsiProgramPath();
    RegisterFileAssociation(HKEY_CLASSES_ROOT, (FolderOf(exe) + "\\exe.ico").c_str(), exe.c_str());

    ApplyCommandLine(cmd);
    textsReady = 1;
    SetTimer(kStartupLanguageTimer, 500);
    return TRUE;
}

void CTORQUELIANDlg::KeepControlsPaintingInside()
{
    // Labels and value boxes draw on the parent's device context by their
    // class: a value box that repaints then paints over the unit beside it
    // under Wine. Each control keeps to its own window instead (the style
    // is the class's, so one window of each class changes all of them).
    const int samples[2] = {IDC_GPS_SPEED, IDC_SPEED_UNIT};
    for (int id : samples)
        if (HWND w = gpsPanel.GetDlgItem(id)) {
            const ULONG_PTR style = ::GetClassLongPtrW(w, GCL_STYLE);
            ::SetClassLongPtrW(w, GCL_STYLE, static_cast<LONG_PTR>(style & ~static_cast<ULONG_PTR>(CS_PARENTDC)));
        }
}

void CTORQUELIANDlg::ApplyCommandLine(const CCommandLineInfo& cmd)
{
    if (cmd.argumentCount < 1)
        return;
    const std::wstring path = cmd.fileName;
    // The page fields first: the search that follows fills them.
    fileList.currentPage = 1;
    fileList.pageCount = 1;
    fileList.nextIndex = 0;
    fileList.groupPage = 0;
    fileList.selectedPath = path;
    searchPanel.ShowStoragePath(path);
    g_Settings.searchRoot = path;
    searchPanel.StartDateSearch();
}

void CTORQUELIANDlg::ShowSearchRoot(const std::wstring& path)
{
    searchPanel.ShowStoragePath(path);
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
    LayoutPanelsFor(ScreenWidth());
}

void CTORQUELIANDlg::LayoutPanelsFor(int W)
{
    if (!streamInfo.m_hWnd || !playbackPage.m_hWnd)
        return;
    RECT client = GetClientRect();
    // The columns are proportions of what the window shows.
    if (client.right > 0 && client.right < W)
        W = client.right;
    layoutWidth = W;
    if (playbackPage.fullScreen || playbackPage.controlPanel.sidePanelHidden || gpsPanel.mapHidden)
        return;
    MainLayout m = ComputeMainLayout(W, client.bottom, fileList.WantedWidths());
    auto place = [](CWnd& w, const PanelRect& r) {
        if (w.m_hWnd)
            w.MoveWindow(r.x, r.y, r.w, r.h);
    };
    place(searchPanel, m.search);
    place(fileList, m.fileList);
    {
        // The layout's widths are of columns 1, 2, 0, 3, 4, 5.
        const int order[6] = {1, 2, 0, 3, 4, 5};
        int widths[6];
        for (int i = 0; i < 6; ++i)
            widths[order[i]] = m.listColumns[i];
        fileList.FitColumns(widths);
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

void CTORQUELIANDlg::ToggleMap()
{
    gpsPanel.OnToggleMap();
}

void CTORQUELIANDlg::LoadLanguageImages()
{
    gpsPanel.LoadLanguageImages();
    legendBar.LoadLanguageImages();
}

void CTORQUELIANDlg::ApplyTrackColour()
{
    playbackPage.controlPanel.vehicle.ApplyTrackColour();
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
        legendBar.LayoutButtons();
        gpsPanel.UpdateTexts();
        playbackPage.controlPanel.RelabelButtons();
    }
    // The open recording's details in the new language; the heading while
    // nothing is open.
    if (playbackPage.controlPanel.decoder)
        playbackPage.UpdatePaneInfo();
    else if (streamInfo.m_hWnd && language)
        streamInfo.SetWindowText(language->Text(IDS_STREAM_INFORMATION).c_str());
}

void CTORQUELIANDlg::ShowStreamInfo(const std::wstring& text)
{
    if (streamInfo.m_hWnd)
        streamInfo.SetWindowText(text.c_str());
}

void CTORQUELIANDlg::ApplyScreenLayout()
{
    if (!m_hWnd || !playbackPage.m_hWnd)
        return;
    ScreenModes modes;
    modes.fullScreen = playbackPage.fullScreen != 0;
    modes.sidePanelsHidden = playbackPage.controlPanel.sidePanelHidden != 0;
    modes.mapShown = !gpsPanel.mapHidden;
    RECT client = GetClientRect();
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const ScreenLayout s = ComputeScreenLayout(modes, layoutWidth > 0 ? layoutWidth : ScreenWidth(), client, screen,
                                               windowsVersion, fileList.WantedWidths());
    auto show = [](CWnd& w, bool shown) {
        if (w.m_hWnd)
            w.ShowWindow(shown ? SW_SHOW : SW_HIDE);
    };
    show(searchPanel, s.leftColumn);
    show(fileList, s.leftColumn);
    show(streamInfo, s.leftColumn);
    for (int i = 0; i < 6; ++i)
        show(*ToolButtons(i), s.leftColumn);
    if (s.sidePanels && scopePanel.m_hWnd)
        scopePanel.MoveWindow(s.scope.left, s.scope.top, s.scope.right - s.scope.left, s.scope.bottom - s.scope.top);
    show(scopePanel, s.sidePanels);
    show(legendBar, s.sidePanels);
    if (gpsPanel.m_hWnd)
        gpsPanel.ShowWindow(s.sidePanels ? SW_SHOWNORMAL : SW_HIDE);
    show(mapPane, s.map);
    // Over the panels it covers; the panels it leaves room for are back
    // beside it.
    ::SetWindowPos(playbackPage.m_hWnd, HWND_TOP, s.page.left, s.page.top, s.page.right - s.page.left,
                   s.page.bottom - s.page.top, SWP_SHOWWINDOW);
    playbackPage.LayoutPanes();
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

BOOL CTORQUELIANDlg::PreTranslateMessage(MSG* msg)
{
    // Keys only; the dialog manager's navigation stays off on purpose.
    return msg->message == WM_KEYDOWN && playbackPage.controlPanel.RunKey(msg->wParam);
}

void CTORQUELIANDlg::OnSysCommand(Message& m)
{
    if ((m.wParam & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal(this);
        return;
    }
    if ((m.wParam & 0xFFF0) == SC_MOVE)
        return;  // the window stays where it is
    m.handled = false;
}

void CTORQUELIANDlg::OnPaint(Message& m)
{
    if (!::IsIconic(m_hWnd)) {
        m.handled = false;
        return;
    }
    CPaintDC dc(this);
    RECT rc = GetClientRect();
    ::DrawIcon(dc, (rc.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2,
               (rc.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2, icon);
}

LRESULT CTORQUELIANDlg::OnQueryDragIcon(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(icon);
}

void CTORQUELIANDlg::OnSize(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    LayoutPanels();
}

void CTORQUELIANDlg::OnSnapshot()
{
    playbackPage.controlPanel.CaptureSnapshot();
}

void CTORQUELIANDlg::OnCutToAvi()
{
    playbackPage.CutSelectedPaneToAvi();
}

void CTORQUELIANDlg::OnCtlColor(Message& m)
{
    DefWindowProc(m.id, m.wParam, m.lParam);
    m.result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(backgroundBrush));
}

void CTORQUELIANDlg::OnDrawItem(Message& m)
{
    if (auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.lParam))
        ::SetTextColor(item->hDC, RGB(255, 255, 255));
    m.handled = false;  // then the default owner drawing
}

void CTORQUELIANDlg::OnTimer(Message& m)
{
    if (m.wParam != kStartupLanguageTimer) {
        m.handled = false;
        return;
    }
    ApplyStartupLanguage();
    KillTimer(kStartupLanguageTimer);
}
