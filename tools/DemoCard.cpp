#include "DemoCard.h"

#include "DemoRoute.h"
#include "RecordWriter.h"
#include "VoiceEngine.h"

#include <stdio.h>

namespace recwriter {

std::string RecordFileName(int channel, int startHms, int endHms, char standard, char resolution,
                           char frameRate) {
    char name[64];
    snprintf(name, sizeof(name), "100-%02d-%06d-%06d-%c%c%c000.h264", channel, startHms, endHms, standard,
             resolution, frameRate);
    return name;
}

int AddSecondsHms(int hms, int seconds) {
    int total = hms / 10000 * 3600 + hms / 100 % 100 * 60 + hms % 100 + seconds;
    total %= 86400;
    return total / 3600 * 10000 + total / 60 % 60 * 100 + total % 60;
}

static int64_t DaysFromCivil(int y, int m, int d) {
    // Days since 1970-01-01 of a proleptic Gregorian date.
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

uint64_t TimestampOf(int year, int month, int day, int hms) {
    int64_t days = DaysFromCivil(year, month, day) - DaysFromCivil(2000, 1, 1);
    int64_t secs = days * 86400 + hms / 10000 * 3600 + hms / 100 % 100 * 60 + hms % 100;
    return uint64_t(secs) * 1000000u;
}

static void DateBytes(const DemoRecording& r, int hms, uint8_t out[6]) {
    out[0] = uint8_t(r.year - 2000);
    out[1] = uint8_t(r.month);
    out[2] = uint8_t(r.day);
    out[3] = uint8_t(hms / 10000);
    out[4] = uint8_t(hms / 100 % 100);
    out[5] = uint8_t(hms % 100);
}

uint64_t AudioFrameUs(int codec) {
    int samples = codec == 2 ? kVoiceG726FrameSamples : kVoiceAdpcmFrameSamples;
    return uint64_t(samples) * 1000000u / 8000u;
}

std::vector<uint8_t> BuildDemoRecording(const DemoRecording& r, const std::vector<H264Frame>& frames,
                                        const AudioFrames* audio) {
    HeaderSpec spec;
    if (audio && r.audioCodec) spec.audioCodec = uint8_t(r.audioCodec);
    int endHms = AddSecondsHms(r.startHms, r.seconds);
    DateBytes(r, r.startHms, spec.start);
    DateBytes(r, endHms, spec.end);
    spec.channels[0] = uint8_t(r.channel);
    spec.text1 = "ZV-0042";
    spec.text2 = "Zarv demo";
    spec.text3 = "Fleet 7";
    spec.text4 = "CH" + std::to_string(r.channel);
    RecordWriter w(spec, unsigned(r.channel - 1) & 0xF);

    DemoRoute route(r.startLatitude, r.startLongitude);
    const double step = 1.0 / r.fps;
    for (double t = 0; t + step / 2 < r.routeOffset; t += step) route.Step(step);

    uint64_t base = TimestampOf(r.year, r.month, r.day, r.startHms) + r.startOffsetUs;
    const uint64_t frameUs = 1000000u / uint64_t(r.fps);
    const uint64_t audioUs = AudioFrameUs(r.audioCodec);
    size_t nextAudio = 0;
    for (size_t k = 0; k < frames.size(); ++k) {
        const VehicleState& s = k == 0 ? route.State() : route.Step(step);
        uint8_t date[6];
        DateBytes(r, AddSecondsHms(r.startHms, int(k / size_t(r.fps))), date);
        InfoFrame info = MakeInfoFrame(s, date);
        if (r.infoBlock)
            w.AddVideo(frames[k].intra, base + k * frameUs, frames[k].bytes, r.infoBlock(k, info));
        else
            w.AddVideo(frames[k].intra, base + k * frameUs, frames[k].bytes, &info);
        if (!audio || !r.audioCodec) continue;
        // The packet stays within its 16-bit payload length.
        std::vector<uint8_t> payload;
        while (nextAudio < audio->size() && nextAudio * audioUs < (k + 1) * frameUs &&
               payload.size() + (*audio)[nextAudio].size() <= 0xFFFF) {
            const std::vector<uint8_t>& f = (*audio)[nextAudio++];
            payload.insert(payload.end(), f.begin(), f.end());
        }
        if (!payload.empty()) w.AddAudio(unsigned(r.audioCodec), payload);
    }
    return w.Finish();
}

}  // namespace recwriter
