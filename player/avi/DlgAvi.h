// The AVI export dialog: cuts a time range out of one recorded channel
// file and has the converter library write it as an AVI file, with a
// per-mille progress bar.
//
// A video pane opens it for the file it plays (RunAviExportDialog); the
// user may pick another source file, the destination folder and the range,
// then presses START.
//
// The converter reports progress on a thread of its own. Its callback only
// posts (current, total) to the dialog's window (WM_AVI_PROGRESS); the
// dialog moves the bar and shows the closing message on its own thread.
// The callback is detached (which waits for a running one) as soon as the
// conversion ended and whenever the dialog closes or its window goes, so
// no report reaches a dialog that is gone; a detached conversion finishes
// on its own.
#pragma once

#include "avi/AviCut.h"
#include "Dialog.h"
#include "WString.h"
#include "resource.h"

class CDlgAvi : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    // sourcePath: the recording to cut. parseName, when not empty, is the
    // recording-style name the times and the output name's first
    // characters are read from instead of the file's own name.
    explicit CDlgAvi(const std::wstring& sourcePath = std::wstring(),
                     const std::wstring& parseName = std::wstring());
    ~CDlgAvi() override;

    CString sourceFolder;  // ends in a backslash (empty for a bare name)
    CString sourceName;
    CString parseName;
    TimeOfDay recordedEnd;  // the end the source gives; the end picker does not change it
    TimeOfDay cutStart;     // picker IDC_AVI_CUT_START
    TimeOfDay cutEnd;       // picker IDC_AVI_CUT_END
    CWnd progress;
    int converterHandle = 0;  // 0: none attached

    // Reads the times and the information text of the source and fills
    // the controls from them.
    void LoadSourceInfo();
    // Rebuilds the output file name from the source and the pickers.
    void UpdateOutputName();
    // A source path chosen by the user: the file itself rules the times
    // from now on (the parse name is cleared).
    void TakeSourcePath(const std::wstring& path);
    // START.
    void OnStart();

    // Widens the label column for the widest label in the font the labels
    // have (done at start; again after their font changed).
    void FitLabels();

    // A conversion runs (START is disabled until it ends).
    bool IsConverting() const { return m_converting; }
    // Calls of the progress callback in this process, for tests that check
    // that none comes after a detach.
    static long CallbackCount();

    // The converter's callback (stdcall, any thread); user is the dialog's
    // window handle.
    static void __stdcall ConvertProgressCallback(void* user, int current, int total);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    void OnBrowseSource();
    void OnBrowseDestDir();
    void OnPickerKillFocus(Message& m);
    void OnConvertProgress(Message& m);
    void OnClose(Message& m);
    void OnDestroy(Message& m);

    // Detaches the callback from the converter (waiting for a running
    // one) and forgets the handle.
    void DetachConverter();
    // The end of a conversion or a start that failed: the message, and
    // START usable again.
    void ShowFailure();
    void SetStartEnabled(bool enabled);
    CString Text(int id) const;

    bool m_converting = false;
};

// Opens the dialog modally over owner's window for the recording at
// sourcePath (see CDlgAvi's constructor for parseName); gives DoModal's
// result.
INT_PTR RunAviExportDialog(CWnd* owner, const std::wstring& sourcePath,
                           const std::wstring& parseName = std::wstring());
