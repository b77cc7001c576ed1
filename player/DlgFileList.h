// The recording list on the left of the main dialog (list control 227).
#pragma once

#include "Dialog.h"
#include "resource.h"

#include <string>

class CDlgFileList : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    CDlgFileList() : CDialog(IDD_FILE_LIST) {}
    int currentPage = 1;
    int pageCount = 1;
    int nextIndex = 0;
    int selectedRow = 0;
    int groupPage = 0;
    std::string selectedPath;

    void ApplyLanguage() {}
    HWND ListControl() const { return GetDlgItem(IDC_RECORD_LIST); }

protected:
    BOOL OnInitDialog() override;

private:
    void OnSize(Message& m);
};
