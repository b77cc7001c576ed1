#include "testing/MainDialogFixture.h"

#include "AppSettings.h"
#include "WinApp.h"

#include <commctrl.h>

CTORQUELIANDlg* OpenMainDialog(const std::function<void(CTORQUELIANDlg&)>& beforeCreate)
{
    InitRichEdit2();
    INITCOMMONCONTROLSEX icc = {8, 0xFF};
    InitCommonControlsEx(&icc);
    auto* dlg = new CTORQUELIANDlg;
    g_Settings.mainDlg = dlg;
    if (beforeCreate)
        beforeCreate(*dlg);
    if (!dlg->Create(nullptr)) {
        delete dlg;
        g_Settings.mainDlg = nullptr;
        return nullptr;
    }
    dlg->ShowWindow(SW_SHOW);
    return dlg;
}

void CloseMainDialog(CTORQUELIANDlg* dlg)
{
    delete dlg;
    g_Settings.mainDlg = nullptr;
    g_Settings.searchRoot.clear();
    DeleteFileA(g_Settings.ConfigPath().c_str());
}
