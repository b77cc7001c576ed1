// The playback control panel along the bottom of the playback page. This
// is its engine-driving half: it turns the record chosen in the recording
// list into a recording group of up to eight channel files (slot k plays
// channel number k + 1 in pane k), opens them into one engine handle and
// plays, pauses, changes the rate, plays backwards, seeks, steps single
// frames, follows the play position, moves on when the channels end, steps
// to the previous or next recording, and stops.
//
// Engine callbacks arrive as posted messages (EngineCallbacks.h). Stopping
// waits for the engine's play threads, then drops the reports they queued
// before they ended: a report never reaches a later group.
#pragma once

#include "Dialog.h"
#include "EngineApi.h"
#include "FileRecord.h"
#include "PlayRates.h"
#include "VehicleDisplay.h"
#include "resource.h"

#include <string>
#include <vector>

class CDlgPlayBack;
class CDlgFileList;
class LanguageHolder;

// The position slider until the program's own slider control is in: a
// trackbar whose range and position are set with 32-bit messages, with the
// fields the panel reads and writes.
class CPositionSlider : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    int rangeMin = 0;
    int rangeMax = 0;
    int position = 0;  // the played part's fill
    int dragging = 0;  // the left button is held on the slider

    void SetRange(int low, int high);
    int GetPos() const;
    void SetPos(int ms, bool redraw);
    int RangeMax() const;

private:
    void OnLButtonDown(Message& m);
};

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
    // The times of each slot's own recording (hour, minute, second), for
    // the pane's cut to AVI.
    int slotStart[kSlots][3] = {};
    int slotEnd[kSlots][3] = {};

    int soundOn = 1;
    unsigned short volume = 0xFFFF;
    int sidePanelsHidden = 0;

    // What the information frames show: the GPS panel, the charts, the map.
    VehicleDisplay vehicle;

    CPositionSlider positionSlider;
    CWnd volumeSlider;

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
    void ApplyVolume();
    // The control bar's snapshot and tool tips (not built yet).
    void Snapshot() {}
    void UpdateToolTips() {}

    // The recording list's shown records (empty without the list).
    const std::vector<FileRecord>& ShownRecords() const;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    void OnSize(Message& m);
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
    // OpenSelection's work; false when nothing was opened.
    bool OpenGroup();
    bool MatchChannelFiles();
    bool OpenChannelFiles();
    void PlayAll();
    void CloseDecoder();
    void DropQueuedReports();
    void UpdateListPage();
    void HighlightRows();
    // Finds each slot's record again by its path; false when one is gone.
    bool RefreshGroupIndices();
    void ApplyRate(const RateResult& r);
    void ShowRate();
    void ShowReverseRate();
    void SetRateLabel(const std::wstring& text);
    void SetTimeLabel(const wchar_t* text);
    int RecordsPerListPage() const;
    void SelectListRow(int row, bool selected);

    RateState RateStateNow() const;
    void SetRateState(const RateState& s);

    int m_selectedSlot = -1;  // the slot of the record the user chose
    // The path of each slot's record as matched (kept when its open
    // failed), to find the records again after the list changed.
    std::wstring m_recordPath[kSlots];
};
