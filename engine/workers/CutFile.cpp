#include "CutFile.h"

#include "FileQuib.h"

CCutFile::~CCutFile() { Close(); }

int CCutFile::Open(const char*, const char*) { return 1; }

int CCutFile::SetCallBack(void* user, CutMsgCallBackProc callback) {
    user_ = user;
    callback_ = callback;
    return 0;
}

int CCutFile::Start(int fromMs, int toMs) {
    if (!reader_ || fromMs < 0 || toMs < fromMs) return 1;
    if (uint32_t(fromMs) > fileInfo_.durationMs || uint32_t(toMs) > fileInfo_.durationMs) return 1;
    RecPacket* unused = nullptr;
    if (reader_->SeekTime(fromMs, &unused) != 0) return 1;
    fromMs_ = fromMs;
    toMs_ = toMs;
    return CThread::Start() ? 0 : 1;
}

int CCutFile::Stop() {
    CThread::Stop();
    return 0;
}

int CCutFile::Close() {
    Stop();
    if (reader_) {
        reader_->Close();
        delete reader_;
        reader_ = nullptr;
    }
    if (output_) {
        fclose(output_);
        output_ = nullptr;
    }
    return 0;
}
