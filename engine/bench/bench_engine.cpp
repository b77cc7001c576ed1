// Figures of the playback engine as the player drives it, on four channels
// of 704 x 576 at 25 frames a second: how soon and how close together the
// four channels show their first pictures after play starts, how long a
// seek of all four takes with their panes drawn, their processor time at
// normal rate against bare decoding of the same pictures, how close the
// slaves stay to the master's timestamp over a whole recording, how long a
// seek on a 1 GB recording takes to show its first new picture, whether
// I-frame-only play at rate 8 keeps its pace, and how soon the index
// reader's scan stops. Run by scripts/bench; never a test.
//
// The interface figures go through the DLL's exports. The per-channel
// timestamps (sync and rate 8) are not exported, so those parts drive the
// decoder handle of the engine's static core directly, the same code the
// exports hand every call to.
//
// bench_engine --fixtures [STREAM AUDIO]   writes the recordings only
// bench_engine [--no-draw] [STREAM AUDIO] [PART..]
//     writes what is missing, then measures the parts (start, seek4, seek,
//     cpu, sync, rate8, index; all by default), with --no-draw into no windows
// STREAM: 60 s of 704 x 576 H.264 (Annex B), AUDIO: raw G.726 codes; by
// default the build's, in the current folder.
#include "Ostrivel.h"

#include "DemoCard.h"
#include "FileQuib.h"
#include "FramePacing.h"
#include "H264Decoder.h"
#include "MulPlay.h"
#include "RecordWriter.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

using namespace recwriter;

namespace {

constexpr int kChannels = 4;
constexpr uint64_t kFrameUs = 40000;
// The channels' first pictures: one recorder starts a few milliseconds
// after another, one a few frames later.
constexpr uint64_t kStartOffsetUs[kChannels] = {0, 15000, 170000, 330000};
constexpr uint64_t kBigFileBytes = 1000ull * 1000 * 1000;

double NowMs() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(freq.QuadPart);
}

double FileTimeMs(const FILETIME& f) { return double(uint64_t(f.dwHighDateTime) << 32 | f.dwLowDateTime) / 10000.0; }

// Processor time of the whole process (every thread, user and kernel), ms.
double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return FileTimeMs(kernel) + FileTimeMs(user);
}

// Processor time of the calling thread, ms.
double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return FileTimeMs(kernel) + FileTimeMs(user);
}

// Keeps the windows' messages flowing for `ms`.
void Pump(double ms) {
    double until = NowMs() + ms;
    for (;;) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        double left = until - NowMs();
        if (left <= 0) return;
        // Woken by any message: no polling of our own to count against the engine.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(left) + 1, QS_ALLINPUT);
    }
}

struct Stats {
    size_t count = 0;
    double p50 = 0, p90 = 0, p99 = 0, max = 0, mean = 0;
};

Stats Summarise(std::vector<double> v) {
    Stats s;
    s.count = v.size();
    if (v.empty()) return s;
    std::sort(v.begin(), v.end());
    auto at = [&](double q) { return v[std::min(v.size() - 1, size_t(q * double(v.size() - 1) + 0.5))]; };
    s.p50 = at(0.5);
    s.p90 = at(0.9);
    s.p99 = at(0.99);
    s.max = v.back();
    double sum = 0;
    for (double x : v) sum += x;
    s.mean = sum / double(v.size());
    return s;
}

// ---- fixtures ------------------------------------------------------------

uint64_t FileTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA a;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a)) return 0;
    return uint64_t(a.ftLastWriteTime.dwHighDateTime) << 32 | a.ftLastWriteTime.dwLowDateTime;
}

// A fixture is kept between runs while it is newer than what it is made from.
bool UpToDate(const std::string& fixture, const std::string& source) {
    uint64_t f = FileTime(fixture);
    return f != 0 && f >= FileTime(source);
}

