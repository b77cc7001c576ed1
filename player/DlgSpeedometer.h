// The GPS and speed panel at the bottom right of the main dialog.
#pragma once

#include "Dialog.h"
#include "resource.h"

class CSpeedometer : public CDialog {
public:
    CSpeedometer() : CDialog(IDD_GPS_PANEL) {}
    int mapHidden = 0;   // the map pane is folded away; the panel sizes the page itself
    void UpdateTexts() {}
    // Folds the map pane away or shows it again.
    void OnToggleMap() {}
};
