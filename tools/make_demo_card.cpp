// make_demo_card STREAMS OUT
// Reads STREAMS/chC-R.h264 (channel C = 1..4, recording R = 0, 1: Annex B
// H.264, 25 frames a second, one minute each) and writes the card folder
// OUT/YYYYMMDD with one record file per channel and recording.
#include "DemoCard.h"
#include "RecordWriter.h"

#include <windows.h>

#include <stdio.h>
#include <string>

using namespace recwriter;

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: make_demo_card STREAMS OUT\n");
        return 2;
    }
    std::string streams = argv[1], out = argv[2];
    DemoRecording base;
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
            std::string name = RecordFileName(channel, r.startHms, AddSecondsHms(r.startHms, r.seconds));
            std::string path = folder + "\\" + name;
            if (!WriteBytes(path, BuildDemoRecording(r, frames))) {
                fprintf(stderr, "make_demo_card: cannot write %s\n", path.c_str());
                return 1;
            }
            printf("%s (%zu frames)\n", name.c_str(), frames.size());
        }
    }
    return 0;
}
