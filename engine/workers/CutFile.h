// The clip-export worker. Its opening step always fails, so no clip handle
// is ever handed out and nothing is ever exported; the worker keeps the
// checks a start makes so that the interface's calls stay answerable.
#pragma once

#include "Thread.h"
#include "Ostrivel.h"

#include <stdio.h>

class CFileQuib;

class CCutFile : public CThread {
public:
    CCutFile() = default;
    ~CCutFile() override;

    // Always 1: there is no clip export.
    int Open(const char* source, const char* target);
    int SetCallBack(void* user, CutMsgCallBackProc callback);
    // 1 without a file reader, for a range outside the file, or when the
    // seek to its start fails.
    int Start(int fromMs, int toMs);
    int Stop();
    int Close();

private:
    int Run() override { return 0; }

    CFileQuib* reader_ = nullptr;
    CutMsgCallBackProc callback_ = nullptr;
    void* user_ = nullptr;
    FileInfo fileInfo_ = {};
    FILE* output_ = nullptr;
    int32_t fromMs_ = 0;
    int32_t toMs_ = 0;
};
