// The About box of the system menu.
#pragma once

#include "Dialog.h"
#include "resource.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

};
