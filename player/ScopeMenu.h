// The legend bar under the strip charts.
#pragma once

#include "Dialog.h"
#include "resource.h"

class CScopeMenu : public CDialog {
public:
    CScopeMenu() : CDialog(IDD_SCOPE_LEGEND) {}
    void UpdateTexts() {}
};
