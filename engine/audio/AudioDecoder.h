// Audio frame decoders: one recorder audio frame to amplified 16-bit PCM,
// 8,000 samples a second, mono, through the voice engine.
#pragma once

#include <windows.h>
#include <mmreg.h>

#include <stdint.h>

// The recorder's audio is quiet: every sample is amplified ten times and
// clipped to the 16-bit range.
int16_t AmplifySample(int16_t sample);

class CADEC {
public:
    CADEC();
    virtual ~CADEC() = default;
    CADEC(const CADEC&) = delete;
    CADEC& operator=(const CADEC&) = delete;

    // 1 when the voice engine restarted the codec, else 0.
    virtual int Reset() = 0;
    virtual int IsPassThrough() { return 1; }
    // Decodes one frame of InputFrameBytes() bytes into `output`, which has
    // room for `capacity` samples. 1 with *samples set on success; 0 when the
    // frame does not decode or its samples would not fit (nothing is written).
    virtual int Decode(const uint8_t* input, int16_t* output, int capacity, int16_t* samples);
    virtual int InputFrameBytes() const = 0;
    virtual int OutputBytes() const = 0;

    const WAVEFORMATEX& Format() const { return format_; }

protected:
    virtual void* CodecState() = 0;

    WAVEFORMATEX format_;
};

class CADECAdpcm : public CADEC {
public:
    CADECAdpcm();
    ~CADECAdpcm() override;
    int Reset() override;
    int IsPassThrough() override { return 0; }
    int InputFrameBytes() const override { return 168; }
    int OutputBytes() const override { return 1600; }

protected:
    void* CodecState() override { return state_; }

private:
    uint8_t state_[16];
};

class CADECG726 : public CADEC {
public:
    CADECG726();
    ~CADECG726() override;
    int Reset() override;
    int IsPassThrough() override { return 0; }
    int InputFrameBytes() const override { return 204; }
    int OutputBytes() const override { return 1280; }

protected:
    void* CodecState() override { return state_; }

private:
    uint8_t state_[128];
};

// The decoder for a recording's audio codec number: G.726 for 2, else ADPCM.
CADEC* CreateAudioDecoder(int codecNumber);
