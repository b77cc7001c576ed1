// One video pane of the playback page: a framed host for the window the
// engine draws one channel into (a CVideoStatic until a picture covers
// it). It reports clicks to the page, shows in its frame whether it is the
// selected pane (red) or not (blue), and offers "Cut and Turn to AVI" for
// the file it plays.
#pragma once

#include "playback/AviSource.h"
#include "Dialog.h"
#include "playback/DlgVideoFlag.h"
#include "Gdi.h"
#include "VideoStatic.h"
#include "resource.h"

class CDlgVideo : public CDialog, public CVideoChannelSource {
    DECLARE_MESSAGE_TABLE()

public:
    CDlgVideo();

    int selected = 0;
    int paneIndex = -1;  // 0-7, set by the page right after creating the pane
    CVideoStatic videoWindow;
    CDlgVideoFlag flag;

    // Stores the flag and draws the frame.
    void SetSelected(int selected);
    HWND VideoWindow() const { return videoWindow.m_hWnd; }
    // What "Cut and Turn to AVI" hands the AVI dialog: the file this pane
    // plays, with the times of its own recording; false when it plays none.
    bool CutSource(AviSource& out) const;
    int VideoChannelIndex() const override { return paneIndex < 0 ? 0 : paneIndex; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    void OnPaint();
    void OnSize(Message& m);
    void OnLButtonDown(Message& m);
    void OnLButtonDblClk(Message& m);
    void OnRButtonDown(Message& m);
    void OnCtlColor(Message& m);
    void OnCutToAvi(Message& m);
    void DrawFrame();

    CBrush m_brush;
};
