#include "Player.h"

#include "RecordFormat.h"
#include "SyncRules.h"

#include <algorithm>
#include <new>
#include <string.h>

namespace {

constexpr int32_t kVideoDescriptors = 300;
constexpr int32_t kVideoBytes = 1536000;
constexpr int32_t kAudioDescriptors = 1000;
constexpr int32_t kAudioBytes = 512000;
constexpr int kSoundPreset = 3;
constexpr uint32_t kIdleMs = 100;
constexpr uint32_t kRedrawMs = 500;
// I-frames a turn to backward play passes over at most to get back to the
// shown picture (the read-ahead holds one or two).
constexpr int kTurnSkips = 8;

}  // namespace

CPlayer::CPlayer(const H264DecoderApi* videoApi, WaveDevice* soundDevice)
    : videoApi_(videoApi), sound_(soundDevice) {
    frameBuffer_ = new (std::nothrow) uint8_t[kFrameBufferSize];
    seekDone_ = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    clock_.tick = Now();
    clock_.credit = 0;
}

CPlayer::~CPlayer() {
    CloseFile();
    delete[] frameBuffer_;
    if (seekDone_) CloseHandle(seekDone_);
    if (wake_) CloseHandle(wake_);
}

int CPlayer::Open(const char* path, HWND window) {
    CloseFile();
    if (!path || !frameBuffer_) return 1;
    CFileQuib* reader = new (std::nothrow) CFileQuib;
    if (!reader) return 1;
    if (reader->Open(path) != 0) {
        delete reader;
        return 1;
    }
    audioCodec_ = reader->AudioCodec();
    CVDECH264* video = new (std::nothrow) CVDECH264(videoApi_);
    CADEC* audio = CreateAudioDecoder(int(audioCodec_));
    // Without a decoder of the library (Create gives 1 with one) the channel
    // could never show a picture: it does not open.
    if (!video || !audio || video->Create(0) != 1) {
        delete video;
        delete audio;
        delete reader;
        return 1;
    }
    video->SetDisplay(&display_);
    audio->Reset();
    videoQueue_.Init(kVideoDescriptors, kVideoBytes);
    audioQueue_.Init(kAudioDescriptors, kAudioBytes);
    display_.SetWindow(window);
    sound_.SetSource(&audioQueue_, audio);
    fileInfo_ = reader->GetFileInfo();
    videoDecoder_ = video;
    audioDecoder_ = audio;
    reader_ = reader;
    return 0;
}

int CPlayer::CloseFile() {
    StopThread();
    sound_.SetSource(&audioQueue_, nullptr);
    delete reader_;
    reader_ = nullptr;
    if (videoDecoder_) {
        videoDecoder_->Destroy();
        delete videoDecoder_;
        videoDecoder_ = nullptr;
    }
    delete audioDecoder_;
    audioDecoder_ = nullptr;
    return 0;
}

int CPlayer::Play() {
    StopThread();
    if (!reader_) return 1;
    reader_->Rewind();
    ResetClock();
    ClearQueues();
    rate_ = 0;
    paused_ = false;
    stepCounter_ = 0;
    readerExhausted_ = false;
    position_.current.Store(0);
    {
        CAutoLock hold(endLock_);
        endLatch_.Rearm();
    }
    return thread_.Start(&CPlayer::PlayThread, this) ? 0 : 1;
}

int CPlayer::StopThread() {
    // The play thread waits on the stop event in every rest, so this wait
    // ends within one pass.
    thread_.Stop();
    {
        // A seek it had not served yet is not done.
        CAutoLock hold(requestLock_);
        if (seekPending_) {
            seekPending_ = false;
            SetEvent(seekDone_);
        }
    }
    if (soundOn_) {
        sound_.Stop();
        soundOn_ = false;
    }
    return 0;
}

