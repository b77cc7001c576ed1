// One channel of a decoder handle: its reader, queues, decoders, display
// and sound output, and the play thread that paces the channel's pictures
// by their timestamps and the play rate, following the master's time when
// it is a slave.
#pragma once

#include "AudioDecoder.h"
#include "ChannelSync.h"
#include "DirectDraw.h"
#include "FileQuib.h"
#include "FramePacing.h"
#include "MutexLock.h"
#include "PacketQueue.h"
#include "PlayDecisions.h"
#include "PlayPosition.h"
#include "PlayerOwner.h"
#include "Thread.h"
#include "VideoDecoder.h"
#include "WaveOutPlayer.h"
#include "Ostrivel.h"

#include <stdint.h>

class CPlayer : public ChannelSync {
public:
    static constexpr uint32_t kFrameBufferSize = 409600;

    // `videoApi`: the H.264 decoder library's calls; null, the library itself.
    // `soundDevice`: the sound output's device (not owned); null, waveOut's.
    explicit CPlayer(const H264DecoderApi* videoApi = nullptr, WaveDevice* soundDevice = nullptr);
    ~CPlayer() override;
    CPlayer(const CPlayer&) = delete;
    CPlayer& operator=(const CPlayer&) = delete;

    void SetOwner(PlayerOwner* owner, int channel) {
        owner_ = owner;
        channel_ = channel;
    }

    int Open(const char* path, HWND window);
    int CloseFile();
    int Play();
    int StopThread();
    int SetPause(int on);
    int SetRate(int rate, int reverse);
    int StepOne();
    int SeekTime(int ms);
    // SeekTime in two halves, so that the channels of a handle seek at once,
    // each on its own play thread: BeginSeek hands the seek to the play
    // thread (1), or seeks here when no thread runs (0); EndSeek waits until
    // the play thread has done it.
    int BeginSeek(int ms);
    void EndSeek();
    int SoundOn();
    int SoundOff();
    int SetVolume(int volume);
    int CaptureBmp(const char* path, CaptureFrameInfo* info);
    int ShowOsd(const char* text, int corner);
    int GetFileInfo(FileInfo* info);
    int GetTimeRange(uint64_t* first, uint64_t* last);
    int GetPlayTime(int* ms);
    int SetInfoCallback(void* user, InfoFrameCallBackProc callback);
    int SetEndCallback(void* user, EndCallBackProc callback);

    // ChannelSync: each takes the sync lock alone.
    void SetMaster(bool master) override;
    void SetSlave(bool slave) override;
    void SetMasterTime(uint64_t timestamp) override;
    uint64_t CurrentTimestamp() override { return position_.current.Load(); }

    bool HasFile() const { return reader_ != nullptr; }
    // The sound waiting for the output: audio frames queued, and the
    // timestamp of the oldest (the picture it belongs to).
    int QueuedSoundFrames();
    bool OldestSoundTime(uint64_t* timestamp);
    bool IsPlaying() const { return thread_.IsRunning(); }
    bool Paused() const { return paused_; }

    // No player needed: 0 when `path` is a record file, with its record.
    static int ProbeFile(FileInfo* out, const char* path);

private:
    static int PlayThread(void* self);
    int RunThread();
    uint32_t NormalStep();
    uint32_t ReverseStep();
    // After a forward decode: how long until the next picture is due (0:
    // now, or read ahead first).
    uint32_t RestAfterDecode();
    // Waits on the stop event and the wake event: a stop never waits out a
    // rest, and a request or a change from the caller (seek, pause, rate)
    // is acted on at once; the play thread rests until its next picture is
    // due, which at slow rates is most of a second.
    void Rest(uint32_t ms);
    void Wake() {
        if (wake_) SetEvent(wake_);
    }
    // A seek handed over by BeginSeek, done on the play thread.
    void ServeSeek();

    void Prime();
    void Refill(int count);
    void QueuePacket(RecPacket* packet);
    int QueueIFrame(bool next);
    void DecodeNext();
    bool FrameInterval(uint32_t* ms);
    bool ReverseFrameInterval(uint32_t* ms);
    // What a forward pass needs of the sync state, read under the sync lock.
    struct ForwardSync {
        bool slave = false;
        bool promoted = false;     // made master since the last pass that paced
        uint64_t next = 0;         // the next picture's timestamp (a slave's)
        uint64_t masterClock = 0;  // where the master's clock is (a slave's)
    };
    // 0: no picture to show.
    int SyncNormal(ForwardSync* sync);
    int SyncReverse();
    void OnEnd();
    bool IsMaster();
    // Drops the queued audio of pictures before the one shown (all of it
    // before the first picture), so that sound opened or resumed now is
    // heard with the picture.
    void SoundFromPicture();
    bool HasQueuedVideo();
    // No picture is left and the reader has ended.
    void EndOfPictures();
    void ResetClock();
    void ClearQueues();
    bool IsCamera() const { return fileInfo_.magic[0] == 'I'; }
    uint32_t Now() const { return GetTickCount(); }

    const H264DecoderApi* videoApi_;
    CThread thread_;
    PacketQueue videoQueue_;
    PacketQueue audioQueue_;
    CDirectDraw display_;
    CVDEC* videoDecoder_ = nullptr;
    CADEC* audioDecoder_ = nullptr;
    WaveOutPlayer sound_;
    uint8_t* frameBuffer_ = nullptr;

    // Guards the seek request between the caller and the play thread. The
    // play thread serves it at the start of its next pass (waking for it).
    CMutexLock requestLock_;
    bool seekPending_ = false;
    int seekMs_ = 0;
    HANDLE seekDone_ = nullptr;    // manual reset: the request has been served
    HANDLE wake_ = nullptr;        // auto reset: ends the play thread's rest

    // Guards the play state below: one pass of the play thread at a time
    // against the caller's pause, rate, step and seek.
    CMutexLock stateLock_;
    PaceClock clock_;
    uint32_t redrawTick_ = 0;
    CFileQuib* reader_ = nullptr;
    ChannelPosition position_;
    bool readerExhausted_ = false;
    volatile bool soundOn_ = false;
    volatile bool paused_ = false;
    int32_t rate_ = 0;
    bool reverse_ = false;

    // Guards the information callback and its user value.
    CMutexLock infoLock_;
    InfoFrameCallBackProc infoCallback_ = nullptr;
    void* infoUser_ = nullptr;

    // Guards the end callback, its user value and the end latch.
    CMutexLock endLock_;
    EndLatch endLatch_;
    EndCallBackProc endCallback_ = nullptr;
    void* endUser_ = nullptr;

    // Guards the slave and master marks, the master's timestamp and its step.
    CMutexLock syncLock_;
    bool slave_ = false;
    bool promoted_ = false;        // a slave made master: its clock starts afresh
    uint64_t masterTime_ = 0;
    uint32_t masterTick_ = 0;      // when masterTime_ came
    uint64_t masterStepUs_ = 0;    // the master's last step (0: none known)
    PlayerOwner* owner_ = nullptr;
    bool master_ = false;

    uint32_t audioCodec_ = 2;
    int channel_ = 0;
    int stepCounter_ = 0;
    FileInfo fileInfo_ = {};
};
