// Ostrivel: the playback engine of Zarv Player.
//
// Records that cross the engine's interface. Their offsets are fixed: the
// player program and the engine are built apart and share only this header.
#pragma once

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

#pragma pack(push, 4)

// What the engine tells about one record file (220 bytes).
struct FileInfo {
    SYSTEMTIME startTime;      // from the file header (year as stored: years since 2000)
    SYSTEMTIME endTime;        // from the header, or the last I-frame's date and time
    uint64_t firstTimestamp;   // first I-frame, microseconds
    uint64_t lastTimestamp;    // last video packet, microseconds
    uint32_t durationMs;       // (last - first) / 1000
    uint32_t channel;          // first channel slot in use (probe only)
    uint32_t recordKind;       // header byte 50 (probe only)
    char headerText1[32];
    char headerText2[32];
    char headerText3[32];
    char headerText4[32];
    char magic[12];
    uint8_t reserved[20];
};

// The side record of the picture in a snapshot (16 bytes).
struct CaptureFrameInfo {
    uint32_t value[4];
};

#pragma pack(pop)
#pragma pack(push, 1)

// The 48-byte information frame carried in front of a video frame's data.
struct InfoFrame {
    uint8_t year;              // years since 2000
    uint8_t month;
    uint8_t day;
    uint8_t hour;
    uint8_t minute;
    uint8_t second;
    uint8_t reserved6[2];
    char gpsValid;             // 'A' when the position is valid
    uint8_t reserved9;
    uint16_t speedKmh;
    int8_t latDegrees;
    int8_t latMinutes;
    int8_t lonDegrees;
    int8_t lonMinutes;
    int32_t latFraction;       // fractional digits of the latitude minutes
    int32_t lonFraction;       // fractional digits of the longitude minutes
    uint16_t heading;          // hundredths of a degree
    char latHemisphere;        // 'S' when south
    char lonHemisphere;        // 'W' when west
    uint8_t fractionDigits;    // digits in the two fractions (1-6), else not given
    uint8_t reserved29[3];
    uint32_t backLink;         // I-frames: file offset of the previous I-frame's tag
    uint8_t reserved36[4];
    int8_t accelX;             // G-sensor, 1/16 g
    int8_t accelY;
    int8_t accelZ;
    uint8_t reserved43[5];
};

#pragma pack(pop)

static_assert(sizeof(SYSTEMTIME) == 16, "SYSTEMTIME is 8 x uint16");
static_assert(sizeof(FileInfo) == 220, "FileInfo is 220 bytes");
static_assert(offsetof(FileInfo, endTime) == 16, "FileInfo layout");
static_assert(offsetof(FileInfo, firstTimestamp) == 32, "FileInfo layout");
static_assert(offsetof(FileInfo, lastTimestamp) == 40, "FileInfo layout");
static_assert(offsetof(FileInfo, durationMs) == 48, "FileInfo layout");
static_assert(offsetof(FileInfo, channel) == 52, "FileInfo layout");
static_assert(offsetof(FileInfo, recordKind) == 56, "FileInfo layout");
static_assert(offsetof(FileInfo, headerText1) == 60, "FileInfo layout");
static_assert(offsetof(FileInfo, headerText2) == 92, "FileInfo layout");
static_assert(offsetof(FileInfo, headerText3) == 124, "FileInfo layout");
static_assert(offsetof(FileInfo, headerText4) == 156, "FileInfo layout");
static_assert(offsetof(FileInfo, magic) == 188, "FileInfo layout");
static_assert(offsetof(FileInfo, reserved) == 200, "FileInfo layout");

static_assert(sizeof(InfoFrame) == 48, "InfoFrame is 48 bytes");
static_assert(offsetof(InfoFrame, gpsValid) == 8, "InfoFrame layout");
static_assert(offsetof(InfoFrame, speedKmh) == 10, "InfoFrame layout");
static_assert(offsetof(InfoFrame, latDegrees) == 12, "InfoFrame layout");
static_assert(offsetof(InfoFrame, lonMinutes) == 15, "InfoFrame layout");
static_assert(offsetof(InfoFrame, latFraction) == 16, "InfoFrame layout");
static_assert(offsetof(InfoFrame, lonFraction) == 20, "InfoFrame layout");
static_assert(offsetof(InfoFrame, heading) == 24, "InfoFrame layout");
static_assert(offsetof(InfoFrame, latHemisphere) == 26, "InfoFrame layout");
static_assert(offsetof(InfoFrame, lonHemisphere) == 27, "InfoFrame layout");
static_assert(offsetof(InfoFrame, fractionDigits) == 28, "InfoFrame layout");
static_assert(offsetof(InfoFrame, backLink) == 32, "InfoFrame layout");
static_assert(offsetof(InfoFrame, accelX) == 40, "InfoFrame layout");
static_assert(offsetof(InfoFrame, accelZ) == 42, "InfoFrame layout");

