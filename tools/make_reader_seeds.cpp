// Writes the reader fuzzer's seed corpus: record files of several shapes in
// the fuzzer's compact form (header, then the data from 0x10000).
#include "RecordWriter.h"

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

using recwriter::RecordWriter;

namespace {

std::vector<uint8_t> Body(size_t n, unsigned seed) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = uint8_t(0x80 | ((i * 5 + seed) & 0x7F));
    return v;
}

void Save(const std::string& dir, const char* name, RecordWriter& w) {
    const std::vector<uint8_t>& b = w.Finish();
    std::vector<uint8_t> compact(b.begin(), b.begin() + rec::kHeaderSize);
    compact.insert(compact.end(), b.begin() + rec::kDataStart, b.end());
    recwriter::WriteBytes(dir + "/" + name, compact);
}

void Gops(RecordWriter& w, int gops, int pframes, bool info, unsigned codec) {
    uint64_t ts = 1000000;
    InfoFrame f;
    memset(&f, 0, sizeof(f));
    for (int g = 0; g < gops; ++g) {
        f.second = uint8_t(g);
        w.AddVideo(true, ts, Body(300 + g * 40, g), info ? &f : nullptr);
        ts += 40000;
        for (int i = 0; i < pframes; ++i) {
            if (codec) w.AddAudio(codec, Body(168, 1));
            w.AddVideo(false, ts, Body(60 + i, 2), info && i % 2 ? &f : nullptr);
            ts += 40000;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: make_reader_seeds DIR\n");
        return 2;
    }
    std::string dir = argv[1];
    { RecordWriter w; Gops(w, 4, 6, true, 2); Save(dir, "gops", w); }
    { RecordWriter w; Gops(w, 2, 3, false, 3); Save(dir, "noinfo", w); }
    { recwriter::HeaderSpec s; s.camera = true; s.audioCodec = 3;
      RecordWriter w(s); Gops(w, 3, 2, true, 2); Save(dir, "camera", w); }
    { RecordWriter w; Gops(w, 2, 4, true, 2); w.MarkEndOfData(); Gops(w, 1, 2, true, 2); Save(dir, "endofdata", w); }
    { RecordWriter w; w.AddVideo(true, 5, Body(50, 1)); Save(dir, "single", w); }
    { RecordWriter w; Gops(w, 1, 1, true, 0); w.AddRaw(Body(900, 3)); Gops(w, 2, 2, true, 2); Save(dir, "garbage", w); }
    return 0;
}
