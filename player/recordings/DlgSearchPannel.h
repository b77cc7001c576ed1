// The search panel at the top left of the main dialog: the storage path
// with its "..." chooser, the record type, the date picker and the
// language. Choosing a path searches it; choosing a type filters the
// recording list; choosing a language relabels the whole program.
#pragma once

#include "Dialog.h"
#include "recordings/DlgFileList.h"
#include "recordings/FileRecord.h"
#include "Gdi.h"
#include "WString.h"
#include "resource.h"

#include <string>

// The previous / next month buttons are plain push buttons until the
// program's bitmap button is there; swapping means changing this type and
// CDlgSearchPannel::CreateMonthButton (which then loads the button's
// bitmap and tool tip).
using CMonthButton = CWnd;

class CDlgSearchPannel : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    CDlgSearchPannel();

    CString storagePath;            // shown in the path box
    int typeIndex = kTypeAll;       // 0 timer, 1 alarm, 2 all types
    SearchDate searchDate;          // the day sent with a search
    int dateTimer = -1;             // the 10-second guard's timer, -1 when none
    CMonthButton prevMonth, nextMonth;

    void SetSimplifiedChinese() { SwitchLanguage(1, 1); }
    void SetTraditionalChinese() { SwitchLanguage(2, 2); }
    void SetEnglish() { SwitchLanguage(0, 3); }
    // Relabels the panel in the current language.
    void ApplyLanguage();

    // A chosen path: the search root, shown in the path box and searched
    // from the first page.
    void SearchPath(const std::wstring& path);
    // Sends the picker's day to the recording list, which searches the
    // whole search root.
    void StartDateSearch();
    void ShowStoragePath(const std::wstring& path);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    void OnPaint();
    void OnSize(Message& m);
    void OnCtlColor(Message& m);
    void OnBrowseFolder();
    void OnTypeChanged();
    void OnLanguageChanged();
    void OnGuardedSearch();
    void OnTimer(Message& m);

    void SwitchLanguage(int index, int code);
    bool CreateMonthButton(CMonthButton& button, int id, int bitmapId, const wchar_t* tip);
    CDlgFileList* FileList() const;

    CBrush m_brush;
};
