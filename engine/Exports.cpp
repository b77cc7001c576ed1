// The OV_ exports: each checks its handle and hands the call on.
#include "CutFile.h"
#include "IndexReader.h"
#include "MulPlay.h"
#include "Ostrivel.h"

#include <new>
#include <string.h>

namespace {

CMulPlay* Decoder(void* handle) { return static_cast<CMulPlay*>(handle); }
CIndexReader* Reader(void* handle) { return static_cast<CIndexReader*>(handle); }

}  // namespace

// Index reader.
OV_API int WINAPI OV_OpenIndexReader(const char* path, void** reader) {
    if (!reader) return 1;
    CIndexReader* r = new (std::nothrow) CIndexReader;
    if (!r) return 1;
    if (r->Open(path) != 0) {
        delete r;
        return 1;
    }
    *reader = r;
    return 0;
}
OV_API int WINAPI OV_SetReaderCallBack(void* reader, void* user, ReaderCallBackProc callback) {
    return reader ? Reader(reader)->SetCallBack(user, callback) : 1;
}
OV_API int WINAPI OV_GetIndexFileInfo(void* reader, FileInfo* info) {
    return reader ? Reader(reader)->GetFileInfo(info) : 1;
}
OV_API int WINAPI OV_StartIndexReader(void* reader) { return reader ? Reader(reader)->Start() : 1; }
OV_API int WINAPI OV_StopIndexReader(void* reader) { return reader ? Reader(reader)->Stop() : 1; }
OV_API int WINAPI OV_CloseIndexReader(void* reader) {
    if (!reader) return 1;
    delete Reader(reader);   // the destructor stops the scan first
    return 0;
}

// Clip export: the worker's opening always fails, so no clip handle ever
// exists and every other call can only be given a foreign pointer, which
// is refused rather than used.
OV_API int WINAPI OV_OpenCutFile(const char* source, const char* target, void** clip) {
    if (clip) *clip = nullptr;
    CCutFile* cut = new (std::nothrow) CCutFile;
    if (cut && cut->Open(source, target) == 0 && clip) {
        *clip = cut;
        return 0;
    }
    delete cut;
    return 1;
}
OV_API int WINAPI OV_SetCutMsgCallBack(void*, void*, CutMsgCallBackProc) { return 1; }
OV_API int WINAPI OV_StartCutFile(void*, int, int) { return 1; }
OV_API int WINAPI OV_StopCutFile(void*) { return 1; }
OV_API int WINAPI OV_CloseCutFile(void*) { return 1; }

OV_API int WINAPI OV_CreateDecoder(void** handle) {
    if (handle) *handle = new (std::nothrow) CMulPlay;
    return 0;
}

OV_API int WINAPI OV_EraseDecoder(void* handle) {
    // The destructor closes whatever channels are still open, so no play
    // thread is left calling into a freed handle.
    delete Decoder(handle);
    return 0;
}

OV_API int WINAPI OV_OpenFile(const char* path, HWND window, int channel, void* handle) {
    // A null handle fails: a caller must not believe the channel opened.
    if (!handle) return 1;
    return Decoder(handle)->OpenChannel(path, window, channel);
}

OV_API int WINAPI OV_CloseFile(void* handle, int channel) {
    if (!handle) return 1;
    return Decoder(handle)->CloseChannel(channel);
}

OV_API int WINAPI OV_GetFileInfo(void* handle, FileInfo* info) {
    if (!handle || !info) return 1;
    return Decoder(handle)->GetFileInfo(info);
}

OV_API int WINAPI OV_GetFileParam(void* handle, FileInfo* info, const char* path) {
    if (!handle || !info || !path) return 1;
    return CMulPlay::GetFileParam(info, path);
}

OV_API int WINAPI OV_Play(void* handle, int channel) {
    if (!handle) return 1;
    return Decoder(handle)->Play(channel);
}

OV_API int WINAPI OV_Stop(void* handle, int channel) {
    if (!handle) return 1;
    return Decoder(handle)->Stop(channel);
}

OV_API int WINAPI OV_Pause(void* handle, int on) {
    if (!handle) return 1;
    return Decoder(handle)->Pause(on);
}

OV_API int WINAPI OV_PlayOneByOne(void* handle) {
    if (!handle) return 1;
    return Decoder(handle)->StepAll();
}

OV_API int WINAPI OV_SetPlayRate(void* handle, int rate, int reverse) {
    if (!handle) return 1;
    return Decoder(handle)->SetRate(rate, reverse);
}

OV_API int WINAPI OV_GetPlayTime(void* handle, int* ms) {
    if (!handle || !ms) return 1;
    return Decoder(handle)->GetPlayTime(ms);
}

OV_API int WINAPI OV_SetPlayTime(void* handle, int ms) {
    if (!handle) return 1;
    return Decoder(handle)->SeekAll(ms);
}

OV_API int WINAPI OV_SetInfoFrameCallBack(void* handle, void* user, InfoFrameCallBackProc callback) {
    if (!handle) return 1;
    return Decoder(handle)->SetInfoCallback(user, callback);
}

OV_API int WINAPI OV_SetEndCallBack(void* handle, void* user, EndCallBackProc callback) {
    if (!handle) return 1;
    return Decoder(handle)->SetEndCallback(user, callback);
}

OV_API int WINAPI OV_PlaySound(void* handle, int channel) {
    if (!handle) return 1;
    return Decoder(handle)->SoundOnChannel(channel);
}

OV_API int WINAPI OV_StopSound(void* handle) {
    if (!handle) return 1;
    return Decoder(handle)->StopSound();
}

OV_API int WINAPI OV_SetVolume(void* handle, int volume) {
    if (!handle) return 1;
    return Decoder(handle)->SetVolume(volume);
}

OV_API int WINAPI OV_CaptureBMP(void* handle, int channel, const char* path, CaptureFrameInfo* info) {
    if (!handle) return 1;
    return Decoder(handle)->CaptureBmp(channel, path, info);
}

OV_API int WINAPI OV_ShowOsd(void* handle, const char* text, int corner) {
    if (!handle) return 1;
    // A null text is an empty one.
    return Decoder(handle)->ShowOsd(text ? text : "", corner);
}

OV_API int WINAPI OV_GetSynChannel(void* handle) {
    if (!handle) return -1;
    return Decoder(handle)->SyncChannel();
}

OV_API int WINAPI OV_SetSynChannel(void* handle, int channel) {
    if (!handle) return -1;
    return Decoder(handle)->SetSyncChannel(channel);
}

OV_API int WINAPI OV_CaptureJPEG(void*, int, const char*) { return 0; }
OV_API int WINAPI OV_SetDecCallBack(void*, void*, void*) { return 0; }
OV_API int WINAPI OV_SetDisplayCallBack(void*, void*, void*) { return 0; }
