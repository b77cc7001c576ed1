// The recording list on the left of the main dialog (list control 227).
#pragma once

#include "Dialog.h"
#include "FileRecord.h"
#include "ListPages.h"
#include "resource.h"

#include <string>
#include <vector>

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
    // What the playback panels read of the list until its scan is in: the
    // records, the type filter's copy and the rows per page.
    std::vector<FileRecord> allRecords;
    std::vector<FileRecord> typeRecords;
    int typeIndex = kTypeAll;
    int rowsPerPage = 0;
    const std::vector<FileRecord>& ShownRecords() const { return typeIndex == kTypeAll ? allRecords : typeRecords; }
    int RecordsPerPage() const { return ::RecordsPerPage(rowsPerPage); }
    void HighlightPlayingRows() {}

    void ApplyLanguage() {}
    HWND ListControl() const { return GetDlgItem(IDC_RECORD_LIST); }

protected:
    BOOL OnInitDialog() override;

private:
    void OnSize(Message& m);
};
