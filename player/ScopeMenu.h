// The legend bar under the strip charts.
#pragma once

#include "Dialog.h"

class CScopeMenu : public CDialog {
public:
    CScopeMenu() : CDialog(706) {}
    void UpdateTexts() {}
};