static_assert(sizeof(CaptureFrameInfo) == 16, "CaptureFrameInfo is 16 bytes");

// The engine's exports: stdcall, exported under their plain names. Every
// one gives 0 for success and 1 for failure or a null handle, except where
// noted. Channels are 0 to 3; any other number is a channel without a file.
#ifdef OSTRIVEL_BUILD
#define OV_API extern "C"   // exported by name through Ostrivel.def
#else
#define OV_API extern "C" __declspec(dllimport)
#endif

// Called on a play thread (and on the caller's thread inside
// OV_PlayOneByOne and OV_SetPlayTime) with an engine lock held: copy the
// data, post a message, return. The data is valid only during the call.
typedef void(CALLBACK* InfoFrameCallBackProc)(const uint8_t* data, uint32_t length,
                                              uint32_t timestampLow, uint32_t timestampHigh,
                                              void* user);
// Once per end of a channel's file. Same rules as above.
typedef void(CALLBACK* EndCallBackProc)(int channel, void* user);
// The index reader: message 2 when its scan reached the end of the file.
typedef void(CALLBACK* ReaderCallBackProc)(int message, int param, void* user);
typedef void(CALLBACK* CutMsgCallBackProc)(int message, int param, void* user);

// Library level: the DirectDraw warm-up worker.
OV_API int WINAPI OV_Initialize(void);
OV_API int WINAPI OV_UnInitialize(void);

// Index reader.
OV_API int WINAPI OV_OpenIndexReader(const char* path, void** reader);
OV_API int WINAPI OV_SetReaderCallBack(void* reader, void* user, ReaderCallBackProc callback);
OV_API int WINAPI OV_GetIndexFileInfo(void* reader, FileInfo* info);
OV_API int WINAPI OV_StartIndexReader(void* reader);
OV_API int WINAPI OV_StopIndexReader(void* reader);
OV_API int WINAPI OV_CloseIndexReader(void* reader);

// Clip export: opening always fails, so no clip handle exists.
OV_API int WINAPI OV_OpenCutFile(const char* source, const char* target, void** clip);
OV_API int WINAPI OV_SetCutMsgCallBack(void* clip, void* user, CutMsgCallBackProc callback);
OV_API int WINAPI OV_StartCutFile(void* clip, int fromMs, int toMs);
OV_API int WINAPI OV_StopCutFile(void* clip);
OV_API int WINAPI OV_CloseCutFile(void* clip);

// Decoder handle: up to four channels of one recording group in step.
OV_API int WINAPI OV_CreateDecoder(void** handle);            // always 0
OV_API int WINAPI OV_EraseDecoder(void* handle);              // always 0
OV_API int WINAPI OV_OpenFile(const char* path, HWND window, int channel, void* handle);
OV_API int WINAPI OV_CloseFile(void* handle, int channel);
OV_API int WINAPI OV_GetFileInfo(void* handle, FileInfo* info);
OV_API int WINAPI OV_GetFileParam(void* handle, FileInfo* info, const char* path);
OV_API int WINAPI OV_Play(void* handle, int channel);
OV_API int WINAPI OV_Stop(void* handle, int channel);
OV_API int WINAPI OV_Pause(void* handle, int pause);
OV_API int WINAPI OV_PlayOneByOne(void* handle);
OV_API int WINAPI OV_SetPlayRate(void* handle, int rate, int reverse);
OV_API int WINAPI OV_GetPlayTime(void* handle, int* ms);
OV_API int WINAPI OV_SetPlayTime(void* handle, int ms);
OV_API int WINAPI OV_SetInfoFrameCallBack(void* handle, void* user, InfoFrameCallBackProc callback);
OV_API int WINAPI OV_SetEndCallBack(void* handle, void* user, EndCallBackProc callback);
OV_API int WINAPI OV_PlaySound(void* handle, int channel);
OV_API int WINAPI OV_StopSound(void* handle);
OV_API int WINAPI OV_SetVolume(void* handle, int volume);
OV_API int WINAPI OV_CaptureBMP(void* handle, int channel, const char* path, CaptureFrameInfo* info);
OV_API int WINAPI OV_ShowOsd(void* handle, const char* text, int corner);
OV_API int WINAPI OV_GetSynChannel(void* handle);             // -1 for a null handle
OV_API int WINAPI OV_SetSynChannel(void* handle, int channel); // -1 for a null handle
OV_API int WINAPI OV_CaptureJPEG(void* handle, int channel, const char* path);
OV_API int WINAPI OV_SetDecCallBack(void* handle, void* user, void* callback);
OV_API int WINAPI OV_SetDisplayCallBack(void* handle, void* user, void* callback);
