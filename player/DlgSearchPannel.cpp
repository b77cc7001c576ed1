#include "DlgSearchPannel.h"

#include "AppSettings.h"
#include "LanguageHolder.h"
#include "MainWindow.h"

void CDlgSearchPannel::ApplyLanguage(int index, int code)
{
    if (g_Settings.language)
        g_Settings.language->SetLanguage(index);
    g_Settings.languageCode = code;
    if (g_Settings.mainDlg)
        g_Settings.mainDlg->UpdateTexts();
    g_Settings.SaveLanguage();
}
