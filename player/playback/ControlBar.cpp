// The playback control's bar: its controls and their layout, colours and
// keys, the rate and time labels, the volume, the image labels (pane
// splits, AVI cut, sound), full screen, the side panels and snapshots.
// Opening, rates, seeking, ends and stopping are in DlgPlayBkCtrl.cpp.
#include "playback/DlgPlayBkCtrl.h"

#include "AppSettings.h"
#include "DataExchange.h"
#include "FileExists.h"
#include "LanguageHolder.h"
#include "app/MainKeys.h"
#include "app/MainWindow.h"
#include "playback/ControlBarLayout.h"
#include "playback/DlgPlayBack.h"
#include "playback/SnapshotFiles.h"
#include "AnsiPath.h"
#include "StringIds.h"

#include <commctrl.h>

#include <string>

extern HWND g_hMainWnd;

namespace {

const COLORREF kDarkPanel = RGB(88, 92, 95);
const COLORREF kLightPanel = RGB(236, 233, 216);
const COLORREF kTransparentKey = RGB(255, 0, 0);
const int kNoticeSeconds = 10;

// The bar's buttons: control, bitmap, tool tip.
struct ButtonSpec {
    int id, bitmap, tip;
};
const ButtonSpec kButtons[CDlgPlayBkCtrl::kButtonCount] = {
    {IDC_PLAY, IDB_BAR_PLAY, IDS_PLAY},
    {IDC_PAUSE, IDB_BAR_PAUSE, IDS_PAUSE},
    {IDC_STOP, IDB_BAR_STOP, IDS_STOP},
    {IDC_FASTER, IDB_BAR_FASTER, IDS_FAST},
    {IDC_SLOWER, IDB_BAR_SLOWER, IDS_REWIND_DOWN},
    {IDC_PREVIOUS_FILE, IDB_BAR_PREVIOUS, IDS_PREVIOUS},
    {IDC_NEXT_FILE, IDB_BAR_NEXT, IDS_NEXT},
    {IDC_REWIND, IDB_BAR_REWIND, IDS_BACK},
    {IDC_FULL_SCREEN, IDB_BAR_FULL_SCREEN, IDS_FULL_SCREEN},
    {IDC_SIDE_PANELS, IDB_BAR_SIDE_PANELS, IDS_SHOW_HIDE_GPS_WAVE},
};
// The text captions and their strings.
const int kCaptionIds[CDlgPlayBkCtrl::kCaptionCount] = {IDC_CAPTION_PLAY, IDC_CAPTION_STOP,     IDC_CAPTION_FAST,
                                                        IDC_CAPTION_BACK, IDC_CAPTION_ROLLBACK, IDC_CAPTION_NEXT_FRAME};
const int kCaptionStrings[CDlgPlayBkCtrl::kCaptionCount] = {IDS_PLAY, IDS_STOP,     IDS_FAST,
                                                            IDS_BACK, IDS_ROLLBACK, IDS_NEXT_FRAME};
const int kSplitIds[4] = {IDC_BAR_SPLIT1, IDC_BAR_SPLIT4, IDC_BAR_SPLIT9, IDC_BAR_SPLIT16};
const int kSplitImages[4] = {IDB_SPLIT1, IDB_SPLIT4, IDB_SPLIT9, IDB_SPLIT16};

}  // namespace

// --- Set-up, layout, colours and keys ----------------------------------------

void CDlgPlayBkCtrl::PresetCaptions()
{
    for (int i = 0; i < kCaptionCount; ++i)
        captions[i].TextModePreset(kCaptionStrings[i]);
}

