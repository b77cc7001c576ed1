#include "DlgFileList.h"

#include "LanguageHolder.h"
#include "AppSettings.h"

#include <commctrl.h>

BEGIN_MESSAGE_TABLE(CDlgFileList, CDialog)
    OnMessage<&CDlgFileList::OnSize>(WM_SIZE),
END_MESSAGE_TABLE()

BOOL CDlgFileList::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (g_Settings.language)
        g_Settings.language->fileList = this;
    HWND list = ListControl();
    for (int i = 0; i < 6; ++i) {
        LVCOLUMNW col = {};
        col.mask = LVCF_WIDTH;
        col.cx = 50;
        ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
    }
    return TRUE;
}

void CDlgFileList::OnSize(Message& m)
{
    RECT rc = GetClientRect();
    ::MoveWindow(ListControl(), 11, 20, rc.right - 11, rc.bottom - 20, TRUE);
    m.handled = false;
}