int CPlayer::SetPause(int on) {
    CAutoLock hold(stateLock_);
    paused_ = on != 0;
    if (soundOn_) {
        // Play after a pause, or after single steps that moved the picture
        // on while the sound stood still, is heard from the shown picture.
        if (!paused_) SoundFromPicture();
        sound_.SetPaused(paused_);
    }
    if (!paused_) ResetClock();
    Wake();
    return 0;
}

int CPlayer::SetRate(int rate, int reverse) {
    CAutoLock hold(stateLock_);
    if (reverse && !reverse_) ClearQueues();
    if (!reverse && reverse_ && reader_) {
        // Leaving backward play: the reader still steps backwards, which
        // forward I-frame steps refuse (fast play would take the file for
        // ended), and the queue holds an I-frame read ahead behind the
        // picture. Forward play goes on from the shown picture's I-frame.
        uint64_t shown = position_.current.Load();
        RecPacket* unused = nullptr;
        if (shown != 0) reader_->SeekTime(PlayTimeMs(shown, fileInfo_.firstTimestamp), &unused);
        ClearQueues();
    }
    reverse_ = reverse != 0;
    rate_ = rate;
    ResetClock();
    if (soundOn_) {
        if (rate != 0) {
            sound_.Stop();
        } else if (sound_.StateNow() != WaveOutPlayer::kOpen) {
            // The audio read while the output was closed lies behind the
            // picture by all the time spent at the other rate: the sound
            // starts again at the picture shown, and paused when play is.
            SoundFromPicture();
            sound_.Open(kSoundPreset, paused_);
        }
    }
    Wake();
    return 0;
}

int CPlayer::StepOne() {
    CAutoLock hold(stateLock_);
    // Stepping is silent: the sound pauses with the picture.
    paused_ = true;
    if (soundOn_) sound_.SetPaused(true);
    if (!reader_) return 0;
    if (videoQueue_.Count() < kRefillPackets) Refill(kRefillPackets);
    uint64_t next = 0;
    if (!videoQueue_.PeekVideoTime(&next)) {
        if (readerExhausted_) EndOfPictures();
        return 0;
    }
    bool slave;
    uint64_t master;
    {
        CAutoLock sync(syncLock_);
        slave = slave_;
        master = masterTime_;
    }
    int frames = StepFrameCount(slave, next, master);
    for (int k = 0; k < frames; ++k) DecodeNext();
    return 0;
}

int CPlayer::SeekTime(int ms) {
    CAutoLock hold(stateLock_);
    if (!reader_) return 1;
    RecPacket* unused = nullptr;
    if (reader_->SeekTime(ms, &unused) != 0) return 1;
    ResetClock();
    ClearQueues();
    // Up to three pictures from the target are decoded (their information
    // handed on) and the last of them is drawn: the picture the seek shows.
    // Drawn one after the other, the two before it showed for no time at
    // all, and with four channels drawing at once through the one display
    // device they made the seek three times as long.
    if (videoDecoder_) videoDecoder_->HoldPictures(true);
    Prime();
    if (videoDecoder_) {
        videoDecoder_->HoldPictures(false);
        videoDecoder_->Redraw();
    }
    reader_->SeekTime(ms, &unused);
    ResetClock();
    ClearQueues();
    return 0;
}

int CPlayer::BeginSeek(int ms) {
    if (!thread_.IsRunning() || !seekDone_ || !wake_) {
        SeekTime(ms);
        return 0;
    }
    {
        CAutoLock hold(requestLock_);
        seekMs_ = ms;
        seekPending_ = true;
        ResetEvent(seekDone_);
    }
    Wake();
    return 1;
}

void CPlayer::EndSeek() {
    // The play thread serves the request at the start of its next pass, and
    // a pass ends within one picture: this wait ends. (Only this caller's
    // thread stops the play thread, so it cannot end with the request open.)
    if (seekDone_) WaitForSingleObject(seekDone_, INFINITE);
}

void CPlayer::ServeSeek() {
    int ms;
    {
        CAutoLock hold(requestLock_);
        if (!seekPending_) return;
        ms = seekMs_;
    }
    SeekTime(ms);
    CAutoLock hold(requestLock_);
    seekPending_ = false;
    SetEvent(seekDone_);
}

