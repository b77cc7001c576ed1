// The recording list on the left of the main dialog: the recordings found
// under the search root, page by page in a six-column report list, with
// the page buttons and the page number row above it.
//
// A search runs on the scan worker (ScanWorker.h); the list keeps the
// records, the row texts and the page fields on the user-interface thread
// alone and swaps the worker's result in when it arrives. While a scan
// runs, paging, row clicks, type changes and the hidden searches are
// ignored, and a new search request runs as soon as the current one ends.
#pragma once

#include "Dialog.h"
#include "app/MainLayout.h"
#include "recordings/DlgProgress.h"
#include "recordings/FileRecord.h"
#include "Gdi.h"
#include "recordings/ScanWorker.h"
#include "resource.h"

#include <string>
#include <vector>

// The day WM_SEARCH_DAY carries (it selects no files).
struct SearchDate {
    int year = 0, month = 0, day = 0;
    bool valid = true;
};

class CDlgPlayBkCtrl;
class LanguageHolder;

class CDlgFileList : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    CDlgFileList();
    ~CDlgFileList() override;

    // Page fields: rowsPerPage is one more than the records a page shows
    // (RecordsPerPage), set by the layout; pages count from 1.
    int rowsPerPage = 0;
    int currentPage = 1;
    int shownPage = 1;
    int pageCount = 1;
    int nextIndex = 0;     // shown-list index after the last row shown
    int selectedRow = 0;   // row of the recording chosen for playing
    int groupPage = 0;     // page of the playing group (the control panel's)
    std::wstring selectedPath;

    // The last scan's records in list order, and the type filter's copy.
    std::vector<FileRecord> allRecords;
    std::vector<FileRecord> typeRecords;
    int typeIndex = kTypeAll;  // the search panel's type selection

    int scanBusy = 0;
    unsigned char searchDay[3] = {};  // year - 2000, month, day: kept only
    CDlgProgress progressBox;

    // allRecords for all types, else typeRecords. Record indices that the
    // list, the playback page and the control panel exchange index this.
    const std::vector<FileRecord>& ShownRecords() const;
    int RecordsPerPage() const;

    // Remembers the day and searches the whole search root; during a scan
    // the request waits for it.
    void StartDaySearch(int year, int month, int day);
    // The search panel's type selection: rebuilds the shown list and shows
    // its first page (after the scan, when one runs).
    void ApplyTypeFilter(int type);

    void OnFirstPage();
    void OnPrevPage();
    void OnNextPage();
    void OnLastPage();
    // Fills the list control with page (kept within the page count).
    void ShowPage(int page);
    void InsertRecordRow(const FileRecord& record, int row, size_t index);
    // Marks the rows of the playing group on this page.
    void HighlightPlayingRows();
    void ApplyLanguage();
    // Columns 0..5 as wide as given, or as their widest texts in the
    // current language need; within the list's width while they fit (the
    // list scrolls sideways to the rest).
    void FitColumns(const int widths[6]);
    // How wide the list's window wants to be to show its columns' widest
    // texts in every language (0 before the list exists).
    ListWidths WantedWidths() const;

    // The hidden searches: the removable drives, and the search root again;
    // the hidden chooser sets the search root without searching.
    void SearchRemovableDrives();
    void SearchRootAgain();
    void OnChooseLocalDir();

    HWND ListControl() const { return GetDlgItem(IDC_RECORD_LIST); }
    // The scan worker, for the tests that make its result's post fail.
    CScanWorker& ScanWorker() { return m_worker; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    void OnSize(Message& m);
    void OnDestroy(Message& m);
    void OnSearchDay(Message& m);
    void OnScanProgress(Message& m);
    void OnScanDone(Message& m);
    void OnRowClick(Message& m);
    void OnRowDblClick(Message& m);
    void OnCustomDraw(Message& m);
    void OnCtlColor(Message& m);

    bool StartScan(const ScanRequest& request);
    // A scan whose result was lost: not busy any more, the records as they
    // were, and the user told to search again.
    void EndLostScan();
    void ShowFirstPageOfShownList();
    void DeleteAllRows();
    bool RowRecordIndex(int row, size_t& index) const;
    // What each column needs to show its widest texts in language.
    void ColumnNeeds(const LanguageHolder& language, int needs[6]) const;
    CDlgPlayBkCtrl* ControlPanel() const;

    CBrush m_brush;
    // The column widths the main window's layout gave, before fitting.
    int m_givenColumns[6] = {};
    CScanWorker m_worker;
    bool m_searchWaiting = false;
};
