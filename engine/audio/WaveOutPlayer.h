// A channel's sound output: two buffers circulate through the wave device;
// each one the device hands back is refilled from the audio queue (decoded
// and amplified) and queued again.
//
// Threads: Open, Stop, SetPaused and SetVolume run on the player's caller
// threads; refills run on the device's callback thread. No lock: the refill
// counts itself in before it looks at the stopping flag, so Stop, which sets
// that flag and then waits for the count to drop to 0, never resets or
// closes the device under a running refill.
#pragma once

#include "AudioDecoder.h"
#include "PacketQueue.h"
#include "VoiceEngine.h"
#include "WaveDevice.h"

#include <stdint.h>

class WaveOutPlayer : public WaveDeviceSink {
public:
    enum State { kOpen = 0, kClosing = 1, kClosed = 2 };
    static const int kFrameScratchBytes = 1400;

    WaveOutPlayer();                              // the default waveOut device
    explicit WaveOutPlayer(WaveDevice* device);   // not owned; null: the default device
    ~WaveOutPlayer() override;
    WaveOutPlayer(const WaveOutPlayer&) = delete;
    WaveOutPlayer& operator=(const WaveOutPlayer&) = delete;

    void SetSource(PacketQueue* queue, CADEC* decoder) {
        queue_ = queue;
        decoder_ = decoder;
    }

    // 1 when the device plays; 0 when it was already open or cannot be
    // opened (then nothing is left open or allocated). `paused`: it starts
    // paused, so that not one buffer of sound is heard before SetPaused.
    int Open(int preset, bool paused = false);
    void Stop();
    void SetPaused(bool paused) { InterlockedExchange(&paused_, paused ? 1 : 0); }
    // Both halves of the device volume; kept while closed, applied on Open.
    void SetVolume(uint16_t volume);

    void OnDeviceMessage(UINT message, WAVEHDR* header) override;

    int StateNow() const { return int(state_); }
    int ShortFills() const { return shortFills_; }
    int BufferSize() const { return bufferSize_; }
    WAVEHDR* Header(int i) { return &headers_[i]; }

    // Fills one buffer of BufferSize() bytes: silence when paused, else
    // decoded frames; samples of a frame past the end wait for the next
    // buffer, and a short fill ends in silence.
    void Fill(uint8_t* buffer);

private:
    void Refill(WAVEHDR* header);
    void CloseDevice();       // reset, unprepare, close; buffers freed when closed
    void ReturnBuffers();     // reset, then unprepare both headers (bounded waits)
    void FreeBuffers();

    WAVEHDR headers_[2];
    volatile LONG state_ = kClosed;
    WaveDevice* device_;
    WaveDevice* ownedDevice_ = nullptr;
    int32_t shortFills_ = 0;
    uint8_t* buffers_[2] = {nullptr, nullptr};
    int32_t bufferSize_ = 0;
    PacketQueue* queue_ = nullptr;
    CADEC* decoder_ = nullptr;
    volatile LONG paused_ = 0;
    volatile LONG inCallback_ = 0;
    volatile LONG stopping_ = 0;
    bool haveVolume_ = false;
    uint16_t volume_ = 0;
    // Refill scratch, used on the callback thread only.
    uint8_t frame_[kFrameScratchBytes];
    int16_t decoded_[kVoiceMaxFrameSamples];
    int16_t carry_[kVoiceMaxFrameSamples];
    int carryCount_ = 0;
};