void CDlgPlayBkCtrl::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_POSITION_SLIDER, positionSlider);
    DDX_Control(dx, IDC_VOLUME_SLIDER, volumeSlider);
    for (int i = 0; i < kCaptionCount; ++i)
        DDX_Control(dx, kCaptionIds[i], captions[i]);
    for (int i = 0; i < kButtonCount; ++i)
        DDX_Control(dx, kButtons[i].id, buttons[i]);
    for (int i = 0; i < 4; ++i)
        DDX_Control(dx, kSplitIds[i], splitStatics[i]);
    DDX_Control(dx, IDC_SNAPSHOT, snapshotStatic);
    DDX_Control(dx, IDC_CUT_AVI, cutAviStatic);
    DDX_Control(dx, IDC_SOUND, soundStatic);
}

BOOL CDlgPlayBkCtrl::OnInitDialog()
{
    CDialog::OnInitDialog();
    reports.window = m_hWnd;
    bkScheme = g_Settings.bkColor;
    brush.CreateSolidBrush(bkScheme == 1 ? kDarkPanel : kLightPanel);

    positionSlider.ModifyStyle(0, TBS_FIXEDLENGTH);
    positionSlider.SendMessage(TBM_SETTHUMBLENGTH, 13);
    volumeSlider.SendMessage(TBM_SETRANGEMIN, FALSE, 0);
    volumeSlider.SendMessage(TBM_SETRANGEMAX, TRUE, 0xFFFF);
    volumeSlider.SendMessage(TBM_SETPAGESIZE, 0, 327);
    volume = 0x8000;
    volumeSlider.SendMessage(TBM_SETPOS, TRUE, volume);
    playState = kIdle;

    soundStatic.ReloadJpgResource(IDB_SOUND_ON, ResourceModule());
    notice.language = Language();
    notice.Create(this);

    for (int i = 0; i < kButtonCount; ++i) {
        HBITMAP bitmap = ::LoadBitmapW(ResourceModule(), MAKEINTRESOURCEW(kButtons[i].bitmap));
        buttons[i].SetBitmap(bitmap, kTransparentKey);
    }
    CImageButton& play = buttons[0];
    play.OffsetFirstColor();
    play.foreIn = RGB(89, 114, 237);
    play.Invalidate();
    RelabelButtons();

    for (int i = 0; i < 4; ++i)
        splitStatics[i].ReloadJpgResource(kSplitImages[i], ResourceModule());
    snapshotStatic.ReloadJpgResource(IDB_SNAPSHOT, ResourceModule());
    cutAviStatic.ReloadJpgResource(IDB_CUT_AVI, ResourceModule());

    // The time label's font, kept for the panel's life.
    m_timeFont.CreateFont(20, 600, DEFAULT_CHARSET, 0, L"Arial");
    if (HWND time = GetDlgItem(IDC_TIME_LABEL))
        ::SendMessageW(time, WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_timeFont)), FALSE);
    return TRUE;
}

void CDlgPlayBkCtrl::RelabelButtons()
{
    LanguageHolder* lang = Language();
    notice.language = lang;
    notice.RelabelButtons();
    if (!lang)
        return;
    for (int i = 0; i < kButtonCount; ++i)
        if (buttons[i].m_hWnd)
            buttons[i].SetHintText(lang->Text(kButtons[i].tip).c_str());
}

void CDlgPlayBkCtrl::OnSize(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    if (!positionSlider.m_hWnd)
        return;
    const BarLayout layout = ComputeBarLayout(GetClientRect());
    for (const BarItem& item : layout.items) {
        HWND control = GetDlgItem(item.id);
        if (!control)
            continue;
        if (item.shown) {
            const RECT& r = item.rect;
            ::MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        }
        ::ShowWindow(control, item.shown ? SW_SHOW : SW_HIDE);
    }
    ::UpdateWindow(m_hWnd);
}