void CPlayer::Rest(uint32_t ms) {
    HANDLE events[2] = {thread_.StopEvent(), wake_};
    WaitForMultipleObjects(wake_ ? 2 : 1, events, FALSE, ms);
}

int CPlayer::SoundOn() {
    if (soundOn_) return 1;
    if (rate_ == 0) {
        SoundFromPicture();
        // A paused channel stays silent until play goes on.
        sound_.Open(kSoundPreset, paused_);
    }
    soundOn_ = true;
    return 0;
}

void CPlayer::SoundFromPicture() {
    uint64_t shown = position_.current.Load();
    if (shown != 0) audioQueue_.SkipTo(shown);
    else audioQueue_.Clear();
}

int CPlayer::QueuedSoundFrames() { return audioQueue_.Count(); }

bool CPlayer::OldestSoundTime(uint64_t* timestamp) { return audioQueue_.PeekTime(timestamp) != 0; }

int CPlayer::SoundOff() {
    if (!soundOn_) return 1;
    sound_.Stop();
    soundOn_ = false;
    return 0;
}

int CPlayer::SetVolume(int volume) {
    sound_.SetVolume(uint16_t(volume & 0xFFFF));
    return 0;
}

int CPlayer::CaptureBmp(const char* path, CaptureFrameInfo* info) {
    if (videoDecoder_) videoDecoder_->CaptureBmp(path, info);
    return 0;
}

int CPlayer::ShowOsd(const char* text, int corner) {
    display_.SetOsd(text ? text : "", corner);
    return 0;
}

int CPlayer::GetFileInfo(FileInfo* info) {
    if (!info) return 1;
    *info = fileInfo_;
    return 0;
}

int CPlayer::GetTimeRange(uint64_t* first, uint64_t* last) {
    if (first) *first = fileInfo_.firstTimestamp;
    if (last) *last = fileInfo_.lastTimestamp;
    return 0;
}

int CPlayer::GetPlayTime(int* ms) {
    if (!ms) return 1;
    *ms = PlayTimeMs(position_.current.Load(), fileInfo_.firstTimestamp);
    return 0;
}

int CPlayer::SetInfoCallback(void* user, InfoFrameCallBackProc callback) {
    CAutoLock hold(infoLock_);
    infoUser_ = user;
    infoCallback_ = callback;
    return 0;
}

int CPlayer::SetEndCallback(void* user, EndCallBackProc callback) {
    CAutoLock hold(endLock_);
    endUser_ = user;
    endCallback_ = callback;
    return 0;
}

bool CPlayer::IsMaster() {
    CAutoLock hold(syncLock_);
    return master_;
}

void CPlayer::SetMaster(bool master) {
    CAutoLock hold(syncLock_);
    master_ = master;
}

void CPlayer::SetSlave(bool slave) {
    CAutoLock hold(syncLock_);
    // A slave made master paces by its own clock again, from now on.
    if (slave_ && !slave) promoted_ = true;
    // A channel made slave knows no step of its new master yet: the
    // master's first time holds it there. (A step taken from the time an
    // earlier master left behind would move the clock on by itself, and
    // a master whose file has ended, whose time stands, would be followed
    // past its last picture.)
    if (!slave_ && slave) {
        masterTime_ = 0;
        masterStepUs_ = 0;
    }
    slave_ = slave;
}

void CPlayer::SetMasterTime(uint64_t timestamp) {
    uint32_t now = Now();
    CAutoLock hold(syncLock_);
    // A step forward of up to a few seconds is the master playing on; the
    // same time again (slaving), a jump or a step back is none.
    bool step = masterTime_ != 0 && timestamp > masterTime_ && timestamp - masterTime_ <= 5000000u;
    masterStepUs_ = step ? timestamp - masterTime_ : 0;
    masterTime_ = timestamp;
    masterTick_ = now;
}

