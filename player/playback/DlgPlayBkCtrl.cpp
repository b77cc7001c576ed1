#include "playback/DlgPlayBkCtrl.h"

#include "AppSettings.h"
#include "playback/ChannelMatching.h"
#include "playback/ControlBarLayout.h"
#include "DataExchange.h"
#include "recordings/DlgFileList.h"
#include "playback/DlgPlayBack.h"
#include "playback/EngineCallbacks.h"
#include "FileExists.h"
#include "LanguageHolder.h"
#include "recordings/ListPages.h"
#include "app/MainKeys.h"
#include "app/MainWindow.h"
#include "PostedBlock.h"
#include "PrivateMessages.h"
#include "playback/SnapshotFiles.h"
#include "StringIds.h"
#include "WaitCursor.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

extern HWND g_hMainWnd;

namespace {

const UINT_PTR kPositionTimer = 1;
const UINT kPositionMs = 750;
const UINT_PTR kNextFileTimer = 2;
const UINT kNextFileMs = 1000;
const UINT_PTR kMapTimer = 4;
const UINT kMapMs = 300;

// The record's start or end as hour, minute, second.
void StartOf(const FileRecord& r, int out[3])
{
    out[0] = r.startHour;
    out[1] = r.startMinute;
    out[2] = r.startSecond;
}
void EndOf(const FileRecord& r, int out[3])
{
    out[0] = r.endHour;
    out[1] = r.endMinute;
    out[2] = r.endSecond;
}

bool InRange(const std::vector<FileRecord>& records, int i)
{
    return i >= 0 && static_cast<size_t>(i) < records.size();
}

const std::vector<FileRecord>& NoRecords()
{
    static const std::vector<FileRecord> none;
    return none;
}

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

BEGIN_MESSAGE_TABLE(CDlgPlayBkCtrl, CDialog)
    OnMessage<&CDlgPlayBkCtrl::OnSize>(WM_SIZE),
    OnMessage<&CDlgPlayBkCtrl::OnTimer>(WM_TIMER),
    OnMessage<&CDlgPlayBkCtrl::OnClose>(WM_CLOSE),
    OnMessage<&CDlgPlayBkCtrl::OnDestroy>(WM_DESTROY),
    OnMessages<&CDlgPlayBkCtrl::OnCtlColor>(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC),
    OnMessage<&CDlgPlayBkCtrl::OnHScroll>(WM_HSCROLL),
    OnMessage<&CDlgPlayBkCtrl::OnChannelEnd>(WM_CHANNEL_END),
    OnMessage<&CDlgPlayBkCtrl::OnInfoFrame>(WM_INFO_FRAME),
    OnMessage<&CDlgPlayBkCtrl::OnStepFrame>(WM_STEP_FRAME),
    OnNotify<&CDlgPlayBkCtrl::OnPositionReleased>(NM_RELEASEDCAPTURE, IDC_POSITION_SLIDER),
    OnNotify<&CDlgPlayBkCtrl::OnVolumeReleased>(NM_RELEASEDCAPTURE, IDC_VOLUME_SLIDER),
    OnCommand<&CDlgPlayBkCtrl::Play>(IDC_PLAY, BN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::Pause>(IDC_PAUSE, BN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::OnStopButton>(IDC_STOP, BN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::Faster>(IDC_FASTER, BN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::Slower>(IDC_SLOWER, BN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::Rewind>(IDC_REWIND, BN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::PreviousFile>(IDC_PREVIOUS_FILE, BN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::NextFile>(IDC_NEXT_FILE, BN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::EnterFullScreen>(IDC_FULL_SCREEN, BN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::ToggleSidePanels>(IDC_SIDE_PANELS, BN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::OnSplit1>(IDC_BAR_SPLIT1, STN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::OnSplit4>(IDC_BAR_SPLIT4, STN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::OnSplit9>(IDC_BAR_SPLIT9, STN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::OnSplit16>(IDC_BAR_SPLIT16, STN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::CaptureSnapshot>(IDC_SNAPSHOT, STN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::OnCutToAvi>(IDC_CUT_AVI, STN_CLICKED),
    OnCommand<&CDlgPlayBkCtrl::ToggleSound>(IDC_SOUND, STN_CLICKED),
END_MESSAGE_TABLE()

CDlgPlayBkCtrl::CDlgPlayBkCtrl() : CDialog(IDD_PLAYBACK_CONTROL)
{
    for (int& i : channelIndex)
        i = -1;
    sidePanelPlacement.length = sizeof sidePanelPlacement;
    for (int i = 0; i < kCaptionCount; ++i)
        captions[i].TextModePreset(kCaptionStrings[i]);
}

CDlgPlayBkCtrl::~CDlgPlayBkCtrl()
{
    // Normally stopped when the page went; never leave the engine playing.
    if (decoder) {
        for (int k = 0; k < kSlots; ++k)
            engine->Stop(decoder, k);
        CloseDecoder();
    }
}

LanguageHolder* CDlgPlayBkCtrl::Language() const
{
    return language ? language : g_Settings.language;
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
    if (msg->message != WM_KEYDOWN)
        return FALSE;
    switch (CommandForKey(msg->wParam)) {
    case KeyCommand::PassOn:
        return FALSE;
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
    return TRUE;
}

CDlgFileList* CDlgPlayBkCtrl::FileList() const
{
    return page ? page->FileList() : nullptr;
}

const std::vector<FileRecord>& CDlgPlayBkCtrl::ShownRecords() const
{
    CDlgFileList* list = FileList();
    return list ? list->ShownRecords() : NoRecords();
}

int CDlgPlayBkCtrl::RecordsPerListPage() const
{
    CDlgFileList* list = FileList();
    return list ? list->RecordsPerPage() : RecordsPerPage(0);
}

void CDlgPlayBkCtrl::SelectListRow(int row, bool selected)
{
    CDlgFileList* list = FileList();
    HWND control = list ? list->ListControl() : nullptr;
    if (!control)
        return;
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    ::SendMessageW(control, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// --- Opening -------------------------------------------------------------

int CDlgPlayBkCtrl::ResolveSelection()
{
    records = &ShownRecords();
    if (restoreIndex) {
        currentIndex = savedIndex;
        restoreIndex = 0;
    }
    // Short records are skipped forwards, all in one go.
    const int index = FirstPlayableFrom(*records, currentIndex);
    if (index >= 0)
        currentIndex = index;
    return index;
}

void CDlgPlayBkCtrl::OpenSelection()
{
    WaitCursor wait;
    SetTimer(kMapTimer, kMapMs);
    highlightRows = 0;
    SelectListRow(-1, false);
    if (!OpenGroup() && !decoder)
        playState = kIdle;  // nothing plays: not reported as playing
}

bool CDlgPlayBkCtrl::OpenGroup()
{
    if (ResolveSelection() < 0) {
        UpdateListPage();
        return false;
    }
    if (!MatchChannelFiles())
        return false;

    int usable = 0;
    for (int k = 0; k < kSlots; ++k) {
        if (channelFound[k] && IsPlayableName(channelPath[k]))
            ++usable;
        else
            channelFound[k] = 0;
    }
    if (usable == 0)
        return false;

    savedIndex = currentIndex;
    g_Settings.totalTimeText = TotalTimeText(groupStart, groupEnd);
    for (int k = 0; k < kSlots; ++k) {
        const int pane = channelNumber[k] - 1;
        paneWindow[k] = page && pane >= 0 && pane < kPaneCount ? page->panes[pane].VideoWindow() : nullptr;
    }

    if (!OpenChannelFiles()) {
        StopAll();
        UpdateListPage();
        return false;
    }

    engine->GetFileInfo(decoder, &fileInfo);
    engine->SetInfoFrameCallBack(decoder, m_hWnd, InfoFrameCallback);
    engine->SetEndCallBack(decoder, m_hWnd, EndCallback);
    positionSlider.SetRange(0, static_cast<int>(fileInfo.durationMs));
    positionSlider.rangeMin = 0;
    positionSlider.rangeMax = static_cast<int>(fileInfo.durationMs);
    positionSlider.SetPos(0, true);
    positionSlider.position = 0;
    PlayAll();
    playState = kPlaying;
    if (soundOn) {
        engine->PlaySound(decoder, page ? page->selectedPane : 0);
        volumeSlider.SendMessage(TBM_SETPOS, TRUE, volume);
        engine->SetVolume(decoder, volume);
    }
    UpdateListPage();
    return true;
}

bool CDlgPlayBkCtrl::MatchChannelFiles()
{
    ChannelGroup group;
    const bool matched = ::MatchChannelFiles(*records, currentIndex, group);
    m_selectedSlot = -1;
    for (int k = 0; k < kSlots; ++k) {
        channelIndex[k] = group.channelIndex[k];
        channelFound[k] = group.channelFound[k];
        channelNumber[k] = k + 1;
        channelPath[k].clear();
        m_recordPath[k].clear();
        const int i = channelIndex[k];
        if (i >= 0) {
            const FileRecord& r = (*records)[static_cast<size_t>(i)];
            m_recordPath[k] = r.path;
            channelPath[k].assign(r.path, wcsnlen(r.path, 259));
            StartOf(r, slotStart[k]);
            EndOf(r, slotEnd[k]);
            if (i == currentIndex)
                m_selectedSlot = k;
        }
    }
    if (!matched)
        return false;
    const FileRecord& first = (*records)[static_cast<size_t>(group.earliest)];
    StartOf(first, groupStart);
    EndOf(first, groupEnd);
    return true;
}

bool CDlgPlayBkCtrl::OpenChannelFiles()
{
    engine->CreateDecoder(&decoder);
    if (!decoder) {
        // No handle: the engine would take every open of a null handle for
        // a success. Nothing is open.
        for (int k = 0; k < kSlots; ++k)
            if (channelFound[k]) {
                channelPath[k].clear();
                channelNumber[k] = -1;
                channelFound[k] = 0;
            }
        return false;
    }
    int opened = 0;
    for (int k = 0; k < kSlots; ++k) {
        if (channelPath[k].empty() || !channelFound[k])
            continue;
        const std::string path = CString(channelPath[k]).ToAnsi();
        if (engine->OpenFile(path.c_str(), paneWindow[k], k, decoder) != 0) {
            channelPath[k].clear();
            channelNumber[k] = -1;
            channelFound[k] = 0;
        } else {
            ++opened;
        }
    }
    return opened > 0;
}

void CDlgPlayBkCtrl::PlayAll()
{
    for (int k = 0; k < kSlots; ++k)
        if (!channelPath[k].empty() && channelFound[k])
            engine->Play(decoder, k);
    paused = 0;
    rateExponent = 0;
    g_Settings.playRate = 0;
    SetTimer(kPositionTimer, kPositionMs);
    ShowRate();
}

void CDlgPlayBkCtrl::UpdateListPage()
{
    CDlgFileList* list = FileList();
    if (!list)
        return;
    const int per = RecordsPerListPage();
    if (currentIndex >= 0) {
        list->selectedRow = currentIndex % per;
        list->groupPage = currentIndex / per + 1;
    }
    bool lastRow = false, firstRows = false;
    for (int k = 0; k < 4; ++k) {
        const int row = channelIndex[k] % per;  // an empty slot's -1 counts
        lastRow = lastRow || row == per - 1;
        firstRows = firstRows || row <= 2;
    }
    if (lastRow && firstRows) {
        if (list->selectedRow >= per - 3)
            list->groupPage += 1;
        highlightRows = 1;
    }
    list->HighlightPlayingRows();
}

// --- Rates ----------------------------------------------------------------

RateState CDlgPlayBkCtrl::RateStateNow() const
{
    RateState s;
    s.paused = paused;
    s.rateExponent = rateExponent;
    s.reverse = reverse;
    s.playState = playState;
    s.resyncPosition = resyncPosition;
    return s;
}

void CDlgPlayBkCtrl::SetRateState(const RateState& s)
{
    paused = s.paused;
    rateExponent = s.rateExponent;
    reverse = s.reverse;
    playState = s.playState;
    resyncPosition = s.resyncPosition;
}

void CDlgPlayBkCtrl::ApplyRate(const RateResult& r)
{
    for (const EngineStep& step : r.steps) {
        if (step.op == EngineStep::Pause) {
            engine->Pause(decoder, step.value);
        } else {
            engine->SetPlayRate(decoder, step.value, step.reverse);
        }
    }
    switch (r.label) {
    case RateLabel::Unchanged: break;
    case RateLabel::Forward: ShowRate(); break;
    case RateLabel::Reverse: ShowReverseRate(); break;
    case RateLabel::Paused: SetRateLabel(Language() ? Language()->Text(IDS_PAUSE) : CString(L"PAUSE")); break;
    }
    g_Settings.playRate = rateExponent;
}

void CDlgPlayBkCtrl::Play()
{
    if (!decoder) {
        if (page)
            page->PlaySelectedFile();
        return;
    }
    RunRateCommand(PlayCommand);
}

void CDlgPlayBkCtrl::RunRateCommand(RateResult (*command)(RateState&))
{
    if (!decoder)
        return;
    RateState s = RateStateNow();
    const RateResult r = command(s);
    SetRateState(s);
    ApplyRate(r);
}

void CDlgPlayBkCtrl::Pause()
{
    RunRateCommand(PauseCommand);
}

void CDlgPlayBkCtrl::Faster()
{
    RunRateCommand(FasterCommand);
}

void CDlgPlayBkCtrl::Slower()
{
    RunRateCommand(SlowerCommand);
}

void CDlgPlayBkCtrl::Rewind()
{
    RunRateCommand(RewindCommand);
}

void CDlgPlayBkCtrl::ShowRate()
{
    SetRateLabel(ForwardRateText(rateExponent));
}

void CDlgPlayBkCtrl::ShowReverseRate()
{
    SetRateLabel(ReverseRateText(rateExponent));
}

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

// --- Seeking and following the position ------------------------------------

void CDlgPlayBkCtrl::OnPositionReleased(Message&)
{
    if (decoder && positionSlider.m_hWnd) {
        engine->SetPlayTime(decoder, positionSlider.GetPos());
        resyncPosition = 1;
        Play();
    }
    positionSlider.dragging = 0;
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

LRESULT CDlgPlayBkCtrl::OnStepFrame(WPARAM, LPARAM)
{
    if (!decoder)
        return 0;
    engine->SetPlayTime(decoder, positionSlider.GetPos());
    engine->PlayOneByOne(decoder);
    playState = kPausedOrStepped;
    return 0;
}

void CDlgPlayBkCtrl::OnTimer(Message& m)
{
    switch (m.wParam) {
    case kPositionTimer:
        if (decoder) {
            int ms = 0;
            engine->GetPlayTime(decoder, &ms);
            if (!positionSlider.dragging) {
                positionSlider.SetPos(ms, true);
                positionSlider.Invalidate();
            }
            const std::wstring time = PlayTimeText(ms) + CString::FromAnsi(g_Settings.totalTimeText);
            SetTimeLabel(time.c_str());
        }
        break;
    case kNextFileTimer:
        KillTimer(kNextFileTimer);
        break;
    case kMapTimer:
        if (vehicle.PlaceOnMap())
            KillTimer(kMapTimer);
        break;
    default:
        m.handled = false;
        return;
    }
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
}

// --- Engine reports ------------------------------------------------------------

void CDlgPlayBkCtrl::OnInfoFrame(Message& m)
{
    // The copy is freed in every case, here.
    m.result = 0;
    std::unique_ptr<InfoFrame> frame = TakeBlock<InfoFrame>(m);
    if (!frame)
        return;
    const size_t length = m.wParam < sizeof(InfoFrame) ? m.wParam : sizeof(InfoFrame);
    vehicle.Show(reinterpret_cast<const uint8_t*>(frame.get()), length, resyncPosition);
}

bool CDlgPlayBkCtrl::RefreshGroupIndices()
{
    records = &ShownRecords();
    for (int k = 0; k < kSlots; ++k) {
        if (channelIndex[k] < 0)
            continue;
        const int i = FindRecordByPath(*records, m_recordPath[k], channelIndex[k]);
        if (i < 0)
            return false;
        channelIndex[k] = i;
    }
    if (m_selectedSlot >= 0 && channelIndex[m_selectedSlot] >= 0)
        savedIndex = channelIndex[m_selectedSlot];
    return true;
}

LRESULT CDlgPlayBkCtrl::OnChannelEnd(WPARAM wParam, LPARAM)
{
    // Reports of a group that was stopped were dropped with it; one that
    // comes without an open group has nothing to end.
    if (!decoder || wParam >= static_cast<WPARAM>(kSlots))
        return 0;
    if (!RefreshGroupIndices()) {
        // The list was searched again without this group's files.
        StopAll();
        return 0;
    }
    channelFound[wParam] = 0;
    const int candidate = ChooseSyncCandidate(*records, channelIndex, channelFound);
    if (candidate < 0) {
        NextFile();
        HighlightRows();
        return 0;
    }
    engine->SetSynChannel(decoder, candidate);
    engine->SetInfoFrameCallBack(decoder, m_hWnd, InfoFrameCallback);
    const int sync = engine->GetSynChannel(decoder);
    const int s = sync >= 0 && sync < kSlots ? channelIndex[sync] : -1;
    if (!InRange(*records, s))
        return 0;
    const FileRecord& r = (*records)[static_cast<size_t>(s)];
    StartOf(r, groupStart);
    EndOf(r, groupEnd);
    g_Settings.totalTimeText = TotalTimeText(groupStart, groupEnd);
    FileInfo info = {};
    engine->GetFileInfo(decoder, &info);
    positionSlider.SetRange(0, static_cast<int>(info.durationMs));
    positionSlider.rangeMax = static_cast<int>(info.durationMs);
    return 0;
}

void CDlgPlayBkCtrl::HighlightRows()
{
    if (!highlightRows)
        return;
    CDlgFileList* list = FileList();
    HWND control = list ? list->ListControl() : nullptr;
    const int per = RecordsPerListPage();
    SelectListRow(-1, false);
    for (int k = 0; k < kSlots; ++k) {
        if (channelIndex[k] < 0)
            continue;
        const int row = channelIndex[k] % per;
        if (row >= per - 3) {
            if (control)
                ::SetFocus(control);
            SelectListRow(row, true);
        }
    }
    for (int k = 0; k < 4; ++k)
        if (channelIndex[k] % per > 8)
            return;
    highlightRows = 0;
    for (int k = 0; k < kSlots; ++k)
        if (channelIndex[k] >= 0)
            SelectListRow(channelIndex[k] % per, true);
}

// --- Previous and next recording -----------------------------------------------

void CDlgPlayBkCtrl::PreviousFile()
{
    if (!RefreshGroupIndices()) {
        StopAll();
        return;
    }
    if (records->empty())
        return;
    int a = savedIndex;
    for (int i : channelIndex)
        if (i != -1 && i < a)
            a = i;
    StopAll();
    if (a - 1 >= 0 && static_cast<size_t>(a - 1) < records->size()) {
        savedIndex = a - 1;
        restoreIndex = 1;
        if (page)
            page->PlaySelectedFile();
    }
}

void CDlgPlayBkCtrl::NextFile()
{
    if (!RefreshGroupIndices()) {
        StopAll();
        return;
    }
    if (records->empty())
        return;
    int a = savedIndex;
    char trace[160];
    std::snprintf(trace, sizeof trace, "nTemp:%d ; ", a);
    std::string line = trace;
    for (int i : channelIndex) {
        if (i > a)
            a = i;
        std::snprintf(trace, sizeof trace, "%d ; ", a);
        line += trace;
    }
    ::OutputDebugStringA(line.c_str());
    StopAll();
    if (a + 1 >= 0 && static_cast<size_t>(a + 1) < records->size()) {
        savedIndex = a + 1;
        restoreIndex = 1;
        if (page)
            page->PlaySelectedFile();
        SetTimer(kNextFileTimer, kNextFileMs);
    }
}

// --- Stopping ---------------------------------------------------------------------

void CDlgPlayBkCtrl::StopAll()
{
    if (decoder) {
        WaitCursor wait;
        for (int k = 0; k < kSlots; ++k) {
            engine->Stop(decoder, k);
            channelIndex[k] = -1;
            channelFound[k] = 0;
        }
        paused = 0;
        CloseDecoder();
    }
    // The play threads are gone: what they reported before is of no use.
    DropQueuedReports();
    if (page)
        for (CDlgVideo& pane : page->panes)
            if (HWND video = pane.VideoWindow())
                ::InvalidateRect(video, nullptr, TRUE);
    SetRateLabel(Language() ? Language()->Text(IDS_STOP) : CString(L"STOP"));
    g_Settings.firstInfoSeen = 0;
    SetTimeLabel(L"00:00 / 00:00");
    for (int k = 0; k < kSlots; ++k) {
        channelNumber[k] = 0;
        channelPath[k].clear();
    }
    // The next group starts afresh on the map and in the GPS panel.
    vehicle.Stop();
    resyncPosition = 1;
}

void CDlgPlayBkCtrl::CloseDecoder()
{
    WaitCursor wait;
    if (decoder) {
        for (int k = 0; k < kSlots; ++k)
            engine->CloseFile(decoder, k);
        engine->EraseDecoder(decoder);
        decoder = nullptr;
    }
    if (reverse) {
        rateExponent = 0;
        reverse = 0;
    }
}

void CDlgPlayBkCtrl::DropQueuedReports()
{
    if (!m_hWnd)
        return;
    MSG msg;
    while (::PeekMessageW(&msg, m_hWnd, WM_CHANNEL_END, WM_INFO_FRAME, PM_REMOVE | PM_NOYIELD)) {
        if (msg.message == WM_INFO_FRAME) {
            Message m{msg.message, msg.wParam, msg.lParam};
            TakeBlock<InfoFrame>(m);
        }
    }
}

void CDlgPlayBkCtrl::OnStopButton()
{
    if (CDlgFileList* list = FileList()) {
        list->selectedPath.clear();
        SelectListRow(list->selectedRow, false);
        list->selectedRow = 0;
        if (HWND control = list->ListControl())
            ::InvalidateRect(control, nullptr, TRUE);
    }
    StopAll();
}

void CDlgPlayBkCtrl::OnClose(Message& m)
{
    StopAll();
    m.handled = false;
}

void CDlgPlayBkCtrl::OnDestroy(Message& m)
{
    if (playState >= kPlaying && playState <= kFast) {
        WaitCursor wait;
        paused = 0;
        positionSlider.SetPos(0, true);
        playState = kIdle;
        if (CExStatic& caption = captions[0]; caption.m_hWnd) {
            caption.SendMessage(WM_SETREDRAW, FALSE);
            if (LanguageHolder* lang = Language())
                caption.SetWindowText(lang->Text(IDS_PLAY).c_str());
            caption.SendMessage(WM_SETREDRAW, TRUE);
        }
        if (page)
            page->UpdatePaneInfo();
    }
    playState = kIdle;
    m.handled = false;
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
    if (!page || !page->m_hWnd || !g_hMainWnd)
        return;
    page->savedPlacement.length = sizeof page->savedPlacement;
    ::GetWindowPlacement(page->m_hWnd, &page->savedPlacement);
    RECT window = {}, client = {};
    ::GetWindowRect(g_hMainWnd, &window);
    ::GetClientRect(g_hMainWnd, &client);
    ::MapWindowPoints(g_hMainWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    page->fullScreenRect = FullScreenPageRect(window, client, ::GetSystemMetrics(SM_CYSIZE),
                                              ::GetSystemMetrics(SM_CXSCREEN));
    page->fullScreen = 1;
    if (g_Settings.mainDlg)
        g_Settings.mainDlg->HidePanelsForFullScreen();
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
        ::SetWindowPlacement(page->m_hWnd, &sidePanelPlacement);
        if (g_Settings.mainDlg)
            g_Settings.mainDlg->ShowSidePanels(true);
        return;
    }
    sidePanelHidden = 1;
    sidePanelPlacement.length = sizeof sidePanelPlacement;
    ::GetWindowPlacement(page->m_hWnd, &sidePanelPlacement);
    RECT client = {};
    if (g_hMainWnd)
        ::GetClientRect(g_hMainWnd, &client);
    sidePanelRect = SidePanelPageRect(client, g_Settings.windowsVersion);
    if (g_Settings.mainDlg)
        g_Settings.mainDlg->ShowSidePanels(false);
    WINDOWPLACEMENT placement = sidePanelPlacement;
    placement.showCmd = SW_SHOWNORMAL;
    placement.rcNormalPosition = sidePanelRect;
    ::SetWindowPlacement(page->m_hWnd, &placement);
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
        CaptureFrameInfo info = {};
        const std::string ansi = CString(name).ToAnsi();
        engine->CaptureBMP(decoder, channelNumber[k] - 1, ansi.c_str(), &info);
        // The engine also answers 0 when it had no picture to write.
        results.push_back({FileExists(name) ? SnapshotResult::Saved : SnapshotResult::Failed, name});
    }
    if (results.empty())
        return;
    LanguageHolder* lang = Language();
    auto text = [lang](int id) { return lang ? std::wstring(lang->Text(id)) : std::wstring(); };
    notice.ShowNotice(text(IDS_NOTICE),
                      SnapshotNoticeText(results, text(IDS_SNAPSHOT_SAVED), text(IDS_SNAPSHOT_FAILED),
                                         text(IDS_SNAPSHOT_NAME_TOO_LONG)),
                      SnapshotFolders(results), kNoticeSeconds);
}
