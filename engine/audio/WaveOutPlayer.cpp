#include "WaveOutPlayer.h"

#include <new>
#include <string.h>

namespace {

struct Preset {
    WAVEFORMATEX format;
    int32_t bufferBytes;
};

bool PresetOf(int preset, Preset* p) {
    memset(p, 0, sizeof(*p));
    WAVEFORMATEX& f = p->format;
    switch (preset) {
    case 0: f = {7, 1, 8000, 8000, 1, 8, 0}; p->bufferBytes = 508; return true;       // mu-law
    // Stereo 48 kHz; its 22 extra format bytes are not carried, so none are claimed.
    case 1: f = {WAVE_FORMAT_PCM, 2, 48000, 192000, 4, 16, 0}; p->bufferBytes = 9216; return true;
    case 2: f = {WAVE_FORMAT_PCM, 1, 8000, 16000, 2, 16, 0}; p->bufferBytes = 4050; return true;
    case 3: f = {WAVE_FORMAT_PCM, 1, 8000, 16000, 2, 16, 0}; p->bufferBytes = 1280; return true;
    default: return false;
    }
}

// Bounded waits: the device answers within these or is given up on.
const int kWaitStepMs = 10;
const int kCloseWaitMs = 2000;
const int kCloseTries = 3;

}  // namespace

WaveOutPlayer::WaveOutPlayer() : WaveOutPlayer(nullptr) {}

WaveOutPlayer::WaveOutPlayer(WaveDevice* device) : device_(device) {
    if (!device_) {
        ownedDevice_ = new (std::nothrow) WinWaveDevice;
        device_ = ownedDevice_;
    }
    memset(headers_, 0, sizeof(headers_));
}

WaveOutPlayer::~WaveOutPlayer() {
    Stop();
    FreeBuffers();
    delete ownedDevice_;
}

void WaveOutPlayer::FreeBuffers() {
    for (uint8_t*& b : buffers_) {
        delete[] b;
        b = nullptr;
    }
}

int WaveOutPlayer::Open(int preset, bool paused) {
    if (state_ != kClosed || !device_) return 0;
    Preset p;
    if (!PresetOf(preset, &p)) return 0;
    FreeBuffers();
    for (uint8_t*& b : buffers_) {
        b = new (std::nothrow) uint8_t[size_t(p.bufferBytes)];
        if (!b) {
            FreeBuffers();
            return 0;
        }
        memset(b, 0, size_t(p.bufferBytes));   // 16-bit silence
    }
    bufferSize_ = p.bufferBytes;
    for (int i = 0; i < 2; ++i) {
        memset(&headers_[i], 0, sizeof(WAVEHDR));
        headers_[i].lpData = reinterpret_cast<LPSTR>(buffers_[i]);
        headers_[i].dwBufferLength = DWORD(p.bufferBytes);
        headers_[i].dwLoops = 1;
    }
    carryCount_ = 0;
    shortFills_ = 0;
    InterlockedExchange(&paused_, paused ? 1 : 0);
    InterlockedExchange(&stopping_, 0);

    if (device_->Open(p.format, this) != MMSYSERR_NOERROR) {
        FreeBuffers();
        return 0;
    }
    // Open before the first write: a buffer can come back before Write returns.
    InterlockedExchange(&state_, kOpen);
    bool ok = device_->Prepare(&headers_[0]) == MMSYSERR_NOERROR &&
              device_->Prepare(&headers_[1]) == MMSYSERR_NOERROR;
    if (ok && haveVolume_) device_->SetVolume(MAKELONG(volume_, volume_));
    ok = ok && device_->Write(&headers_[0]) == MMSYSERR_NOERROR &&
         device_->Write(&headers_[1]) == MMSYSERR_NOERROR;
    if (!ok) {
        InterlockedExchange(&stopping_, 1);
        while (inCallback_ != 0) Sleep(kWaitStepMs);
        CloseDevice();
        return 0;
    }
    return 1;
}

void WaveOutPlayer::Stop() {
    if (state_ != kOpen) return;
    InterlockedExchange(&stopping_, 1);
    // A refill is bounded (at most a buffer's worth of frames), so this ends.
    while (inCallback_ != 0) Sleep(kWaitStepMs);
    CloseDevice();
}

