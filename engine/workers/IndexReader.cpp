#include "IndexReader.h"

#include "FileQuib.h"

#include <new>

CIndexReader::~CIndexReader() {
    Stop();
    delete reader_;
}

int CIndexReader::Open(const char* path) {
    if (reader_ || !path) return 1;
    reader_ = new (std::nothrow) CFileQuib;
    if (!reader_ || reader_->Open(path) != 0) {
        // Nothing to scan: a later Start fails instead of reading a closed file.
        delete reader_;
        reader_ = nullptr;
        return 1;
    }
    reader_->Rewind();
    return 0;
}

int CIndexReader::GetFileInfo(FileInfo* info) {
    if (!info) return 1;
    *info = reader_ ? reader_->GetFileInfo() : FileInfo{};
    return 0;
}

int CIndexReader::SetCallBack(void* user, ReaderCallBackProc callback) {
    // Set while no scan runs: the scan thread reads both without a lock.
    user_ = user;
    callback_ = callback;
    return 0;
}

int CIndexReader::Start() {
    if (!reader_) return 1;
    reader_->Interrupt(false);
    return CThread::Start() ? 0 : 1;
}

int CIndexReader::Stop() {
    // No time limit and no termination: a terminated scan could die holding
    // the file reader's lock or the heap. The scan's read is interrupted
    // instead, and the scan ends at once.
    if (reader_) reader_->Interrupt(true);
    int result = CThread::Stop() == CThread::kNotRunning ? 1 : 0;
    if (reader_) reader_->Interrupt(false);
    return result;
}

int CIndexReader::Run() {
    if (StopRequested()) return 0;
    for (int count = 1;; ++count) {
        RecPacket* info = nullptr;
        if (reader_->ReadInfoPacket(nullptr, &info) != 0) {
            // A read cut short by a stop is no end of the file.
            if (reader_->Interrupted()) return 0;
            break;
        }
        reader_->ReleasePacket(info);
        if (count % kPacketsPerRest == 0) {
            if (WaitForStop(kRestMs)) return 0;
        } else if (StopRequested()) {
            return 0;
        }
    }
    if (callback_) callback_(kEndOfFile, 0, user_);
    return 0;
}
