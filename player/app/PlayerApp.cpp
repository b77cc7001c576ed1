#include "app/PlayerApp.h"

#include "AppSettings.h"
#include "LanguageHolder.h"
#include "app/MainDialog.h"
#include "app/Relaunch.h"
#include "StringIds.h"
#include "geodraw.h"

#include <commctrl.h>

#include <vector>

CTORQUELIANApp theApp;

BOOL CTORQUELIANApp::InitInstance()
{
    InitRichEdit2();
    InitOle();
    INITCOMMONCONTROLSEX icc = {8, 0xFF};
    ::InitCommonControlsEx(&icc);
    if (!InitSockets()) {
        // The language is not chosen yet: the English text.
        CString text = CString::Load(m_hInstance, IDS_SOCKETS_FAILED);
        ::MessageBoxW(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    SetRegistryKey(L"Local AppWizard-Generated Applications");

    _MAP_Initialize();
    _MAP_InitLangague("chinese");
    _MAP_LoadSkin(0);

    CTORQUELIANDlg dlg;
    m_pMainWnd = &dlg;
    g_Settings.mainDlg = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    g_Settings.mainDlg = nullptr;
    return FALSE;
}

int CTORQUELIANApp::ExitInstance()
{
    if (RelaunchOnExit())
        RelaunchSelf();
    return CWinApp::ExitInstance();
}

void CTORQUELIANApp::RelaunchSelf()
{
    // On the recordings this one lists.
    StartFreshCopy(g_Settings.searchRoot);
}
