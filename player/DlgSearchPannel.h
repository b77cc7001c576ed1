// The search panel at the top left of the main dialog: the search root and
// the three language operations.
#pragma once

#include "Dialog.h"
#include "resource.h"

#include <string>

class CDlgSearchPannel : public CDialog {
public:
    CDlgSearchPannel() : CDialog(IDD_SEARCH) {}
    std::string folderText;
    int searchesStarted = 0;

    void SetSimplifiedChinese() { ApplyLanguage(1, 1); }
    void SetTraditionalChinese() { ApplyLanguage(2, 2); }
    void SetEnglish() { ApplyLanguage(0, 3); }
    void StartDateSearch() { ++searchesStarted; }

private:
    void ApplyLanguage(int index, int code);
};