int CPlayer::ProbeFile(FileInfo* out, const char* path) {
    if (!out || !path) return 1;
    CFileQuib* reader = new (std::nothrow) CFileQuib;
    if (!reader) return 1;
    int result = reader->ProbeFileParam(out, path);
    delete reader;
    return result;
}

int CPlayer::PlayThread(void* self) { return static_cast<CPlayer*>(self)->RunThread(); }

int CPlayer::RunThread() {
    {
        CAutoLock hold(stateLock_);
        Prime();
        clock_.credit = 0;
        clock_.tick = redrawTick_ = Now();
    }
    while (!thread_.StopRequested()) {
        CAutoLock hold(stateLock_);
        ServeSeek();
        if (paused_) {
            hold.Unlock();
            Rest(kIdleMs);
        } else {
            // Backward play does nothing on a camera file: rest, don't spin.
            uint32_t rest = !reverse_ ? NormalStep() : !IsCamera() ? ReverseStep() : kIdleMs;
            hold.Unlock();
            if (rest) Rest(rest);
            else SwitchToThread();
        }
        uint32_t now = Now();
        if (IsDue(&redrawTick_, kRedrawMs, now)) {
            if (videoDecoder_) videoDecoder_->Redraw();
            redrawTick_ = now;
        }
    }
    return 0;
}

// The steps run under the state lock and give how long to rest; the rest
// comes after the lock is released, so a caller never waits more than a pass.
uint32_t CPlayer::NormalStep() {
    // Information packets wait for the next picture; a queue holding only
    // those has no picture to show and must be read further, or fast play
    // would stall on the last frame's information.
    int queued = HasQueuedVideo() ? videoQueue_.Count() : 0;
    switch (ForwardReadAhead(IsCamera(), rate_, queued)) {
    case ReadAhead::kNextIFrame: QueueIFrame(true); break;
    case ReadAhead::kRefill: Refill(kRefillPackets); break;
    case ReadAhead::kNothing: break;
    }
    ForwardSync sync;
    if (!SyncNormal(&sync)) {
        // A slave with no picture left reports its own end, when its own
        // pictures run out, whether or not it ever leads.
        if (readerExhausted_) EndOfPictures();
        return kIdleMs;
    }
    uint32_t rest = 0;
    uint32_t interval;
    if (FrameInterval(&interval)) {
        // The master paces by its own clock, a slave by the master's (the
        // rule and why: ForwardDue); a slave wakes up for the moment the
        // master's clock reaches its next picture.
        if (ForwardDue(&clock_, interval, sync.slave, sync.next, sync.masterClock, sync.promoted, Now())) {
            DecodeNext();
            // Rest until the next picture is due, worked out now: one wake-up
            // a picture, not a second pass straight after each one only to
            // find the next not due yet. (Read-ahead waits for that pass.)
            rest = RestAfterDecode();
        } else if (sync.slave)
            rest = std::min(interval, SlaveWaitMs(sync.next, sync.masterClock));
        else
            rest = PaceWaitMs(clock_, interval, Now());
        if (sync.promoted) {
            CAutoLock hold(syncLock_);
            promoted_ = false;
        }
    } else if (readerExhausted_) {
        EndOfPictures();
        rest = kIdleMs;
    }
    if (ForwardEndCheck(&stepCounter_, !HasQueuedVideo(), readerExhausted_, rate_)) {
        EndOfPictures();
        paused_ = true;
    }
    return rest;
}

uint32_t CPlayer::RestAfterDecode() {
    if (videoQueue_.Count() < kRefillPackets && !readerExhausted_) return 0;   // read ahead first
    ForwardSync sync;
    uint32_t interval;
    if (!SyncNormal(&sync) || !FrameInterval(&interval)) return 0;
    if (sync.slave) return std::min(interval, SlaveWaitMs(sync.next, sync.masterClock));
    return PaceWaitMs(clock_, interval, Now());
}

