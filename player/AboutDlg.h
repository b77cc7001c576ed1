// The About box of the system menu.
#pragma once

#include "Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg() : CDialog(100) {}

};
