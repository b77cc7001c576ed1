// CTORQUELIANDlg: the player's one top-level window. It owns every panel,
// lays them out by proportions of the screen width and the client height,
// paints its own black caption with close and minimise buttons
// (MainDialogCaption.cpp), turns a few keys into playback commands
// (MainKeys.h) and chooses the language after start-up.
#pragma once

#include "playback/AboutDlg.h"
#include "Dialog.h"
#include "recordings/DlgFileList.h"
#include "vehicle/DlgMap.h"
#include "playback/DlgPlayBack.h"
#include "recordings/DlgSearchPannel.h"
#include "vehicle/DlgSpeedometer.h"
#include "ExStatic.h"
#include "Gdi.h"
#include "GdiplusSession.h"
#include "app/MainWindow.h"
#include "PrivateMessages.h"
#include "vehicle/ScopeDlg.h"
#include "vehicle/ScopeMenu.h"

class LanguageHolder;
class CCommandLineInfo;

extern HWND g_hMainWnd;

class CTORQUELIANDlg : public CDialog, public IMainWindow {
    DECLARE_MESSAGE_TABLE()

public:
    CTORQUELIANDlg();
    ~CTORQUELIANDlg() override;

    // First member: GDI+ must outlive every image of the panels below.
    CGdiplusSession gdiplus;
    CBrush backgroundBrush;
    HICON icon = nullptr;
    CSpeedometer gpsPanel;
    CExStatic button210, button234, button235, button236, button230;
    CDlgMap mapPane;
    CDlgPlayBack playbackPage;
    LanguageHolder* language = nullptr;
    CScopeDlg scopePanel;
    CScopeMenu legendBar;
    CExStatic button231;
    CWnd streamInfo;
    CDlgSearchPannel searchPanel;
    CDlgFileList fileList;
    RECT closeRect = {}, minimiseRect = {};
    int windowsVersion = 2;
    int textsReady = 0;
    // The screen width the panels were last laid out for.
    int layoutWidth = 0;
    CFont streamFont;

    void UpdateTexts() override;
    void ToggleMap() override;
    void LoadLanguageImages() override;
    void ApplyTrackColour() override;
    void ShowStreamInfo(const std::wstring& text) override;
    void ApplyScreenLayout() override;
    void ShowSearchRoot(const std::wstring& path) override;
    void PaintCaption(HDC windowDc);
    void LayoutPanels();
    // The panels for a screen this wide (LayoutPanels takes the real one's).
    void LayoutPanelsFor(int screenWidth);
    void ApplyStartupLanguage();
    void SetSplitCount(int n);
    // A recording's path as the first argument becomes the search root and
    // the list's selected path, and starts a search.
    void ApplyCommandLine(const CCommandLineInfo& cmd);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnSysCommand(Message& m);
    void OnPaint(Message& m);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    void OnSize(Message& m);
    void OnSplit1() { SetSplitCount(1); }
    void OnSplit4() { SetSplitCount(4); }
    void OnSplit9() { SetSplitCount(9); }
    void OnSplit16() { SetSplitCount(16); }
    void OnSnapshot();
    void OnCutToAvi();
    void OnCtlColor(Message& m);
    void OnDrawItem(Message& m);
    void OnTimer(Message& m);
    void OnNcMouseMove(Message& m);
    void OnNcLButtonDown(Message& m);
    void OnRepaintCaption();
    void RepaintCaptionNow();
    void DrawCaptionButton(HDC dc, const RECT& screenRect, int bitmapId);
    void FormatStreamInfo();
    void KeepControlsPaintingInside();
    CExStatic* ToolButtons(int i);
};