uint32_t CPlayer::ReverseStep() {
    if (!HasQueuedVideo()) QueueIFrame(false);
    if (!SyncReverse()) {
        // As forward: a slave back at its first I-frame reports its end.
        if (readerExhausted_) EndOfPictures();
        return kIdleMs;
    }
    uint32_t interval;
    if (ReverseFrameInterval(&interval)) {
        if (Pace(&clock_, interval, Now())) DecodeNext();
        else return PaceWaitMs(clock_, interval, Now());
    } else if (readerExhausted_) {
        EndOfPictures();
        return kIdleMs;
    }
    return 0;
}

bool CPlayer::HasQueuedVideo() {
    uint64_t next;
    return videoQueue_.PeekVideoTime(&next) != 0;
}

void CPlayer::EndOfPictures() {
    // The last picture's information has no next picture to come before:
    // hand it on now (DecodeNext finds no picture after it), then report.
    DecodeNext();
    OnEnd();
}

void CPlayer::Prime() {
    Refill(5);
    for (int k = 0; k < 3; ++k) DecodeNext();
}

void CPlayer::Refill(int count) {
    if (!reader_) return;
    for (int k = 0; k < count; ++k) {
        RecPacket* packet = nullptr;
        RecPacket* info = nullptr;
        if (reader_->ReadPacket(&packet, &info) != 0) {
            readerExhausted_ = true;
            return;
        }
        QueuePacket(packet);
        QueuePacket(info);
        readerExhausted_ = false;
        CAutoLock hold(endLock_);
        endLatch_.Rearm();
    }
}

void CPlayer::QueuePacket(RecPacket* packet) {
    if (!packet) return;
    PacketDescriptor d;
    d.timestamp = packet->timestamp;
    if (packet->type == rec::kPacketAudio) {
        uint32_t frame = audioDecoder_ ? uint32_t(audioDecoder_->InputFrameBytes()) : 0;
        d.type = rec::kPacketAudio;
        d.length = int32_t(frame);
        for (uint32_t at = 0; frame && at + frame <= packet->length; at += frame)
            audioQueue_.Push(d, packet->data + at);
    } else {
        d.type = int32_t(packet->type);
        d.length = int32_t(packet->length);
        videoQueue_.Push(d, packet->data);
    }
    reader_->ReleasePacket(packet);
}

int CPlayer::QueueIFrame(bool next) {
    RecPacket* packet = nullptr;
    RecPacket* info = nullptr;
    auto step = [&] {
        return next ? reader_->NextIFrame(&packet, &info) : reader_->PrevIFrame(&packet, &info);
    };
    int failed = step();
    // Backward play goes on from the picture shown. The reader turns where
    // it last read, which lies ahead of that picture by what was read ahead
    // (up to an I-frame at fast rates, some packets at others): I-frames
    // after the shown picture are passed over. Each step moves back, and
    // the first I-frame of the file ends the search.
    const uint64_t shown = position_.current.Load();
    for (int k = 0; !next && !failed && packet && shown != 0 && packet->timestamp > shown &&
                    k < kTurnSkips;
         ++k) {
        reader_->ReleasePacket(packet);
        if (info) reader_->ReleasePacket(info);
        packet = info = nullptr;
        failed = step();
    }
    if (failed || !packet) {
        if (info) reader_->ReleasePacket(info);
        readerExhausted_ = true;
        return 0;
    }
    // The I-frame's information goes just before it: DecodeNext hands it on
    // as the picture is shown, so fast and backward play move the panels
    // with each picture they show, as normal play does with every frame.
    QueuePacket(info);
    QueuePacket(packet);
    readerExhausted_ = false;
    CAutoLock hold(endLock_);
    endLatch_.Rearm();
    return 1;
}

