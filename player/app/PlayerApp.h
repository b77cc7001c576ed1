// CTORQUELIANApp: the player's application object. It prepares the
// platform libraries, starts the map library, runs the main dialog and, when
// the map provider was changed, starts a fresh copy of the program on exit.
#pragma once

#include "WinApp.h"

class CTORQUELIANApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;
    void RelaunchSelf();
};

extern CTORQUELIANApp theApp;
