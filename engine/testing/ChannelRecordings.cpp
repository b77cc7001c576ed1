#include "ChannelRecordings.h"

#include "AudioFraming.h"
#include "DemoCard.h"
#include "H264Stream.h"
#include "RecordWriter.h"
#include "Ostrivel.h"

#include <vector>

namespace e2e {

uint64_t GroupStart() { return recwriter::TimestampOf(2026, 12, 10, 83000); }

bool WriteChannelRecording(const std::string& path, int channel, uint64_t offsetUs, size_t frames) {
    std::vector<uint8_t> stream, codes;
    if (!recwriter::ReadBytes("coded_ch" + std::to_string(channel) + ".h264", &stream)) return false;
    if (!recwriter::ReadBytes("../voice/fixtures/speech.g726", &codes)) return false;
    std::vector<recwriter::H264Frame> pictures = recwriter::SplitAnnexB(stream);
    recwriter::AudioFrames sound = recwriter::FrameG726Codes(codes);
    if (pictures.size() < frames || sound.empty()) return false;

    recwriter::HeaderSpec spec;
    spec.audioCodec = 2;
    spec.channels[0] = uint8_t(channel + 1);
    spec.text4 = "CH" + std::to_string(channel + 1);
    recwriter::RecordWriter w(spec, unsigned(channel));
    const uint64_t first = GroupStart() + offsetUs;
    for (size_t k = 0; k < frames; ++k) {
        uint64_t at = first + k * kFrameUs;
        InfoFrame info{};
        info.year = 26;
        info.month = 12;
        info.day = 10;
        info.hour = 8;
        info.minute = 30;
        info.second = uint8_t(at / 1000000 % 60);
        info.gpsValid = 'A';
        info.speedKmh = uint16_t(k);
        info.heading = uint16_t(channel);
        w.AddVideo(pictures[k].intra, at, pictures[k].bytes, &info);
        w.AddAudio(2, sound[k % sound.size()]);
    }
    w.Finish();
    return w.WriteFile(path);
}

}  // namespace e2e