void CPlayer::DecodeNext() {
    PacketDescriptor d;
    for (;;) {
        // A packet longer than the frame buffer is dropped by the queue.
        if (videoQueue_.Pop(&d, frameBuffer_, int32_t(kFrameBufferSize)) != PacketQueue::kPopOk)
            return;
        if (d.type != rec::kPacketInfo) break;
        // Only the sync channel's information reaches the callback: a
        // channel that was the sync channel keeps its callback installed
        // when the lead moves on, and two channels would feed the panels.
        if (!IsMaster()) continue;
        CAutoLock hold(infoLock_);
        if (infoCallback_)
            infoCallback_(frameBuffer_, uint32_t(d.length), uint32_t(d.timestamp),
                          uint32_t(d.timestamp >> 32), infoUser_);
    }
    static const CaptureFrameInfo kNoSide = {};
    if (videoDecoder_)
        videoDecoder_->Decode(d.type, frameBuffer_, uint32_t(d.length), uint32_t(d.timestamp),
                              uint32_t(d.timestamp >> 32), &kNoSide);
    position_.lastDecoded.Store(d.timestamp);
    position_.current.Store(d.timestamp);
    if (IsMaster() && owner_) owner_->PassTime(d.timestamp);
    redrawTick_ = Now();
}

bool CPlayer::FrameInterval(uint32_t* ms) {
    uint64_t next = 0;
    if (!videoQueue_.PeekVideoTime(&next)) return false;
    uint64_t last = position_.lastDecoded.Load();
    uint32_t base = last == 0 ? kNominalIntervalMs : IntervalMs(last, next);
    *ms = ForwardIntervalMs(base, rate_, IsCamera());
    return true;
}

bool CPlayer::ReverseFrameInterval(uint32_t* ms) {
    uint64_t next = 0;
    if (!videoQueue_.PeekVideoTime(&next)) return false;
    uint64_t last = position_.lastDecoded.Load();
    uint32_t base = last == 0 ? kNominalIntervalMs : IntervalMs(next, last);
    *ms = ReverseIntervalMs(base, rate_);
    return true;
}

int CPlayer::SyncNormal(ForwardSync* sync) {
    CAutoLock hold(syncLock_);
    sync->slave = slave_;
    sync->promoted = promoted_;
    if (!slave_) return 1;
    if (!videoQueue_.PeekVideoTime(&sync->next)) {
        if (videoQueue_.Count() > 0) videoQueue_.Clear();
        return 0;
    }
    // The master's clock, not its last picture (see ForwardDue).
    uint32_t now = Now();
    uint64_t last = position_.lastDecoded.Load();
    uint32_t recording = last == 0 ? kNominalIntervalMs : IntervalMs(last, sync->next);
    uint32_t wall = ForwardIntervalMs(recording, rate_, IsCamera());
    sync->masterClock = MasterClock(masterTime_, masterStepUs_, now - masterTick_, recording, wall);
    return 1;
}

int CPlayer::SyncReverse() {
    CAutoLock hold(syncLock_);
    if (promoted_) {
        // Made master: its own clock from now on (see ForwardDue).
        promoted_ = false;
        clock_.tick = Now();
        clock_.credit = 0;
    }
    if (!slave_) return 1;
    uint64_t next = 0;
    if (!videoQueue_.PeekVideoTime(&next)) {
        if (videoQueue_.Count() > 0) videoQueue_.Clear();
        return 0;
    }
    SyncSlaveReverse(&clock_, next, masterTime_, Now());
    return 1;
}

void CPlayer::OnEnd() {
    // Once per end: the playing mark and the owner's choice of sync channel,
    // then the callback. Reading a packet again re-arms it. The owner chooses
    // first: a caller answering the report (by setting the sync channel) may
    // do so before the callback returns, and must not be overridden.
    CAutoLock hold(endLock_);
    if (!endLatch_.Take()) return;
    if (owner_) owner_->ChannelEnded(channel_);
    if (endCallback_) endCallback_(channel_, endUser_);
}

void CPlayer::ResetClock() {
    clock_.tick = Now();
    clock_.credit = 0;
    position_.lastDecoded.Store(0);
}

void CPlayer::ClearQueues() {
    videoQueue_.Clear();
    audioQueue_.Clear();
}
