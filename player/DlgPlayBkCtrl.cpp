#include "DlgPlayBkCtrl.h"

#include "AppSettings.h"

void CDlgPlayBkCtrl::Faster()
{
    if (rate < 8)
        ++rate;
    g_Settings.playRate = rate;
}

void CDlgPlayBkCtrl::Slower()
{
    if (rate > -8)
        --rate;
    g_Settings.playRate = rate;
}
