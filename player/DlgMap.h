// The map pane at the top right of the main dialog.
#pragma once

#include "Dialog.h"
#include "resource.h"

class CDlgMap : public CDialog {
public:
    CDlgMap() : CDialog(IDD_MAP) {}

};
