// Reads through every information packet of a record file on a worker
// thread and tells the caller when the end of the file was reached. The
// packets themselves go to nobody: the scan only walks the file.
#pragma once

#include "Thread.h"
#include "Ostrivel.h"

class CFileQuib;

class CIndexReader : public CThread {
public:
    // The callback's message when the scan reached the end of the file.
    static constexpr int kEndOfFile = 2;
    // The scan rests this long after every kPacketsPerRest packets, so that
    // it does not starve the play threads.
    static constexpr int kPacketsPerRest = 50;
    static constexpr DWORD kRestMs = 5;

    CIndexReader() = default;
    ~CIndexReader() override;

    // 1 when the file cannot be opened or is no record file.
    int Open(const char* path);
    int GetFileInfo(FileInfo* info);
    int SetCallBack(void* user, ReaderCallBackProc callback);
    // 0 when the scan thread started; 1 when one is still held (a scan that
    // ended by itself keeps its thread until Stop) or none can be created.
    int Start();
    // 0 after a started scan, 1 when none was started. The stop reaches
    // the file reader's search too, which gives up before its next packet
    // or buffer of the file: the wait ends within one read, also in a long
    // stretch of file without information packets.
    int Stop();

private:
    int Run() override;

    CFileQuib* reader_ = nullptr;
    ReaderCallBackProc callback_ = nullptr;
    void* user_ = nullptr;
};
