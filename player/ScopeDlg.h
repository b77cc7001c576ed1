// The strip-chart panel under the playback page.
#pragma once

#include "Dialog.h"
#include "resource.h"

class CScopeDlg : public CDialog {
public:
    CScopeDlg() : CDialog(IDD_SCOPE) {}

};
