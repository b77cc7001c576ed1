// The recording list's scan worker: one thread at a time searches a root
// (or the removable drives) and hands its result to the list window.
//
// The worker owns nothing the window reads. It gets its own copy of the
// request, probes and sorts into its own vector, posts WM_SCAN_PROGRESS
// (wParam: percent) as it goes and, at the end, one WM_SCAN_DONE carrying
// a ScanResult block (PostedBlock.h), which the window takes and swaps in;
// when that cannot be posted, a WM_SCAN_DONE without a block tells the
// window the result is lost. A cancelled scan posts no result. The window joins the thread before it
// starts the next one and when it is destroyed.
#pragma once

#include "recordings/FileRecord.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

struct ScanRequest {
    enum Kind { Folder, RemovableDrives } kind = Folder;
    std::wstring root;  // Folder: the folder or file to list
};

struct ScanResult {
    ScanRequest::Kind kind = ScanRequest::Folder;
    // The root the records come from: the request's, or for the removable
    // drives the last drive searched (empty when there was none).
    std::wstring root;
    std::vector<FileRecord> records;  // sorted
};

// The work itself, on the calling thread: the records of the request,
// sorted; progress(percent) after each step. The removable drives are
// searched from A: to Z: until one holds recordings. The system's "no
// disk" boxes are off for this thread meanwhile.
ScanResult RunScanRequest(const ScanRequest& request, const std::atomic<bool>& cancel,
                          void (*progress)(int percent, void* user), void* user);

class CScanWorker {
public:
    CScanWorker() = default;
    // Cancels and joins a worker that still runs.
    ~CScanWorker();
    CScanWorker(const CScanWorker&) = delete;
    CScanWorker& operator=(const CScanWorker&) = delete;

    // Starts a thread for request that reports to target. false when a
    // thread is still there (join it first) or none could be made.
    bool Start(const ScanRequest& request, HWND target);
    // Asks the running scan to stop at the next file.
    void Cancel() { m_cancel.store(true); }
    // Waits for the thread to end, answering the messages other threads
    // send meanwhile, and lets it go. It ends: the walk reads the cancel
    // flag before every file, and a file's probe reads a bounded part of it.
    void Join();
    bool HasThread() const { return m_thread != nullptr; }

    // How the worker hands its result over (PostBlock of WM_SCAN_DONE);
    // false when it could not. Then the worker posts WM_SCAN_DONE without
    // a block instead, so that the window ends its busy state. Set before
    // Start (the tests' failing post).
    bool (*postResult)(HWND target, std::unique_ptr<ScanResult> result) = &PostScanResult;
    static bool PostScanResult(HWND target, std::unique_ptr<ScanResult> result);

private:
    static DWORD WINAPI ThreadProc(void* job);
    HANDLE m_thread = nullptr;
    std::atomic<bool> m_cancel{false};
};
