// The main dialog of a window test, made as the application makes it:
// RichEdit 2.0 and the common controls first, then the dialog, known to
// the panels through g_Settings.mainDlg, created and shown.
#pragma once

#include "app/MainDialog.h"

#include <functional>

// The shown main dialog, or null when it could not be created (then freed,
// and g_Settings.mainDlg cleared). beforeCreate sees the dialog before its
// windows exist (to hand a panel a fake engine, say).
CTORQUELIANDlg* OpenMainDialog(const std::function<void(CTORQUELIANDlg&)>& beforeCreate = nullptr);

// Destroys it and clears what it left in the settings: g_Settings.mainDlg,
// the search root and the settings file beside the program.
void CloseMainDialog(CTORQUELIANDlg* dlg);
