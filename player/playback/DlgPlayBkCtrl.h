// The playback control panel along the bottom of the playback page.
//
// Its engine-driving half turns the record chosen in the recording list
// into a recording group of up to eight channel files (slot k plays
// channel number k + 1 in pane k), opens them into one engine handle and
// plays, pauses, changes the rate, plays backwards, seeks, steps single
// frames, follows the play position, moves on when the channels end, steps
// to the previous or next recording, and stops. Engine callbacks arrive as
// posted messages (EngineCallbacks.h). Stopping waits for the engine's play
// threads, then drops the reports they queued before they ended: a report
// never reaches a later group.
//
// Its visible half, in ControlBar.cpp, is the control bar: the position
// and volume sliders, the bitmap buttons with their tool tips, the image
// labels for pane splits, snapshot, cut to AVI and sound, the rate and
// time labels, laid out for the panel's width (ControlBarLayout.h); the
// keys; the sound switch and volume; full screen and the side panels; the
// snapshot of the playing channels with its notice (SnapshotFiles.h,
// CDlgDelayNotiFy).
#pragma once

#include "Dialog.h"
#include "playback/DlgDelayNotiFy.h"
#include "playback/EngineApi.h"
#include "playback/EngineCallbacks.h"
#include "playback/PlaybackGroup.h"
#include "ExStatic.h"
#include "recordings/FileRecord.h"
#include "Gdi.h"
#include "ImageButton.h"
#include "playback/PlayRates.h"
#include "ProSliderCtrl.h"
#include "vehicle/VehicleDisplay.h"
#include "resource.h"

#include <string>
#include <vector>

class CDlgPlayBack;
class CDlgFileList;
class LanguageHolder;