void CDlgPlayBkCtrl::OnCtlColor(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    HDC dc = reinterpret_cast<HDC>(m.wParam);
    switch (::GetDlgCtrlID(reinterpret_cast<HWND>(m.lParam))) {
    case IDC_TIME_LABEL:
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, bkScheme == 1 ? RGB(255, 255, 255) : kDarkPanel);
        if (m_timeFont.m_hObject)
            ::SelectObject(dc, m_timeFont);
        break;
    case IDC_RATE_LABEL:
        if (bkScheme == 1) {
            ::SetTextColor(dc, RGB(255, 255, 255));
            ::SetBkColor(dc, kDarkPanel);
        } else {
            ::SetBkColor(dc, kLightPanel);
        }
        break;
    default:
        break;
    }
    if (brush.m_hObject)
        m.result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(brush));
}

BOOL CDlgPlayBkCtrl::PreTranslateMessage(MSG* msg)
{
    // Keys only; the dialog's own key navigation stays off.
    return msg->message == WM_KEYDOWN && RunKey(msg->wParam);
}

bool CDlgPlayBkCtrl::RunKey(WPARAM key)
{
    switch (CommandForKey(key)) {
    case KeyCommand::PassOn:
        return false;
    case KeyCommand::Swallow:
        break;
    case KeyCommand::LeaveFullScreen:
        if (page && page->fullScreen)
            page->LeaveFullScreen();
        break;
    case KeyCommand::PlayOrPause:
        if (paused)
            Play();
        else
            Pause();
        break;
    case KeyCommand::Slower:
        Slower();
        break;
    case KeyCommand::Faster:
        Faster();
        break;
    case KeyCommand::NextFile:
        NextFile();
        break;
    }
    return true;
}

// --- Labels and volume ------------------------------------------------------

void CDlgPlayBkCtrl::SetRateLabel(const std::wstring& text)
{
    if (m_hWnd)
        ::SetDlgItemTextW(m_hWnd, IDC_RATE_LABEL, text.c_str());
}

void CDlgPlayBkCtrl::SetTimeLabel(const wchar_t* text)
{
    if (m_hWnd)
        ::SetDlgItemTextW(m_hWnd, IDC_TIME_LABEL, text);
}

void CDlgPlayBkCtrl::ApplyVolume()
{
    if (!decoder)
        return;
    volumeSlider.SendMessage(TBM_SETPOS, TRUE, volume);
    engine->SetVolume(decoder, soundOn ? volume : 0);
}

void CDlgPlayBkCtrl::OnVolumeReleased(Message&)
{
    ApplyVolumeFromSlider();
}

void CDlgPlayBkCtrl::OnHScroll(Message& m)
{
    // Every move of the volume slider, by mouse, wheel or keys, is heard.
    if (volumeSlider.m_hWnd && reinterpret_cast<HWND>(m.lParam) == volumeSlider.m_hWnd) {
        ApplyVolumeFromSlider();
        return;
    }
    m.handled = false;
}

void CDlgPlayBkCtrl::ApplyVolumeFromSlider()
{
    if (!decoder)
        return;
    if (soundOn) {
        volume = static_cast<unsigned short>(volumeSlider.SendMessage(TBM_GETPOS));
        engine->SetVolume(decoder, volume);
    } else {
        engine->SetVolume(decoder, 0);
    }
}

// --- The bar's image labels, sound, full screen and side panels -------------

void CDlgPlayBkCtrl::OnSplit1()
{
    SetPaneCount(1);
}

void CDlgPlayBkCtrl::OnSplit4()
{
    SetPaneCount(4);
}

void CDlgPlayBkCtrl::OnSplit9()
{
    SetPaneCount(9);
}

void CDlgPlayBkCtrl::OnSplit16()
{
    SetPaneCount(16);
}

void CDlgPlayBkCtrl::SetPaneCount(int n)
{
    if (!page)
        return;
    page->paneCount = n;
    page->LayoutPanes();
}

void CDlgPlayBkCtrl::OnCutToAvi()
{
    if (page)
        page->CutSelectedPaneToAvi();
}

