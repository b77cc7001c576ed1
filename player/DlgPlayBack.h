// The playback page in the middle of the main dialog: the video panes and,
// along its bottom, the playback control panel.
#pragma once

#include "DlgPlayBkCtrl.h"

class LanguageHolder;

class CDlgPlayBack : public CDialog {
public:
    CDlgPlayBack() : CDialog(232) {}
    CDlgPlayBkCtrl controlPanel;
    LanguageHolder* language = nullptr;
    int paneCount = 4;
    int fullScreen = 0;
    int selectedPane = 0;

    void LayoutPanes();
    void LeaveFullScreen() { fullScreen = 0; }

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