class CDlgPlayBkCtrl : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    CDlgPlayBkCtrl();
    ~CDlgPlayBkCtrl() override;

    static const int kSlots = 8;

    // The page this panel belongs to, and the engine it drives; both set
    // before the window is created.
    CDlgPlayBack* page = nullptr;
    const EngineApi* engine = &OstrivelEngine();

    int paused = 0;
    LanguageHolder* language = nullptr;
    int currentIndex = 0;       // the record to open, in the list's shown records
    int resyncPosition = 1;
    int channelNumber[kSlots] = {};
    int groupStart[3] = {};     // hour, minute, second
    int groupEnd[3] = {};
    std::wstring channelPath[kSlots];
    int channelIndex[kSlots];   // -1: none
    int channelFound[kSlots] = {};
    HWND paneWindow[kSlots] = {};
    int highlightRows = 0;
    void* decoder = nullptr;    // the engine handle; null: nothing open
    int rateExponent = 0;
    int reverse = 0;
    int restoreIndex = 0;
    int savedIndex = 0;
    const std::vector<FileRecord>* records = nullptr;
    FileInfo fileInfo = {};
    int playState = kIdle;
    // The group as it plays: each slot's place on the group's time, the
    // slots that ended, the one that leads, the slider's span.
    PlaybackGroup group;
    // Where the engine's reports go, with the number of the group they
    // belong to.
    ReportSink reports;
    // The recording's picture interval (from its name) and whether it is a
    // camera's file: what the rate label's speeds are worked out for.
    int pictureMs = kPictureMs;
    bool cameraFile = false;
    // The times of each slot's own recording (hour, minute, second), for
    // the pane's cut to AVI.
    int slotStart[kSlots][3] = {};
    int slotEnd[kSlots][3] = {};

    // The control bar.
    static const int kButtonCount = 10;
    static const int kCaptionCount = 6;
    CBrush brush;               // the panel's background
    int bkScheme = 0;           // the colour scheme at start (1: dark)
    int soundOn = 1;
    unsigned short volume = 0xFFFF;
    int sidePanelHidden = 0;
    WINDOWPLACEMENT sidePanelPlacement = {};  // the page's, while the side panels are hidden
    RECT sidePanelRect = {};
    CDlgDelayNotiFy notice;

    CProSliderCtrl positionSlider;
    CWnd volumeSlider;
    CExStatic captions[kCaptionCount];  // 225, 226, 227, 228, 216, 217
    CImageButton buttons[kButtonCount]; // 219, 232, 220, 221, 222, 223, 224, 218, 233, 234
    CExStatic splitStatics[4];          // one, four, nine, sixteen panes
    CExStatic snapshotStatic;
    CExStatic cutAviStatic;
    CExStatic soundStatic;

    // What the information frames show: the GPS panel, the charts, the map.
    VehicleDisplay vehicle;

    // Opens the group of the record at currentIndex (or the one remembered
    // for a previous/next step) and plays it.
    void OpenSelection();
    // The record OpenSelection will open: applies a pending restore, then
    // skips short records forwards. -1 when there is none.
    int ResolveSelection();
    void Play();
    void Pause();
    void Faster();
    void Slower();
    void Rewind();
    void PreviousFile();
    void NextFile();
    void StopAll();
    // The playback command of a WM_KEYDOWN key (MainKeys.h), run: Space,
    // the arrows, Escape; false for a key that is not ours.
    bool RunKey(WPARAM key);
    // StopAll for another group that opens at once: the rate label is left
    // to that group.
    void StopBeforeAnotherGroup();
    // The volume slider shows `volume`, which the engine plays at (0 with
    // the sound off).
    void ApplyVolume();
    // A BMP file of the picture of every playing channel among slots 0-3,
    // beside its recording; the notice lists each file saved or not.
    void CaptureSnapshot();
    // The buttons' tool tips in the current language.
    void RelabelButtons();
    // Full screen: the page over the main window, the other panels hidden.
    void EnterFullScreen();
    // The side panels hidden with the page over their room, or back.
    void ToggleSidePanels();
    void ToggleSound();

    // The files of the group that plays (the slots whose file is open);
    // none when nothing plays.
    std::vector<std::wstring> PlayingPaths() const;

    // The recording list's shown records (empty without the list).
    const std::vector<FileRecord>& ShownRecords() const;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    void PresetCaptions();
    void OnSize(Message& m);
    void OnCtlColor(Message& m);
    void OnHScroll(Message& m);
    void OnSplit1();
    void OnSplit4();
    void OnSplit9();
    void OnSplit16();
    void SetPaneCount(int n);
    void OnCutToAvi();
    void ApplyVolumeFromSlider();
    LanguageHolder* Language() const;
    void OnTimer(Message& m);
    void OnClose(Message& m);
    void OnDestroy(Message& m);
    LRESULT OnChannelEnd(WPARAM wParam, LPARAM);
    void OnInfoFrame(Message& m);
    LRESULT OnStepFrame(WPARAM, LPARAM);
    void OnPositionReleased(Message& m);
    void OnVolumeReleased(Message& m);
    void OnStopButton();

    CDlgFileList* FileList() const;
    // The previous/next step's start: the group's records found again
    // (false, and stopped, when one is gone); false with no records.
    bool StepReady();
    // Stops and opens the group of record index, or only stops where there
    // is none; true when it moved on.
    bool MoveToGroupAt(int index);
    // OpenSelection's work; false when nothing was opened.
    bool OpenGroup();
    bool MatchChannelFiles();
    bool OpenChannelFiles();
    void PlayAll();
    // StopAll's work but the rate label.
    void CloseGroup();
    void ShowStopped();  // the rate label says STOP
    void CloseDecoder();
    void DropQueuedReports();
    void UpdateListPage();
    void HighlightRows();
    // Finds each slot's record again by its path; false when one is gone.
    bool RefreshGroupIndices();
    // The group's times read from the engine: each open slot's first and
    // last picture; the engine syncs as before.
    void ReadGroupTimes();
    // The engine's reports from now on belong to a new group number; those
    // made before are dropped when they come.
    void NewReportGroup();
    // The slots that ended play again (from their start; a seek follows).
    void Replay(const std::vector<int>& slots);
    // `slot` leads: the engine syncs on it and hands its information on.
    void Lead(int slot);
    // Backwards at the start: held there, paused, every slot at its start.
    void HoldAtStart(const EndStep& step);
    // A seek to `ms` of the group's time, every channel with a picture
    // there playing.
    void SeekTo(int ms);
    void ApplyRate(const RateResult& r);
    // A rate command on the rate state as it is now, applied to the engine.
    void RunRateCommand(RateResult (*command)(RateState&));
    void ShowRate();
    void ShowReverseRate();
    void SetRateLabel(const std::wstring& text);
    void SetTimeLabel(const wchar_t* text);
    int RecordsPerListPage() const;
    void SelectListRow(int row, bool selected);

    RateState RateStateNow() const;
    void SetRateState(const RateState& s);

    CFont m_timeFont;

    int m_selectedSlot = -1;  // the slot of the record the user chose
    // The path of each slot's record as matched (kept when its open
    // failed), to find the records again after the list changed.
    std::wstring m_recordPath[kSlots];
};
