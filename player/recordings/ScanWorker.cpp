#include "recordings/ScanWorker.h"

#include "recordings/FolderScan.h"
#include "MessageLoop.h"
#include "PostedBlock.h"
#include "PrivateMessages.h"

#include <memory>
#include <new>

namespace {

struct ScanJob {
    ScanRequest request;
    HWND target;
    const std::atomic<bool>* cancel;
    bool (*postResult)(HWND, std::unique_ptr<ScanResult>);
};

const int kLostReportTries = 100;
const DWORD kLostReportPauseMs = 50;

void PostProgress(int percent, void* target)
{
    ::PostMessageW(static_cast<HWND>(target), WM_SCAN_PROGRESS, static_cast<WPARAM>(percent), 0);
}

// Turns the critical-error boxes ("there is no disk in the drive") off for
// the calling thread while the object lives.
class QuietDriveErrors {
public:
    QuietDriveErrors() { m_ok = ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &m_old) != 0; }
    ~QuietDriveErrors()
    {
        if (m_ok)
            ::SetThreadErrorMode(m_old, nullptr);
    }

private:
    DWORD m_old = 0;
    bool m_ok = false;
};

}  // namespace

ScanResult RunScanRequest(const ScanRequest& request, const std::atomic<bool>& cancel,
                          void (*progress)(int percent, void* user), void* user)
{
    auto report = [&](int percent) {
        if (progress)
            progress(percent, user);
    };
    // A worker shows no box: an empty card reader simply has no files.
    QuietDriveErrors quiet;
    ScanResult result;
    result.kind = request.kind;
    report(20);
    if (request.kind == ScanRequest::Folder) {
        result.root = request.root;
        result.records = ScanRecordings(request.root, cancel);
    } else {
        for (wchar_t letter = L'A'; letter <= L'Z' && !cancel.load(); ++letter) {
            const wchar_t drive[4] = {letter, L':', L'\\', L'\0'};
            if (::GetDriveTypeW(drive) != DRIVE_REMOVABLE)
                continue;
            // Each drive searched replaces the previous one's result.
            result.root = drive;
            result.records = ScanRecordings(drive, cancel);
            if (!result.records.empty())
                break;
        }
    }
    report(40);
    SortFileRecords(result.records);
    report(60);
    report(80);
    return result;
}

CScanWorker::~CScanWorker()
{
    Cancel();
    if (m_thread) {
        ::WaitForSingleObject(m_thread, INFINITE);
        ::CloseHandle(m_thread);
    }
}

bool CScanWorker::Start(const ScanRequest& request, HWND target)
{
    if (m_thread)
        return false;
    auto* job = new (std::nothrow) ScanJob{request, target, &m_cancel, postResult};
    if (!job)
        return false;
    m_cancel.store(false);
    m_thread = ::CreateThread(nullptr, 0, &CScanWorker::ThreadProc, job, 0, nullptr);
    if (!m_thread) {
        delete job;
        return false;
    }
    return true;
}

void CScanWorker::Join()
{
    if (!m_thread)
        return;
    WaitAnsweringSentMessages(m_thread, INFINITE);
    ::CloseHandle(m_thread);
    m_thread = nullptr;
}

DWORD WINAPI CScanWorker::ThreadProc(void* p)
{
    std::unique_ptr<ScanJob> job(static_cast<ScanJob*>(p));
    auto result = std::make_unique<ScanResult>(RunScanRequest(job->request, *job->cancel, &PostProgress, job->target));
    if (job->cancel->load())
        return 0;
    ::PostMessageW(job->target, WM_SCAN_PROGRESS, 100, 0);
    // Freed by PostBlock when the window is gone, by the framework when
    // the window goes before taking it.
    if (job->postResult(job->target, std::move(result)))
        return 0;
    // The result is lost (a full queue): the window still has to hear that
    // the scan ended. A full queue drains; the tries end in five seconds,
    // at a cancel (the window going) or with the window.
    for (int i = 0; i < kLostReportTries && !job->cancel->load() && ::IsWindow(job->target); ++i) {
        if (::PostMessageW(job->target, WM_SCAN_DONE, 0, 0))
            break;
        ::Sleep(kLostReportPauseMs);
    }
    return 0;
}

bool CScanWorker::PostScanResult(HWND target, std::unique_ptr<ScanResult> result)
{
    return PostBlock(target, WM_SCAN_DONE, 0, std::move(result));
}
