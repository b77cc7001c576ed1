// The demo card: recordings of four channels of one vehicle, two
// consecutive recordings per channel, written from H.264 streams.
#pragma once

#include "AudioFraming.h"
#include "H264Stream.h"
#include "Ostrivel.h"

#include <stddef.h>
#include <stdint.h>
#include <functional>
#include <string>
#include <vector>

namespace recwriter {

// A recording file name: "100-CC-HHMMSS-HHMMSS-SRF000.h264" (32 characters),
// as a recorder names a normal recording: its first character is a digit
// 1-9, the second the alarm sub-type (0: none).
// standard '0' PAL / '1' NTSC, resolution code '0'..'6', frame-rate character.
std::string RecordFileName(int channel, int startHms, int endHms, char standard = '0',
                           char resolution = '0', char frameRate = 'p');

// HHMMSS plus a number of seconds (within the day).
int AddSecondsHms(int hms, int seconds);

// Microseconds of a date and time counted from 2000-01-01 00:00:00.
uint64_t TimestampOf(int year, int month, int day, int hms);

struct DemoRecording {
    int channel = 1;               // 1..4
    int year = 2026, month = 12, day = 10;
    int startHms = 83000;
    uint64_t startOffsetUs = 0;    // first picture this long after startHms
    int seconds = 60;              // length
    int fps = 25;
    double routeOffset = 0;        // seconds of the drive before this recording
    int audioCodec = 0;            // 2 G.726, 3 ADPCM, 0 no sound
    double startLatitude = 30.2741, startLongitude = 120.1551;  // where the drive starts
    // When set: the information block of picture k (any length, empty for
    // none) in place of the drive's frame, which it is given.
    std::function<std::vector<uint8_t>(size_t k, const InfoFrame& drive)> infoBlock;
};

// Microseconds of sound in one audio frame of the codec (2 G.726, else ADPCM).
uint64_t AudioFrameUs(int codec);

// Builds the record file of one recording from its frames. The drive is
// the same for every channel, so the channels agree on where the vehicle is.
// Audio frames of r.audioCodec, when given, follow each video packet in one
// audio packet: the frames that start before the next picture is due.
std::vector<uint8_t> BuildDemoRecording(const DemoRecording& r, const std::vector<H264Frame>& frames,
                                        const AudioFrames* audio = nullptr);

}  // namespace recwriter
