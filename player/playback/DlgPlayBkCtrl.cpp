#include "playback/DlgPlayBkCtrl.h"

#include "AppSettings.h"
#include "AnsiPath.h"
#include "playback/ChannelMatching.h"
#include "playback/ControlBarLayout.h"
#include "DataExchange.h"
#include "recordings/DlgFileList.h"
#include "playback/DlgPlayBack.h"
#include "playback/EngineCallbacks.h"
#include "FileExists.h"
#include "LanguageHolder.h"
#include "recordings/ListPages.h"
#include "recordings/UnreachablePath.h"
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
    PresetCaptions();
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

CDlgFileList* CDlgPlayBkCtrl::FileList() const
{
    return page ? page->FileList() : nullptr;
}

const std::vector<FileRecord>& CDlgPlayBkCtrl::ShownRecords() const
{
    CDlgFileList* list = FileList();
    return list ? list->ShownRecords() : NoRecords();
}

std::vector<std::wstring> CDlgPlayBkCtrl::PlayingPaths() const
{
    std::vector<std::wstring> paths;
    if (!decoder)
        return paths;
    for (int k = 0; k < kSlots; ++k)
        if (!channelPath[k].empty() && !m_recordPath[k].empty())
            paths.push_back(m_recordPath[k]);
    return paths;
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
    if (!OpenGroup() && !decoder) {
        playState = kIdle;  // nothing plays: not reported as playing
        ShowStopped();
    }
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
    // The group ends when its last channel does.
    for (int k = 0; k < kSlots; ++k)
        if (channelFound[k]) {
            const int end = slotEnd[k][0] * 3600 + slotEnd[k][1] * 60 + slotEnd[k][2];
            if (end > groupEnd[0] * 3600 + groupEnd[1] * 60 + groupEnd[2])
                for (int i = 0; i < 3; ++i)
                    groupEnd[i] = slotEnd[k][i];
        }
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
    ReadGroupTimes();
    NewReportGroup();
    engine->SetInfoFrameCallBack(decoder, &reports, InfoFrameCallback);
    engine->SetEndCallBack(decoder, &reports, EndCallback);
    positionSlider.SetRange(0, group.spanMs);
    positionSlider.rangeMin = 0;
    positionSlider.rangeMax = group.spanMs;
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

void CDlgPlayBkCtrl::ReadGroupTimes()
{
    // Each slot's place from its recording's times, to the second; the
    // slot the engine syncs on at the open starts first, and its file's own
    // length counts too (a name may promise more than the file holds, or
    // less).
    bool open[kSlots] = {};
    uint64_t first[kSlots] = {}, last[kSlots] = {};
    int leadEnd[kSlots] = {};
    const int start = groupStart[0] * 3600 + groupStart[1] * 60 + groupStart[2];
    for (int k = 0; k < kSlots; ++k) {
        const int i = channelIndex[k];
        open[k] = channelFound[k] && !channelPath[k].empty() && InRange(*records, i);
        if (!open[k])
            continue;
        const FileRecord& r = (*records)[static_cast<size_t>(i)];
        const int from = StartSeconds(r) - start, to = EndSeconds(r) - start;
        first[k] = uint64_t(from > 0 ? from : 0) * 1000000u;
        last[k] = uint64_t(to > from ? to : from) * 1000000u;
        leadEnd[k] = LeadEndSeconds(r);
    }
    const int sync = engine->GetSynChannel(decoder);
    if (sync >= 0 && sync < kSlots && open[sync]) {
        const uint64_t own = first[sync] + uint64_t(fileInfo.durationMs) * 1000u;
        if (own > last[sync])
            last[sync] = own;
    }
    group = MakeGroup(open, first, last, leadEnd);
    if (sync >= 0 && sync < kSlots && open[sync])
        group.sync = sync;  // the engine's choice among equal starts
    // The label's speeds: the selected recording's picture rate.
    pictureMs = InRange(*records, currentIndex) ? PictureMsOfName((*records)[size_t(currentIndex)].name) : kPictureMs;
    cameraFile = fileInfo.magic[0] == 'I';
}

void CDlgPlayBkCtrl::NewReportGroup()
{
    reports.window = m_hWnd;
    reports.Next();
}

void CDlgPlayBkCtrl::Replay(const std::vector<int>& slots)
{
    if (slots.empty())
        return;
    for (int k : slots) {
        engine->Play(decoder, k);
        channelFound[k] = 1;
    }
    // A channel started again has its sound off.
    if (soundOn) {
        engine->PlaySound(decoder, page ? page->selectedPane : 0);
        engine->SetVolume(decoder, volume);
    }
}

void CDlgPlayBkCtrl::Lead(int slot)
{
    if (slot < 0)
        return;
    engine->SetSynChannel(decoder, slot);
    // The callback lives on the sync channel only.
    engine->SetInfoFrameCallBack(decoder, &reports, InfoFrameCallback);
}

void CDlgPlayBkCtrl::HoldAtStart(const EndStep& step)
{
    // Paused, forwards from the start: nothing the engine reported while
    // going back holds any more.
    RunRateCommand(PauseCommand);
    NewReportGroup();
    engine->SetPlayRate(decoder, 0, 0);
    reverse = 0;
    rateExponent = 0;
    g_Settings.playRate = 0;
    // The lead first: the channels started again follow it. Started again,
    // every channel plays forwards and counts as playing; paused at once,
    // each shows its first picture.
    Lead(step.sync);
    Replay(step.replay);
    engine->Pause(decoder, 1);
    engine->SetPlayTime(decoder, 0);
    resyncPosition = 1;
    if (positionSlider.m_hWnd && !positionSlider.dragging)
        positionSlider.SetPos(0, true);
}

void CDlgPlayBkCtrl::SeekTo(int ms)
{
    const SeekStep step = Seek(group, ms);
    NewReportGroup();
    // A channel started again backwards would be at its start at once.
    if (reverse && !step.replay.empty())
        engine->SetPlayRate(decoder, 0, 0);
    Replay(step.replay);
    engine->SetPlayTime(decoder, ms);
    if (step.changed || !step.replay.empty())
        Lead(step.sync);
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
    std::vector<std::wstring> unreachable;
    for (int k = 0; k < kSlots; ++k) {
        if (channelPath[k].empty() || !channelFound[k])
            continue;
        std::string path;
        const bool spelt = AnsiPath(channelPath[k], path);
        if (!spelt)
            unreachable.push_back(channelPath[k]);
        if (!spelt || engine->OpenFile(path.c_str(), paneWindow[k], k, decoder) != 0) {
            channelPath[k].clear();
            channelNumber[k] = -1;
            channelFound[k] = 0;
        } else {
            ++opened;
        }
    }
    ShowUnreachablePaths(::GetAncestor(m_hWnd, GA_ROOT), unreachable);
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
    const RateState s = RateStateNow();
    RateState changed = s;
    const RateResult r = command(changed);
    SetRateState(changed);
    ApplyRate(r);
    // Ends reported in the other direction are no ends in this one.
    if (reverse != s.reverse)
        NewReportGroup();
    if (!reverse)
        for (GroupSlot& slot : group.slots)
            slot.atStart = false;
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
    SetRateLabel(ForwardRateText(rateExponent, pictureMs, cameraFile));
}

void CDlgPlayBkCtrl::ShowReverseRate()
{
    SetRateLabel(ReverseRateText(rateExponent));
}

// --- Seeking and following the position ------------------------------------

void CDlgPlayBkCtrl::OnPositionReleased(Message&)
{
    if (decoder && positionSlider.m_hWnd) {
        SeekTo(positionSlider.GetPos());
        resyncPosition = 1;
        Play();
    }
    positionSlider.dragging = 0;
}

LRESULT CDlgPlayBkCtrl::OnStepFrame(WPARAM, LPARAM)
{
    if (!decoder)
        return 0;
    SeekTo(positionSlider.GetPos());
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
    std::unique_ptr<InfoReport> frame = TakeBlock<InfoReport>(m);
    WPARAM length = m.wParam;
    // Frames queued right behind this one, with nothing else of this
    // window's between them, come together: the newest wins and the others
    // are dropped (a chart skips their samples). A window that fell behind
    // works its queue off at once instead of drawing every frame it missed.
    MSG next;
    while (::PeekMessageW(&next, m_hWnd, 0, 0, PM_NOREMOVE | PM_NOYIELD) && next.message == WM_INFO_FRAME &&
           ::PeekMessageW(&next, m_hWnd, WM_INFO_FRAME, WM_INFO_FRAME, PM_REMOVE | PM_NOYIELD)) {
        Message newer{next.message, next.wParam, next.lParam};
        std::unique_ptr<InfoReport> taken = TakeBlock<InfoReport>(newer);
        if (taken && taken->group == reports.Current()) {
            frame = std::move(taken);
            length = next.wParam;
        }
    }
    // A frame of another group, or of this one before a seek or the hold
    // at the start, shows a place the group is no longer at.
    if (!frame || frame->group != reports.Current())
        return;
    vehicle.Show(reinterpret_cast<const uint8_t*>(&frame->frame), length < sizeof(InfoFrame) ? length : sizeof(InfoFrame),
                 resyncPosition);
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

LRESULT CDlgPlayBkCtrl::OnChannelEnd(WPARAM wParam, LPARAM lParam)
{
    // An end of another group, or of this one before a seek, a turn of
    // direction or the hold at the start, is no end any more; one that
    // comes without an open group has nothing to end.
    if (!decoder || wParam >= static_cast<WPARAM>(kSlots) || static_cast<uint32_t>(lParam) != reports.Current())
        return 0;
    if (!RefreshGroupIndices()) {
        // The list was searched again without this group's files.
        StopAll();
        return 0;
    }
    const int k = static_cast<int>(wParam);
    if (reverse) {
        // Backwards into the start: the group holds there, paused on its
        // first pictures, and PLAY goes on forwards from it.
        const EndStep step = EndBackward(group, k, paused != 0);
        if (step.kind == EndStep::HoldAtStart)
            HoldAtStart(step);
        else if (step.kind == EndStep::Lead)
            Lead(step.sync);
        return 0;
    }
    channelFound[k] = 0;
    // Where the file really ended, whatever its name said.
    int ms = 0;
    if (engine->GetPlayTime(decoder, &ms) == 0 && ms > 0 && ms < group.slots[k].endMs)
        group.slots[k].endMs = ms;
    const EndStep step = EndForward(group, k);
    if (step.kind == EndStep::NextGroup) {
        NextFile();
        HighlightRows();
        return 0;
    }
    // The group's time, its span and its total go on as they were.
    Lead(step.sync);
    return 0;
}

void CDlgPlayBkCtrl::HighlightRows()
{
    highlightRows = 0;
    if (CDlgFileList* list = FileList())
        list->HighlightPlayingRows();
}

// --- Previous and next recording -----------------------------------------------

bool CDlgPlayBkCtrl::StepReady()
{
    if (!RefreshGroupIndices()) {
        StopAll();
        return false;
    }
    return !records->empty();
}

bool CDlgPlayBkCtrl::MoveToGroupAt(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= records->size()) {
        StopAll();
        return false;
    }
    StopBeforeAnotherGroup();
    savedIndex = index;
    restoreIndex = 1;
    if (page)
        page->PlaySelectedFile();
    if (!decoder)
        ShowStopped();
    return true;
}

void CDlgPlayBkCtrl::PreviousFile()
{
    if (!StepReady())
        return;
    int a = savedIndex;
    for (int i : channelIndex)
        if (i != -1 && i < a)
            a = i;
    MoveToGroupAt(a - 1);
}

void CDlgPlayBkCtrl::NextFile()
{
    if (!StepReady())
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
    if (MoveToGroupAt(a + 1))
        SetTimer(kNextFileTimer, kNextFileMs);
}

// --- Stopping ---------------------------------------------------------------------

void CDlgPlayBkCtrl::StopAll()
{
    CloseGroup();
    ShowStopped();
}

void CDlgPlayBkCtrl::ShowStopped()
{
    SetRateLabel(Language() ? Language()->Text(IDS_STOP) : CString(L"STOP"));
}

void CDlgPlayBkCtrl::StopBeforeAnotherGroup()
{
    // The rate label keeps its text until the next group shows its own
    // (or says STOP when none opens).
    CloseGroup();
}

void CDlgPlayBkCtrl::CloseGroup()
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
    g_Settings.firstInfoSeen = 0;
    SetTimeLabel(L"00:00 / 00:00");
    if (positionSlider.m_hWnd) {
        positionSlider.SetPos(0, true);
        positionSlider.position = 0;
    }
    for (int k = 0; k < kSlots; ++k) {
        channelNumber[k] = 0;
        channelPath[k].clear();
    }
    // The next group starts afresh on the map and in the GPS panel.
    vehicle.Stop();
    resyncPosition = 1;
    HighlightRows();
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
    // Their group number drops them too when they come; this frees the
    // frames' copies now.
    MSG msg;
    while (::PeekMessageW(&msg, m_hWnd, WM_CHANNEL_END, WM_CHANNEL_END, PM_REMOVE | PM_NOYIELD)) {
    }
    while (::PeekMessageW(&msg, m_hWnd, WM_INFO_FRAME, WM_INFO_FRAME, PM_REMOVE | PM_NOYIELD)) {
        Message m{msg.message, msg.wParam, msg.lParam};
        TakeBlock<InfoReport>(m);
    }
}

void CDlgPlayBkCtrl::OnStopButton()
{
    if (CDlgFileList* list = FileList()) {
        list->selectedPath.clear();
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
