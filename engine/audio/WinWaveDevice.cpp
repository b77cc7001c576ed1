#include "WaveDevice.h"

static void CALLBACK WaveOutProc(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR) {
    reinterpret_cast<WaveDeviceSink*>(instance)->OnDeviceMessage(message, reinterpret_cast<WAVEHDR*>(param1));
}

MMRESULT WinWaveDevice::Open(const WAVEFORMATEX& format, WaveDeviceSink* sink) {
    if (handle_) return MMSYSERR_ALLOCATED;
    HWAVEOUT h = nullptr;
    MMRESULT r = waveOutOpen(&h, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(&WaveOutProc),
                             reinterpret_cast<DWORD_PTR>(sink), CALLBACK_FUNCTION);
    if (r == MMSYSERR_NOERROR) handle_ = h;
    return r;
}

MMRESULT WinWaveDevice::Prepare(WAVEHDR* header) {
    return handle_ ? waveOutPrepareHeader(handle_, header, sizeof(WAVEHDR)) : MMSYSERR_INVALHANDLE;
}

MMRESULT WinWaveDevice::Write(WAVEHDR* header) {
    return handle_ ? waveOutWrite(handle_, header, sizeof(WAVEHDR)) : MMSYSERR_INVALHANDLE;
}

MMRESULT WinWaveDevice::Reset() { return handle_ ? waveOutReset(handle_) : MMSYSERR_INVALHANDLE; }

MMRESULT WinWaveDevice::Unprepare(WAVEHDR* header) {
    return handle_ ? waveOutUnprepareHeader(handle_, header, sizeof(WAVEHDR)) : MMSYSERR_INVALHANDLE;
}

MMRESULT WinWaveDevice::Close() {
    if (!handle_) return MMSYSERR_INVALHANDLE;
    MMRESULT r = waveOutClose(handle_);
    if (r == MMSYSERR_NOERROR) handle_ = nullptr;
    return r;
}

MMRESULT WinWaveDevice::SetVolume(DWORD volume) {
    return handle_ ? waveOutSetVolume(handle_, volume) : MMSYSERR_INVALHANDLE;
}