void WaveOutPlayer::ReturnBuffers() {
    device_->Reset();
    // Unprepare here, never in the close notification: the device must be
    // done with both buffers before it is closed.
    for (WAVEHDR& h : headers_) {
        if (!(h.dwFlags & WHDR_PREPARED)) continue;
        for (int waited = 0; device_->Unprepare(&h) == WAVERR_STILLPLAYING && waited < kCloseWaitMs;
             waited += kWaitStepMs)
            Sleep(kWaitStepMs);
    }
}

void WaveOutPlayer::CloseDevice() {
    InterlockedExchange(&state_, kClosing);
    ReturnBuffers();
    bool closed = device_->Close() == MMSYSERR_NOERROR;
    // A close the device refuses (most often because a buffer had not come
    // back yet) is tried again once the buffers are back, a bounded number
    // of times. A device that still refuses is forgotten: the next Open
    // opens afresh, where keeping its handle would refuse every later open
    // and leave the channel silent for good.
    for (int tries = 1; !closed && tries < kCloseTries; ++tries) {
        Sleep(kWaitStepMs);
        ReturnBuffers();
        closed = device_->Close() == MMSYSERR_NOERROR;
    }
    if (!closed) device_->Forget();
    for (int waited = 0; closed && state_ != kClosed && waited < kCloseWaitMs; waited += kWaitStepMs)
        Sleep(kWaitStepMs);
    InterlockedExchange(&state_, kClosed);
    if (closed) {
        FreeBuffers();
    } else {
        // The device may still read them: leave them to it rather than free
        // memory in use.
        buffers_[0] = buffers_[1] = nullptr;
    }
}

void WaveOutPlayer::SetVolume(uint16_t volume) {
    volume_ = volume;
    haveVolume_ = true;
    if (state_ == kOpen) device_->SetVolume(MAKELONG(volume, volume));
}

void WaveOutPlayer::OnDeviceMessage(UINT message, WAVEHDR* header) {
    if (message == WOM_CLOSE) {
        InterlockedExchange(&state_, kClosed);
    } else if (message == WOM_DONE && header && state_ == kOpen) {
        Refill(header);
    }
}

void WaveOutPlayer::Refill(WAVEHDR* header) {
    // Count in first, then look at the flag: Stop sets the flag and then
    // waits for the count, so it cannot miss this refill.
    InterlockedIncrement(&inCallback_);
    if (!stopping_) {
        Fill(reinterpret_cast<uint8_t*>(header->lpData));
        device_->Write(header);
    }
    InterlockedDecrement(&inCallback_);
}

void WaveOutPlayer::Fill(uint8_t* buffer) {
    int16_t* out = reinterpret_cast<int16_t*>(buffer);
    const int room = bufferSize_ / 2;
    if (paused_ || !queue_ || !decoder_) {
        memset(buffer, 0, size_t(bufferSize_));
        return;
    }
    int filled = carryCount_ < room ? carryCount_ : room;
    memcpy(out, carry_, size_t(filled) * 2);
    carryCount_ -= filled;
    memmove(carry_, carry_ + filled, size_t(carryCount_) * 2);

    const int frameBytes = decoder_->InputFrameBytes();
    while (filled < room) {
        PacketDescriptor d;
        PacketQueue::PopResult r = queue_->Pop(&d, frame_, kFrameScratchBytes);
        if (r == PacketQueue::kPopEmpty) break;
        if (r != PacketQueue::kPopOk || d.length < frameBytes) continue;
        int16_t n = 0;
        if (!decoder_->Decode(frame_, decoded_, kVoiceMaxFrameSamples, &n)) continue;
        int take = n < room - filled ? n : room - filled;
        memcpy(out + filled, decoded_, size_t(take) * 2);
        filled += take;
        carryCount_ = n - take;
        memcpy(carry_, decoded_ + take, size_t(carryCount_) * 2);
    }
    if (filled < room) {
        ++shortFills_;
        memset(out + filled, 0, size_t(room - filled) * 2);
    } else {
        shortFills_ = 0;
    }
}
