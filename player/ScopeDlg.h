// The strip-chart panel under the playback page.
#pragma once

#include "Dialog.h"

class CScopeDlg : public CDialog {
public:
    CScopeDlg() : CDialog(647) {}

};
