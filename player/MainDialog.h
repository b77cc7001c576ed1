// CTORQUELIANDlg: the player's one top-level window. It owns every panel,
// lays them out by proportions of the screen width and the client height,
// paints its own black caption with close and minimise buttons, turns a few
// keys into playback commands and chooses the language after start-up.
#pragma once

#include "AboutDlg.h"
#include "Dialog.h"
#include "DlgFileList.h"
#include "DlgMap.h"
#include "DlgPlayBack.h"
#include "DlgSearchPannel.h"
#include "DlgSpeedometer.h"
#include "ExStatic.h"
#include "Gdi.h"
#include "GdiplusSession.h"
#include "ScopeDlg.h"
#include "ScopeMenu.h"

class LanguageHolder;
class CCommandLineInfo;

const UINT WM_REPAINT_CAPTION = 0x3406;
extern HWND g_hMainWnd;

class CTORQUELIANDlg : public CDialog {
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
    CFont streamFont;

    void UpdateTexts();
    void PaintCaption(HDC windowDc);
    void LayoutPanels();
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
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;
    bool OnDrawItem(int id, DRAWITEMSTRUCT* item) override;
    void OnTimer(UINT_PTR id) override;

private:
    void OnNcMouseMove(WPARAM hit, LPARAM point);
    void OnNcLButtonDown(WPARAM hit, LPARAM point);
    void DrawCaptionButton(HDC dc, const RECT& screenRect, int bitmapId);
    void FormatStreamInfo();
    CExStatic* ToolButtons(int i);
};
