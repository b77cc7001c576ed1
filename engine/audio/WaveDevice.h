// The waveOut calls of the sound output, behind a seam so that the refill
// logic can be driven without a sound card. Results are MMRESULT codes.
#pragma once

#include <windows.h>
#include <mmsystem.h>

// Told of the device's messages, on the device's own thread.
class WaveDeviceSink {
public:
    virtual ~WaveDeviceSink() = default;
    virtual void OnDeviceMessage(UINT message, WAVEHDR* header) = 0;
};

class WaveDevice {
public:
    virtual ~WaveDevice() = default;
    virtual MMRESULT Open(const WAVEFORMATEX& format, WaveDeviceSink* sink) = 0;
    virtual MMRESULT Prepare(WAVEHDR* header) = 0;
    virtual MMRESULT Write(WAVEHDR* header) = 0;
    virtual MMRESULT Reset() = 0;
    virtual MMRESULT Unprepare(WAVEHDR* header) = 0;
    virtual MMRESULT Close() = 0;
    virtual MMRESULT SetVolume(DWORD volume) = 0;
    // Lets go of a device that would not close: the next Open opens a new one.
    virtual void Forget() = 0;
};

// The default output device through waveOut.
class WinWaveDevice : public WaveDevice {
public:
    MMRESULT Open(const WAVEFORMATEX& format, WaveDeviceSink* sink) override;
    MMRESULT Prepare(WAVEHDR* header) override;
    MMRESULT Write(WAVEHDR* header) override;
    MMRESULT Reset() override;
    MMRESULT Unprepare(WAVEHDR* header) override;
    MMRESULT Close() override;
    MMRESULT SetVolume(DWORD volume) override;
    void Forget() override { handle_ = nullptr; }

private:
    HWAVEOUT handle_ = nullptr;
};
