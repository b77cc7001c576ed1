// The playback page in the middle of the main dialog: the video panes and,
// along its bottom, the playback control panel.
#pragma once

#include "DlgPlayBkCtrl.h"
#include "resource.h"

class LanguageHolder;

class CDlgPlayBack : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    CDlgPlayBack() : CDialog(IDD_PLAYBACK) {}
    CDlgPlayBkCtrl controlPanel;
    LanguageHolder* language = nullptr;
    int paneCount = 4;
    int fullScreen = 0;
    int selectedPane = 0;

    void LayoutPanes();
    // Plays the recording list's selected path with its companion channel
    // files (here: counted, until the playback is built).
    void PlaySelectedFile() { ++playRequests; }
    int playRequests = 0;
    void LeaveFullScreen() { fullScreen = 0; }

protected:
    BOOL OnInitDialog() override;

private:
    void OnSize(Message& m);
};
