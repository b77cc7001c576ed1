// The two About boxes, both on the same dialog template: CAboutDlg (the
// main window's system menu) keeps the template's layout; CDlgAbout (the
// GPS panel's About button) is a 240 x 126 box placed at the middle of the
// main window, with its OK button in the lower right corner.
#pragma once

#include "Dialog.h"
#include "resource.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
};

class CDlgAbout : public CDialog {
public:
    CDlgAbout() : CDialog(IDD_ABOUTBOX) {}

    static const int kWidth = 240;
    static const int kHeight = 126;

protected:
    BOOL OnInitDialog() override;
};

// Where CDlgAbout goes over a main window whose client area is
// mainWidth x mainHeight: its top left corner.
POINT AboutBoxOrigin(int mainWidth, int mainHeight);
// Where its OK button goes in a client area of width x height.
RECT AboutOkButtonRect(int width, int height);
