// make_demo_card STREAMS OUT [LATITUDE LONGITUDE]
// Reads STREAMS/chC-R.h264 (channel C = 1..4, recording R = 0, 1: Annex B
// H.264, 25 frames a second, one minute each) and writes the card folder
// OUT/YYYYMMDD with one record file per channel and recording. Sound comes
// from STREAMS/chC-R.g726 (raw G.726, 40 kbit/s) or STREAMS/chC-R.ima.wav
// (IMA ADPCM in 256-byte blocks) where one is there. The drive starts at
// the given position (degrees, negative south and west) or in Hangzhou.
#include "DemoCard.h"
#include "RecordWriter.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string>

using namespace recwriter;

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        fprintf(stderr, "usage: make_demo_card STREAMS OUT [LATITUDE LONGITUDE]\n");
        return 2;
    }
    std::string streams = argv[1], out = argv[2];
    DemoRecording base;
    if (argc == 5) {
        base.startLatitude = atof(argv[3]);
        base.startLongitude = atof(argv[4]);
    }
    char day[16];
    snprintf(day, sizeof(day), "%04d%02d%02d", base.year, base.month, base.day);
    std::string folder = out + "\\" + day;
    CreateDirectoryA(out.c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int channel = 1; channel <= 4; ++channel) {
        for (int rec = 0; rec < 2; ++rec) {
            std::string in = streams + "\\ch" + std::to_string(channel) + "-" + std::to_string(rec) + ".h264";
            std::vector<uint8_t> stream;
            if (!ReadBytes(in, &stream)) {
                fprintf(stderr, "make_demo_card: cannot read %s\n", in.c_str());
                return 1;
            }
            std::vector<H264Frame> frames = SplitAnnexB(stream);
            DemoRecording r = base;
            r.channel = channel;
            r.startHms = AddSecondsHms(base.startHms, rec * base.seconds);
            r.routeOffset = rec * base.seconds;
            r.seconds = int(frames.size() / size_t(r.fps));
            // Sound, where the streams have it.
            AudioFrames audio;
            std::vector<uint8_t> bytes, blocks;
            std::string sound = streams + "\\ch" + std::to_string(channel) + "-" + std::to_string(rec);
            if (ReadBytes(sound + ".g726", &bytes)) {
                audio = FrameG726Codes(bytes);
                r.audioCodec = 2;
            } else if (ReadBytes(sound + ".ima.wav", &bytes) && ReadWavData(bytes, &blocks)) {
                audio = FrameImaBlocks(blocks, 256);
                r.audioCodec = 3;
            }
            std::string name = RecordFileName(channel, r.startHms, AddSecondsHms(r.startHms, r.seconds));
            std::string path = folder + "\\" + name;
            if (!WriteBytes(path, BuildDemoRecording(r, frames, &audio))) {
                fprintf(stderr, "make_demo_card: cannot write %s\n", path.c_str());
                return 1;
            }
            printf("%s (%zu frames, %zu sound frames)\n", name.c_str(), frames.size(), audio.size());
        }
    }
    return 0;
}
