// Benchmarks of the record-file reader: bytes a probe reads for a small and
// a large file, bytes a time seek reads, and the streaming rate of
// ReadPacket over a cached file.
#include "FileQuib.h"
#include "RecordWriter.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

using recwriter::RecordWriter;

namespace {

const uint64_t kFrame = 40000;
const int kGopFrames = 25;

std::vector<uint8_t> Body(size_t n, unsigned seed) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = uint8_t(0x80 | ((i * 5 + seed) & 0x7F));
    return v;
}

// Writes a recording of about `bytes` bytes: one GOP laid out once, then
// written again and again with its timestamps and back-link moved on.
bool MakeRecording(const std::string& path, uint64_t bytes, uint64_t* written) {
    RecordWriter w;
    InfoFrame info;
    memset(&info, 0, sizeof(info));
    w.AddVideo(true, 0, Body(30000, 1), &info, true);
    for (int i = 1; i < kGopFrames; ++i) {
        w.AddAudio(2, Body(336, 2));
        w.AddVideo(false, i * kFrame, Body(5000, 3), &info);
    }
    w.SetEndOfData(0);
    w.Finish();
    const std::vector<uint8_t>& all = w.Bytes();
    std::vector<uint8_t> gop(all.begin() + rec::kDataStart, all.end());
    const std::vector<recwriter::PacketPlace> places = w.Places();

    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    fwrite(all.data(), 1, rec::kDataStart, f);
    uint64_t at = rec::kDataStart;
    uint64_t lastIFrame = 0;
    for (uint64_t g = 0; at + gop.size() <= bytes || g == 0; ++g) {
        for (const recwriter::PacketPlace& p : places) {
            if (!rec::IsVideoTag(p.kind)) continue;
            uint8_t* t = gop.data() + (p.offset - rec::kDataStart);
            recwriter::StoreLE64(t + 16, g * kGopFrames * kFrame + p.timestamp);
            if (p.kind == rec::TagKind::IFrame) recwriter::StoreLE32(t + 24 + 32, uint32_t(lastIFrame));
        }
        lastIFrame = at;
        if (fwrite(gop.data(), 1, gop.size(), f) != gop.size()) {
            fclose(f);
            return false;
        }
        at += gop.size();
    }
    *written = at;
    return fclose(f) == 0;
}

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    return double(b.QuadPart - a.QuadPart) / double(freq.QuadPart);
}

}  // namespace

int main() {
    const struct { const char* name; uint64_t bytes; } files[] = {
        {"bench_10mb.h264", 10ull << 20},
        {"bench_1gb.h264", 1ull << 30},
    };
    for (const auto& spec : files) {
        uint64_t size = 0;
        if (!MakeRecording(spec.name, spec.bytes, &size)) {
            printf("cannot write %s\n", spec.name);
            return 1;
        }
        CFileQuib probe;
        FileInfo fi;
        memset(&fi, 0, sizeof(fi));
        if (probe.ProbeFileParam(&fi, spec.name) != 0) return 1;
        printf("%-16s size %12llu  probe read %8llu bytes\n", spec.name, (unsigned long long)size,
               (unsigned long long)probe.BytesRead());

        CFileQuib r;
        if (r.Open(spec.name) != 0) return 1;
        const uint32_t duration = r.GetFileInfo().durationMs;
        uint64_t before = r.BytesRead(), worst = 0;
        const int seeks = 50;
        for (int i = 0; i < seeks; ++i) {
            uint64_t b = r.BytesRead();
            r.SeekTime(int32_t(uint64_t(duration) * (i * 37 % seeks) / seeks), nullptr);
            if (r.BytesRead() - b > worst) worst = r.BytesRead() - b;
        }
        printf("%-16s seek: %llu bytes read on average, %llu at most\n", spec.name,
               (unsigned long long)((r.BytesRead() - before) / seeks), (unsigned long long)worst);

        // Stream twice: the first pass warms the cache.
        for (int pass = 0; pass < 2; ++pass) {
            r.Rewind();
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            uint64_t packets = 0;
            RecPacket* p = nullptr;
            for (;;) {
                RecPacket* info = nullptr;
                if (r.ReadPacket(&p, &info) != 0) break;
                r.ReleasePacket(p);
                if (info) r.ReleasePacket(info);
                ++packets;
            }
            QueryPerformanceCounter(&t1);
            double s = Seconds(t0, t1);
            if (pass == 1)
                printf("%-16s ReadPacket: %llu packets in %.3f s, %.2f GB/s\n", spec.name,
                       (unsigned long long)packets, s, double(size) / s / 1e9);
        }
        r.Close();
        DeleteFileA(spec.name);
    }
    return 0;
}
