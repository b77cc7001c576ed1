// The recording list on the left of the main dialog (list control 227).
#pragma once

#include "Dialog.h"

#include <string>

class CDlgFileList : public CDialog {
public:
    CDlgFileList() : CDialog(782) {}
    int currentPage = 1;
    int pageCount = 1;
    int nextIndex = 0;
    int selectedRow = 0;
    int groupPage = 0;
    std::string selectedPath;

    void ApplyLanguage() {}
    HWND ListControl() const { return GetDlgItem(227); }

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
