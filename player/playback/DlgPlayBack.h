// The playback page in the middle of the main dialog: eight video panes in
// 1, 4, 9 or 16 cells and, along its bottom, the playback control panel.
// It starts playing the record chosen in the recording list (the control
// panel matches and opens the group), tracks the selected pane, shows its
// stream information in the main window and owns the full-screen state.
#pragma once

#include "playback/DlgPlayBkCtrl.h"
#include "playback/DlgVideo.h"
#include "playback/PaneLayout.h"
#include "resource.h"

class LanguageHolder;
class CDlgFileList;

class CDlgPlayBack : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    CDlgPlayBack();
    // The window goes first: its destruction stops the engine, which the
    // members below still serve.
    ~CDlgPlayBack() override;

    int paneCount = 9;
    int previousPaneCount = 1;
    CDlgVideo panes[kPaneCount];
    CDlgPlayBkCtrl controlPanel;
    int selectedPane = 0;
    LanguageHolder* language = nullptr;
    WINDOWPLACEMENT savedPlacement = {};
    int fullScreen = 0;
    RECT fullScreenRect = {};

    // Plays the record the recording list chose, with its channel group.
    void PlaySelectedFile();
    // The highest channel number to lay out for the file at path: the
    // selected pane's, or that of a recording file of its folder.
    int FindChannelFiles(const std::wstring& path) const;
    void OpenFileGroup(int highest);
    void LayoutPanes();
    // The selected pane's stream information into the main window's box.
    void UpdatePaneInfo();
    void LeaveFullScreen();
    // "Cut and Turn to AVI" through the selected pane's own command.
    void CutSelectedPaneToAvi();

    CDlgFileList* FileList() const;

protected:
    BOOL OnInitDialog() override;

private:
    void OnPaneClicked(Message& m);
    void OnPaneDoubleClicked(Message& m);
    void OnPanelEvent(Message& m);
    void OnSize(Message& m);
    void OnGetMinMaxInfo(Message& m);
    void OnPaint();
    void OnDestroy(Message& m);
};
