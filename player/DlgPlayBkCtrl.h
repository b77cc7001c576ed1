// The playback control panel at the bottom of the playback page. Here: the
// commands the main dialog's keys drive and the state they read.
#pragma once

#include "Dialog.h"
#include "resource.h"

class CDlgPlayBkCtrl : public CDialog {
public:
    CDlgPlayBkCtrl() : CDialog(IDD_PLAYBACK_CONTROL) {}
    int paused = 0;
    int rate = 0;             // play-rate exponent, -8..8
    int sidePanelsHidden = 0; // the panel sizes the page itself then
    int nextFileRequests = 0;
    // The playing group as the recording list reads it: per channel slot
    // the index of its file in the list's shown records and whether it has
    // one; set when the group's rows cross the end of a page. The list
    // writes currentIndex, the record last clicked.
    int channelIndex[8] = {};
    int channelFound[8] = {};
    int highlightRows = 0;
    int currentIndex = 0;

    void Play() { paused = 0; }
    void Pause() { paused = 1; }
    void Faster();
    void Slower();
    void NextFile() { ++nextFileRequests; }
    void Snapshot() {}
    void UpdateToolTips() {}
};