// Written under a temporary name and renamed: a run that stops half-way
// leaves no fixture that looks complete.
bool Commit(const std::string& part, const std::string& path) {
    return MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::string ChannelPath(int k) { return "bench_engine_ch" + std::to_string(k + 1) + ".h264"; }
const char* const kBigPath = "bench_engine_1gb.h264";
const char* const kSparsePath = "bench_engine_1gb_sparse.h264";

struct Sources {
    std::string streamPath, audioPath;
    std::vector<H264Frame> frames;
    AudioFrames audio;
    bool Load() {
        std::vector<uint8_t> stream, codes;
        if (!ReadBytes(streamPath, &stream) || !ReadBytes(audioPath, &codes)) return false;
        frames = SplitAnnexB(stream);
        audio = FrameG726Codes(codes);
        return frames.size() >= 250;
    }
};

// One minute of one channel, as the demo card writes it (information
// frames of a drive, G.726 sound), its first picture a little after the
// start second.
bool WriteChannel(const Sources& s, int k) {
    DemoRecording r;
    r.channel = k + 1;
    r.startOffsetUs = kStartOffsetUs[k];
    r.seconds = int(s.frames.size() / size_t(r.fps));
    r.audioCodec = 2;
    std::string path = ChannelPath(k), part = path + ".part";
    return WriteBytes(part, BuildDemoRecording(r, s.frames, &s.audio)) && Commit(part, path);
}

// About 1 GB (two and a half hours): the minute of pictures and sound laid
// out once, then written again and again with timestamps running on and
// each I-frame linked back to the one before it.
bool WriteBigFile(const Sources& s) {
    HeaderSpec spec;
    spec.audioCodec = 2;
    RecordWriter w(spec);
    InfoFrame info = {};
    info.year = 26;
    info.month = 12;
    info.day = 10;
    info.gpsValid = 'A';
    const uint64_t audioUs = AudioFrameUs(2);
    size_t nextAudio = 0;
    for (size_t k = 0; k < s.frames.size(); ++k) {
        w.AddVideo(s.frames[k].intra, k * kFrameUs, s.frames[k].bytes, &info);
        std::vector<uint8_t> payload;
        while (nextAudio < s.audio.size() && nextAudio * audioUs < (k + 1) * kFrameUs &&
               payload.size() + s.audio[nextAudio].size() <= 0xFFFF) {
            const std::vector<uint8_t>& f = s.audio[nextAudio++];
            payload.insert(payload.end(), f.begin(), f.end());
        }
        if (!payload.empty()) w.AddAudio(2, payload);
    }
    w.SetEndOfData(0);
    w.Finish();
    const std::vector<uint8_t>& all = w.Bytes();
    std::vector<uint8_t> cycle(all.begin() + rec::kDataStart, all.end());
    const std::vector<PacketPlace> places = w.Places();
    const uint64_t cycleUs = s.frames.size() * kFrameUs;

    std::string part = std::string(kBigPath) + ".part";
    FILE* f = fopen(part.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(all.data(), 1, rec::kDataStart, f) == rec::kDataStart;
    uint64_t at = rec::kDataStart, lastIFrame = 0;
    for (uint64_t g = 0; ok && at + cycle.size() <= kBigFileBytes + cycle.size() / 2; ++g) {
        for (const PacketPlace& p : places) {
            if (!rec::IsVideoTag(p.kind)) continue;
            uint8_t* t = cycle.data() + (p.offset - rec::kDataStart);
            StoreLE64(t + 16, g * cycleUs + p.timestamp);
            if (p.kind == rec::TagKind::IFrame) {
                StoreLE32(t + 24 + 32, uint32_t(lastIFrame));
                lastIFrame = at + (p.offset - rec::kDataStart);
            }
        }
        ok = fwrite(cycle.data(), 1, cycle.size(), f) == cycle.size();
        at += cycle.size();
    }
    ok = fclose(f) == 0 && ok;
    return ok && Commit(part, kBigPath);
}

// About 1 GB written sparse: a second of pictures with their information
// at the data start, nothing (zeros) after it, and a second of pictures
// without information at the end. A scan for information packets searches
// through all of it after the first second.
bool WriteSparseFile(const Sources& s) {
    InfoFrame info = {};
    info.gpsValid = 'A';
    RecordWriter head, tail;
    for (size_t k = 0; k < 25; ++k) {
        head.AddVideo(s.frames[k].intra, k * kFrameUs, s.frames[k].bytes, &info);
        tail.AddVideo(s.frames[k].intra, 3600000000ull + k * kFrameUs, s.frames[k].bytes);
    }
    head.SetEndOfData(0);
    head.Finish();
    tail.Finish();
    std::string part = std::string(kSparsePath) + ".part";
    HANDLE h = CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    bool ok = WriteFile(h, head.Bytes().data(), DWORD(head.Size()), &n, nullptr) && n == head.Size();
    LARGE_INTEGER at;
    at.QuadPart = LONGLONG(kBigFileBytes);
    ok = ok && SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
    DWORD tailBytes = DWORD(tail.Size() - rec::kDataStart);
    ok = ok && WriteFile(h, tail.Bytes().data() + rec::kDataStart, tailBytes, &n, nullptr) && n == tailBytes;
    CloseHandle(h);
    return ok && Commit(part, kSparsePath);
}

bool MakeFixtures(Sources& s) {
    bool loaded = false;
    auto load = [&] { return loaded || (loaded = s.Load()); };
    for (int k = 0; k < kChannels; ++k) {
        if (UpToDate(ChannelPath(k), s.streamPath)) continue;
        if (!load() || !WriteChannel(s, k)) return false;
        printf("wrote %s\n", ChannelPath(k).c_str());
    }
    if (!UpToDate(kBigPath, s.streamPath)) {
        double t0 = NowMs();
        if (!load() || !WriteBigFile(s)) return false;
        printf("wrote %s in %.1f s\n", kBigPath, (NowMs() - t0) / 1000);
    }
    if (!UpToDate(kSparsePath, s.streamPath)) {
        if (!load() || !WriteSparseFile(s)) return false;
        printf("wrote %s\n", kSparsePath);
    }
    return true;
}

// ---- windows -------------------------------------------------------------

// Four panes of 640 x 512 in a 2 x 2 grid, as the player's four-pane layout.
// `draw` false: no windows, so the pictures are decoded but not drawn.
struct Panes {
    HWND w[kChannels] = {};
    bool draw;
    explicit Panes(bool draw) : draw(draw) {
        for (int k = 0; k < kChannels && draw; ++k)
            w[k] = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, (k % 2) * 640, (k / 2) * 512, 640,
                                   512, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        Pump(100);
    }
    ~Panes() {
        for (HWND h : w)
            if (h) DestroyWindow(h);
    }
};

// ---- information frames through the export ------------------------------

struct InfoProbe {
    volatile LONG frames = 0;
    // A seek's first picture: set when an information frame of a time
    // within `window` of `target` arrives after `armedAt`.
    volatile LONG armed = 0;
    uint64_t target = 0, window = 0;
    double firstAt = 0;
};

void CALLBACK OnInfo(const uint8_t*, uint32_t, uint32_t low, uint32_t high, void* user) {
    InfoProbe* p = static_cast<InfoProbe*>(user);
    InterlockedIncrement(&p->frames);
    if (!p->armed) return;
    uint64_t ts = uint64_t(high) << 32 | low;
    uint64_t d = ts > p->target ? ts - p->target : p->target - ts;
    if (d <= p->window) {
        p->firstAt = NowMs();
        InterlockedExchange(&p->armed, 0);
    }
}

// ---- play: from OV_Play on four channels to their first pictures ---------

// Watches the channels' timestamps on a thread that does nothing else: the
// main thread pumps the panes' messages, and a main thread held up in that
// (the display's work can hold the window system for a while) would see
// every first picture late and at once.
struct FirstPictures {
    CMulPlay* m = nullptr;
    double t0 = 0;
    double at[kChannels] = {-1, -1, -1, -1};
    static DWORD WINAPI Watch(void* self) {
        FirstPictures* f = static_cast<FirstPictures*>(self);
        for (int left = kChannels; left > 0 && NowMs() - f->t0 < 5000;) {
            for (int k = 0; k < kChannels; ++k) {
                if (f->at[k] < 0 && f->m->ChannelTimestamp(k) != 0) {
                    f->at[k] = NowMs() - f->t0;
                    --left;
                }
            }
            Sleep(1);
        }
        return 0;
    }
};

// The decoder handle the exports hand every call to: Play is OV_Play's work.
// A channel has shown its first picture once it has a timestamp (it is set
// when the picture has been decoded and drawn).
void BenchStart(const Panes& panes, int rounds) {
    printf("\n== Play on four channels: from the first Play to each channel's first picture, %s ==\n",
           panes.draw ? "drawn into four panes" : "no windows");
    std::vector<double> latest, spreads, calls, moved;
    for (int r = 0; r < rounds; ++r) {
        CMulPlay m;
        for (int k = 0; k < kChannels; ++k)
            if (m.OpenChannel(ChannelPath(k).c_str(), panes.w[k], k) != 0) printf("cannot open channel %d\n", k);
        Pump(100);
        FirstPictures seen;
        seen.m = &m;
        const double (&first)[kChannels] = seen.at;
        double t0 = seen.t0 = NowMs();
        HANDLE watcher = CreateThread(nullptr, 0, &FirstPictures::Watch, &seen, 0, nullptr);
        for (int k = 0; k < kChannels; ++k) m.Play(k);
        double call = NowMs() - t0;
        while (watcher && WaitForSingleObject(watcher, 0) == WAIT_TIMEOUT) Pump(5);
        if (watcher) CloseHandle(watcher);
        // How far the master has played 7.9 s after the start.
        Pump(7900 - (NowMs() - t0));
        int pos = 0;
        m.GetPlayTime(&pos);
        for (int k = 0; k < kChannels; ++k) m.Stop(k);
        double lo = first[0], hi = first[0];
        for (double f : first) {
            lo = std::min(lo, f);
            hi = std::max(hi, f);
        }
        printf("round %d: Play on four channels %.1f ms; first pictures at %.1f, %.1f, %.1f, %.1f ms "
               "(spread %.1f ms); master at %.2f s after 7.9 s\n", r + 1, call, first[0], first[1], first[2],
               first[3], hi - lo, pos / 1000.0);
        if (lo < 0) continue;
        latest.push_back(hi);
        spreads.push_back(hi - lo);
        calls.push_back(call);
        moved.push_back(pos / 1000.0);
    }
    Stats l = Summarise(latest), sp = Summarise(spreads), c = Summarise(calls), mv = Summarise(moved);
    printf("over %zu rounds: last channel's first picture p50 %.1f ms, max %.1f ms (target < 300 ms); "
           "spread p50 %.1f ms, max %.1f ms (target <= 40 ms); Play calls max %.1f ms; master after 7.9 s "
           "%.2f .. %.2f s\n", l.count, l.p50, l.max, sp.p50, sp.max, c.max,
           moved.empty() ? 0.0 : *std::min_element(moved.begin(), moved.end()), mv.max);
}

// ---- four channels at normal rate: processor time ------------------------

// Bare decoding of the pictures four channels show in a second, in cores:
// the decoder library alone on one thread, every picture of the stream the
// channels' recordings are made from, in processor time.
double BareDecodeCores(const std::vector<H264Frame>& frames) {
    H264DecAttr attr = {0, 0, 80, 45, {0, 0, 0, 0}};
    H264DecHandle h = H264DecCreate(&attr);
    if (!h || frames.empty()) return 0;
    double c0 = ThreadCpuMs();
    for (size_t i = 0; i < frames.size(); ++i) {
        H264DecPicture pic;
        const uint8_t* data = frames[i].bytes.data();
        uint32_t len = uint32_t(frames[i].bytes.size());
        while (H264DecFrame(h, data, len, i * kFrameUs, &pic, 0) == kH264PictureOut) {
            data = nullptr;
            len = 0;
        }
    }
    double ms = ThreadCpuMs() - c0;
    H264DecDestroy(h);
    return ms / double(frames.size()) * kChannels * 25.0 / 1000.0;
}

// The same bare decoding, but paced as the channels play: four threads,
// each with its own decoder, decode one picture every 40 ms and sleep in
// between. Processor time of the process over wall time, in cores: what
// decoding costs when each picture is decoded on a core that has been idle.
struct PacedDecoder {
    const std::vector<H264Frame>* frames;
    double seconds;
    static DWORD WINAPI Run(void* self) {
        PacedDecoder* p = static_cast<PacedDecoder*>(self);
        H264DecAttr attr = {0, 0, 80, 45, {0, 0, 0, 0}};
        H264DecHandle h = H264DecCreate(&attr);
        double start = NowMs();
        for (size_t i = 0; h && NowMs() - start < p->seconds * 1000; ++i) {
            const H264Frame& f = (*p->frames)[i % p->frames->size()];
            H264DecPicture pic;
            const uint8_t* data = f.bytes.data();
            uint32_t len = uint32_t(f.bytes.size());
            while (H264DecFrame(h, data, len, i * kFrameUs, &pic, 0) == kH264PictureOut) {
                data = nullptr;
                len = 0;
            }
            double due = start + double(i + 1) * 40.0 - NowMs();
            if (due > 0) Sleep(DWORD(due));
        }
        if (h) H264DecDestroy(h);
        return 0;
    }
};

double PacedDecodeCores(const std::vector<H264Frame>& frames) {
    PacedDecoder p{&frames, 10};
    HANDLE threads[kChannels];
    double cpu0 = ProcessCpuMs(), t0 = NowMs();
    for (HANDLE& t : threads) t = CreateThread(nullptr, 0, &PacedDecoder::Run, &p, 0, nullptr);
    WaitForMultipleObjects(kChannels, threads, TRUE, INFINITE);
    for (HANDLE t : threads) CloseHandle(t);
    return (ProcessCpuMs() - cpu0) / (NowMs() - t0);
}

// Without windows the pictures are decoded and kept but never converted or
// drawn: what the engine costs apart from the display. `frames`, when
// given, are the pictures the channels show: their bare decoding is
// measured in the same run to compare with.
void BenchCpu(const Panes& panes, bool windows, const std::vector<H264Frame>* frames) {
    printf("\n== Four channels at rate 0 through the exports: processor time, %s ==\n",
           windows ? "drawn into four panes" : "no windows (decoded, not drawn)");
    void* h = nullptr;
    OV_CreateDecoder(&h);
    for (int k = 0; k < kChannels; ++k)
        if (OV_OpenFile(ChannelPath(k).c_str(), windows ? panes.w[k] : nullptr, k, h) != 0)
            printf("cannot open channel %d\n", k);
    InfoProbe probe;
    OV_SetInfoFrameCallBack(h, &probe, OnInfo);
    for (int k = 0; k < kChannels; ++k) OV_Play(h, k);
    OV_PlaySound(h, OV_GetSynChannel(h));
    OV_SetVolume(h, 0x4000);
    Pump(2000);

    const double seconds = 20;
    int pos0 = 0, pos1 = 0;
    LONG frames0 = probe.frames;
    OV_GetPlayTime(h, &pos0);
    double cpu0 = ProcessCpuMs(), t0 = NowMs();
    Pump(seconds * 1000);
    double cpu1 = ProcessCpuMs(), t1 = NowMs();
    OV_GetPlayTime(h, &pos1);
    LONG frames1 = probe.frames;
    double wall = t1 - t0;
    printf("sound devices: %u (sound on channel %d)\n", waveOutGetNumDevs(), OV_GetSynChannel(h));
    printf("measured %.1f s of wall time after 2 s of play\n", wall / 1000);
    printf("process CPU / wall: %.3f of one core (target <= 0.35)\n", (cpu1 - cpu0) / wall);
    printf("master position moved %.2f s in %.2f s of wall time (%.3f x real time), %.1f pictures/s\n",
           (pos1 - pos0) / 1000.0, wall / 1000, (pos1 - pos0) / wall, (frames1 - frames0) * 1000.0 / wall);
    for (int k = 0; k < kChannels; ++k) OV_Stop(h, k);
    for (int k = 0; k < kChannels; ++k) OV_CloseFile(h, k);
    OV_EraseDecoder(h);
    if (frames && !frames->empty()) {
        double bare = BareDecodeCores(*frames);
        double engine = (cpu1 - cpu0) / wall;
        printf("bare decoding of the same pictures (four channels at 25 a second): %.3f of one core; "
               "the four channels use %.2f times that (target <= 1.25)\n", bare, bare > 0 ? engine / bare : 0);
        double paced = PacedDecodeCores(*frames);
        printf("the same bare decoding paced as the channels play (four threads, a picture every 40 ms each): "
               "%.3f of one core (%.2f times the decoding back to back); the four channels use %.2f times "
               "the paced decoding\n", paced, bare > 0 ? paced / bare : 0, paced > 0 ? engine / paced : 0);
    }
}

// ---- slaves against the master over a whole recording ---------------------

struct EndFlag {
    volatile LONG ended = 0;
};

void CALLBACK OnEndFlag(int, void* user) { InterlockedExchange(&static_cast<EndFlag*>(user)->ended, 1); }

void BenchSync(const Panes& panes) {
    printf("\n== Four channels at rate 0: slaves against the master's timestamp ==\n");
    CMulPlay m;
    uint64_t first[kChannels] = {}, last[kChannels] = {};
    for (int k = 0; k < kChannels; ++k) {
        if (m.OpenChannel(ChannelPath(k).c_str(), panes.w[k], k) != 0) printf("cannot open channel %d\n", k);
        // The handle reports the sync channel's record only: read each alone.
        CFileQuib reader;
        if (reader.Open(ChannelPath(k).c_str()) == 0) {
            first[k] = reader.GetFileInfo().firstTimestamp;
            last[k] = reader.GetFileInfo().lastTimestamp;
        }
    }
    EndFlag end;
    m.SetEndCallback(&end, OnEndFlag);
    const int master = m.SyncChannel();
    for (int k = 0; k < kChannels; ++k) m.Play(k);

    // Samples until the first channel ends: the master and every slave, read
    // with the master's timestamp before and after (a sample that straddles
    // a new master picture is taken again).
    struct Sample {
        double at;
        uint64_t ts[kChannels];
    };
    std::vector<Sample> samples;
    samples.reserve(40000);
    double t0 = NowMs(), cpu0 = ProcessCpuMs();
    while (!end.ended && NowMs() - t0 < 90000) {
        Sample s;
        for (int tries = 0; tries < 5; ++tries) {
            uint64_t before = m.ChannelTimestamp(master);
            for (int k = 0; k < kChannels; ++k) s.ts[k] = m.ChannelTimestamp(k);
            if (m.ChannelTimestamp(master) == before) break;
        }
        s.at = NowMs() - t0;
        if (m.SyncChannel() != master) break;
        samples.push_back(s);
        Pump(2);
    }
    double wall = NowMs() - t0, cpu = ProcessCpuMs() - cpu0;
    for (int k = 0; k < kChannels; ++k) m.Stop(k);

    printf("master: channel %d; first pictures at +%llu, +%llu, +%llu, +%llu ms; %zu samples over %.1f s\n",
           master, (unsigned long long)(kStartOffsetUs[0] / 1000), (unsigned long long)(kStartOffsetUs[1] / 1000),
           (unsigned long long)(kStartOffsetUs[2] / 1000), (unsigned long long)(kStartOffsetUs[3] / 1000),
           samples.size(), wall / 1000);
    printf("process CPU / wall over the recording: %.3f of one core\n", cpu / wall);
    // Where a slave's file has no picture yet the slave shows its first
    // ones (primed on play) and waits: those samples are counted apart.
    std::vector<double> all, covered;
    double worstAt = 0, worst = 0;
    int worstChannel = -1;
    for (int k = 0; k < kChannels; ++k) {
        if (k == master) continue;
        std::vector<double> mine;
        for (const Sample& s : samples) {
            uint64_t a = s.ts[k], b = s.ts[master];
            if (!a || !b) continue;
            double d = double(a > b ? a - b : b - a) / 1000.0;
            all.push_back(d);
            if (b < first[k] + 3 * kFrameUs || b > last[k]) continue;
            covered.push_back(d);
            mine.push_back(d);
            if (d > worst) {
                worst = d;
                worstAt = s.at;
                worstChannel = k;
            }
        }
        Stats st = Summarise(mine);
        printf("channel %d: |slave - master| p50 %.1f ms, p99 %.1f ms, max %.1f ms (%zu samples)\n", k, st.p50,
               st.p99, st.max, st.count);
    }
    Stats a = Summarise(all), c = Summarise(covered);
    size_t over = 0;
    for (double d : covered) over += d > 40.0 ? 1 : 0;
    printf("all slaves, while their file covers the master's time: p99 %.1f ms, max %.1f ms "
           "(channel %d at %.1f s), %zu of %zu samples over 40 ms (target: within 40 ms)\n",
           c.p99, c.max, worstChannel, worstAt / 1000, over, c.count);
    printf("all slaves, every sample including the start: p99 %.1f ms, max %.1f ms\n", a.p99, a.max);
}

// ---- seeks on a 1 GB recording and on the four channels -------------------

uint32_t NextRandom(uint32_t* state) {
    *state = *state * 1664525u + 1013904223u;
    return *state >> 8;
}

// `group`: the four channels' one-minute recordings, with sound on the
// sync channel; else the 1 GB recording in every channel, without sound.
void SeekPass(const char* title, const Panes& panes, int channels, uint32_t seed, int count, bool group = false) {
    void* h = nullptr;
    OV_CreateDecoder(&h);
    for (int k = 0; k < channels; ++k) OV_OpenFile(group ? ChannelPath(k).c_str() : kBigPath, panes.w[k], k, h);
    InfoProbe probe;
    OV_SetInfoFrameCallBack(h, &probe, OnInfo);
    FileInfo fi = {};
    OV_GetFileInfo(h, &fi);
    for (int k = 0; k < channels; ++k) OV_Play(h, k);
    if (group) OV_PlaySound(h, OV_GetSynChannel(h));
    Pump(1000);

    std::vector<double> call, picture, error;
    uint32_t rng = seed;
    for (int i = 0; i < count; ++i) {
        int target = int(NextRandom(&rng) % (fi.durationMs - (group ? 2000 : 5000)));
        probe.target = fi.firstTimestamp + uint64_t(target) * 1000;
        probe.window = 1200000;   // the I-frame found lies within a second of the target
        double t0 = NowMs();
        InterlockedExchange(&probe.armed, 1);
        OV_SetPlayTime(h, target);
        double t1 = NowMs();
        int pos = 0;
        OV_GetPlayTime(h, &pos);
        call.push_back(t1 - t0);
        error.push_back(double(pos - target));
        // Wait for the information frame that follows the first picture; it
        // is normally handed on inside the call.
        while (probe.armed && NowMs() - t0 < 2000) Pump(1);
        picture.push_back(probe.armed ? 2000 : probe.firstAt - t0);
        InterlockedExchange(&probe.armed, 0);
        Pump(300);   // plays on from the target
    }
    for (int k = 0; k < channels; ++k) OV_Stop(h, k);
    for (int k = 0; k < channels; ++k) OV_CloseFile(h, k);
    OV_EraseDecoder(h);

    Stats c = Summarise(call), p = Summarise(picture);
    double early = *std::min_element(error.begin(), error.end());
    double late = *std::max_element(error.begin(), error.end());
    printf("%s: %d seeks over %.1f min, %d channel(s)\n", title, count, fi.durationMs / 6e4, channels);
    printf("  OV_SetPlayTime call (every channel at the target, its picture drawn): p50 %.1f ms, p90 %.1f ms, "
           "p99 %.1f ms, max %.1f ms%s\n", c.p50, c.p90, c.p99, c.max,
           group ? " (target p90 < 60 ms, max < 150 ms)" : "");
    printf("  call to the sync channel's first new picture: p50 %.1f ms, p90 %.1f ms, p99 %.1f ms, max %.1f ms%s\n",
           p.p50, p.p90, p.p99, p.max, group ? "" : " (target < 100 ms)");
    printf("  position after the call - target: %.0f .. %.0f ms\n", early, late);
    size_t slowest = size_t(std::max_element(call.begin(), call.end()) - call.begin());
    printf("  slowest call: seek %zu of %d\n", slowest + 1, count);
}

void BenchSeek(const Panes& panes) {
    printf("\n== OV_SetPlayTime on a 1 GB recording, playing at rate 0 ==\n");
    WIN32_FILE_ATTRIBUTE_DATA a;
    if (GetFileAttributesExA(kBigPath, GetFileExInfoStandard, &a))
        printf("%s: %.2f GB\n", kBigPath, (double(a.nFileSizeHigh) * 4294967296.0 + a.nFileSizeLow) / 1e9);
    SeekPass("file not in the page cache (first pass)", panes, 1, 12345, 30);
    SeekPass("same targets again (cached)", panes, 1, 12345, 30);
    SeekPass("four channels of the file, new targets", panes, 4, 777, 30);
}

void BenchSeekFour(const Panes& panes) {
    printf("\n== OV_SetPlayTime on four one-minute 704 x 576 channels, %s, playing at rate 0, sound on ==\n",
           panes.draw ? "drawn into four panes" : "no windows");
    SeekPass("first pass", panes, kChannels, 4242, 40, true);
    SeekPass("second pass, new targets", panes, kChannels, 9191, 40, true);
}

// ---- the index reader: how soon a stop returns ------------------------------

void BenchIndexStop() {
    printf("\n== OV_StopIndexReader during a scan of a 1 GB recording ==\n");
    for (const char* path : {kBigPath, kSparsePath}) {
        std::vector<double> stops;
        for (int i = 0; i < 6; ++i) {
            void* reader = nullptr;
            if (OV_OpenIndexReader(path, &reader) != 0) {
                printf("cannot open %s\n", path);
                break;
            }
            OV_StartIndexReader(reader);
            Sleep(DWORD(150 + 150 * i));
            double t0 = NowMs();
            OV_StopIndexReader(reader);
            stops.push_back(NowMs() - t0);
            OV_CloseIndexReader(reader);
        }
        Stats st = Summarise(stops);
        printf("%s (%s): stop p50 %.2f ms, max %.2f ms over %zu stops 150-900 ms into the scan "
               "(target < 100 ms)\n", path, path == kBigPath ? "information with every picture"
                                                             : "information in its first second only",
               st.p50, st.max, st.count);
    }
}

// ---- rate 8: I-frames only -------------------------------------------------

void BenchRate8(const Panes& panes) {
    printf("\n== Rate 8 (I-frames only), four channels of the 1 GB recording ==\n");
    CMulPlay m;
    for (int k = 0; k < kChannels; ++k) m.OpenChannel(kBigPath, panes.w[k], k);
    for (int k = 0; k < kChannels; ++k) m.Play(k);
    Pump(1000);
    m.SetRate(8, 0);
    Pump(1000);   // the pictures read ahead at rate 0 go first

    // The wanted pace: one I-frame a second of recording, shown at rate 8.
    const uint32_t wanted = ForwardIntervalMs(1000, 8, false);
    struct Track {
        uint64_t last = 0, firstTs = 0;
        double lastAt = 0, longest = 0;
        int changes = 0;
        std::vector<double> gaps;
    } tr[kChannels];
    const double seconds = 10;
    double t0 = NowMs(), cpu0 = ProcessCpuMs();
    for (int k = 0; k < kChannels; ++k) {
        tr[k].last = tr[k].firstTs = m.ChannelTimestamp(k);
        tr[k].lastAt = 0;
    }
    double now;
    while ((now = NowMs() - t0) < seconds * 1000) {
        for (int k = 0; k < kChannels; ++k) {
            uint64_t ts = m.ChannelTimestamp(k);
            if (ts == tr[k].last) continue;
            double gap = now - tr[k].lastAt;
            tr[k].gaps.push_back(gap);
            tr[k].longest = std::max(tr[k].longest, gap);
            tr[k].last = ts;
            tr[k].lastAt = now;
            ++tr[k].changes;
        }
        Sleep(1);
    }
    double wall = NowMs() - t0, cpu = ProcessCpuMs() - cpu0;
    for (int k = 0; k < kChannels; ++k) m.Stop(k);
    printf("wanted: one I-frame every %u ms (%.1f a second); measured over %.1f s, CPU %.3f of one core\n",
           wanted, 1000.0 / wanted, wall / 1000, cpu / wall);
    for (int k = 0; k < kChannels; ++k) {
        Stats g = Summarise(tr[k].gaps);
        double frames = double(tr[k].last - tr[k].firstTs) / 1e6;
        printf("channel %d%s: %.1f I-frames/s (%.0f s of recording a second), gap p50 %.1f ms, p99 %.1f ms, "
               "longest %.1f ms\n", k, k == m.SyncChannel() ? " (master)" : "", frames * 1000 / wall,
               frames * 1000 / wall, g.p50, g.p99, tr[k].longest);
    }
}

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    bool fixturesOnly = false, draw = true;
    std::vector<std::string> paths, parts;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--fixtures") fixturesOnly = true;
        else if (a == "--no-draw") draw = false;
        else if (a == "start" || a == "seek4" || a == "seek" || a == "cpu" || a == "sync" || a == "rate8" ||
                 a == "index")
            parts.push_back(a);
        else paths.push_back(a);
    }
    Sources s;
    s.streamPath = paths.size() > 0 ? paths[0] : "bench_60s_704x576.h264";
    s.audioPath = paths.size() > 1 ? paths[1] : "bench_60s.g726";
    if (!MakeFixtures(s)) {
        printf("cannot write the recordings from %s and %s\n", s.streamPath.c_str(), s.audioPath.c_str());
        return 1;
    }
    if (fixturesOnly) return 0;
    auto wanted = [&](const char* part) {
        return parts.empty() || std::find(parts.begin(), parts.end(), part) != parts.end();
    };

    Panes panes(draw);
    if (!draw) printf("\nno windows: every part decodes its pictures but draws none\n");
    // First, while the process has not yet set up any display: as the
    // player program plays its first recording.
    if (wanted("start")) BenchStart(panes, 5);
    if (wanted("seek")) BenchSeek(panes);   // while the 1 GB file is not yet cached
    if (wanted("seek4")) BenchSeekFour(panes);
    if (wanted("cpu")) {
        if (draw) BenchCpu(panes, true, nullptr);
        if (s.frames.empty()) s.Load();
        BenchCpu(panes, false, &s.frames);
    }
    if (wanted("sync")) BenchSync(panes);
    if (wanted("rate8")) BenchRate8(panes);
    if (wanted("index")) BenchIndexStop();
    return 0;
}