void CDlgPlayBkCtrl::ToggleSound()
{
    if (soundOn) {
        soundOn = 0;
        soundStatic.ReloadJpgResource(IDB_SOUND_OFF, ResourceModule());
        if (decoder)
            engine->SetVolume(decoder, 0);
    } else {
        soundOn = 1;
        soundStatic.ReloadJpgResource(IDB_SOUND_ON, ResourceModule());
        // The slider's position, not the remembered value.
        volume = static_cast<unsigned short>(volumeSlider.SendMessage(TBM_GETPOS));
        if (decoder)
            engine->SetVolume(decoder, volume);
    }
    soundStatic.Invalidate();
}

void CDlgPlayBkCtrl::EnterFullScreen()
{
    // Pressed again in full screen: the page stays as it is, and the
    // placement to go back to stays the one from before.
    if (!page || !page->m_hWnd || !g_hMainWnd || page->fullScreen)
        return;
    page->savedPlacement.length = sizeof page->savedPlacement;
    ::GetWindowPlacement(page->m_hWnd, &page->savedPlacement);
    RECT client = {};
    ::GetClientRect(g_hMainWnd, &client);
    ::MapWindowPoints(g_hMainWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    page->fullScreenRect = FullScreenPageRect(client, screen);
    page->fullScreen = 1;
    if (g_Settings.mainDlg) {
        g_Settings.mainDlg->ApplyScreenLayout();
        return;
    }
    WINDOWPLACEMENT placement = page->savedPlacement;
    placement.showCmd = SW_SHOWNORMAL;
    placement.rcNormalPosition = page->fullScreenRect;
    ::SetWindowPlacement(page->m_hWnd, &placement);
}

void CDlgPlayBkCtrl::ToggleSidePanels()
{
    if (!page || !page->m_hWnd)
        return;
    if (sidePanelHidden) {
        sidePanelHidden = 0;
    } else {
        sidePanelHidden = 1;
        // Kept for the record of where the page was; in full screen the
        // switch only takes effect when full screen is left.
        sidePanelPlacement.length = sizeof sidePanelPlacement;
        ::GetWindowPlacement(page->m_hWnd, &sidePanelPlacement);
        RECT client = {};
        if (g_hMainWnd)
            ::GetClientRect(g_hMainWnd, &client);
        sidePanelRect = SidePanelPageRect(client, g_Settings.windowsVersion);
    }
    if (g_Settings.mainDlg)
        g_Settings.mainDlg->ApplyScreenLayout();
}

// --- Snapshots ---------------------------------------------------------------------

void CDlgPlayBkCtrl::CaptureSnapshot()
{
    if (!decoder)
        return;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    std::vector<SnapshotResult> results;
    for (int k = 0; k < 4; ++k) {
        const std::wstring& path = channelPath[k];
        if (path.find(L'\\') == std::wstring::npos)
            continue;
        std::wstring name;
        if (!SnapshotName(path, now, FileExists, name)) {
            results.push_back({SnapshotResult::NameTooLong, path});
            continue;
        }
        std::string ansi;
        if (!AnsiPathOfNewFile(name, ansi)) {
            results.push_back({SnapshotResult::Unreachable, name});
            continue;
        }
        CaptureFrameInfo info = {};
        engine->CaptureBMP(decoder, channelNumber[k] - 1, ansi.c_str(), &info);
        // The engine also answers 0 when it had no picture to write.
        results.push_back({FileExists(name) ? SnapshotResult::Saved : SnapshotResult::Failed, name});
    }
    if (results.empty())
        return;
    const LanguageHolder* lang = Language();
    notice.ShowNotice(TextIn(lang, IDS_NOTICE),
                      SnapshotNoticeText(results, TextIn(lang, IDS_SNAPSHOT_SAVED), TextIn(lang, IDS_SNAPSHOT_FAILED),
                                         TextIn(lang, IDS_SNAPSHOT_NAME_TOO_LONG), TextIn(lang, IDS_PATH_NO_SHORT_NAME)),
                      SnapshotFolders(results), kNoticeSeconds);
}
