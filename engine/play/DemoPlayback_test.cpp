// The demo card's kind of recording played through the DLL: four channels
// of 704 x 576 pictures with the information of a drive and G.726 sound, as
// the demo generator writes them, in four windows; position, information,
// sound, a seek near the end, one end report per channel and a snapshot.
#include "Ostrivel.h"

#include "AudioFraming.h"
#include "DemoCard.h"
#include "RecordWriter.h"
#include "TestDesktop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Reports {
    CRITICAL_SECTION lock;
    std::vector<InfoFrame> infos;
    std::vector<uint64_t> stamps;
    int ends[4] = {};
    Reports() { InitializeCriticalSection(&lock); }
    ~Reports() { DeleteCriticalSection(&lock); }
    int EndCount() {
        EnterCriticalSection(&lock);
        int n = ends[0] + ends[1] + ends[2] + ends[3];
        LeaveCriticalSection(&lock);
        return n;
    }
    size_t InfoCount() {
        EnterCriticalSection(&lock);
        size_t n = infos.size();
        LeaveCriticalSection(&lock);
        return n;
    }
};

void CALLBACK OnInfo(const uint8_t* data, uint32_t length, uint32_t low, uint32_t high, void* user) {
    Reports* r = static_cast<Reports*>(user);
    if (length < sizeof(InfoFrame)) return;
    InfoFrame f;
    memcpy(&f, data, sizeof f);
    EnterCriticalSection(&r->lock);
    r->infos.push_back(f);
    r->stamps.push_back(uint64_t(high) << 32 | low);
    LeaveCriticalSection(&r->lock);
}

void CALLBACK OnEnd(int channel, void* user) {
    Reports* r = static_cast<Reports*>(user);
    EnterCriticalSection(&r->lock);
    if (channel >= 0 && channel < 4) ++r->ends[channel];
    LeaveCriticalSection(&r->lock);
}

// Ten seconds of each channel, written by the demo generator's own code.
bool WriteDemoChannels(std::vector<std::string>* paths) {
    std::vector<uint8_t> stream, codes;
    if (!recwriter::ReadBytes("bench_704x576.h264", &stream) || !recwriter::ReadBytes("bench_60s.g726", &codes))
        return false;
    std::vector<recwriter::H264Frame> frames = recwriter::SplitAnnexB(stream);
    recwriter::AudioFrames audio = recwriter::FrameG726Codes(codes);
    if (frames.size() < 250) return false;
    for (int k = 0; k < 4; ++k) {
        recwriter::DemoRecording r;
        r.channel = k + 1;
        r.seconds = int(frames.size() / size_t(r.fps));
        r.startOffsetUs = uint64_t(k) * 20000;
        r.audioCodec = 2;
        std::string path = recwriter::RecordFileName(k + 1, r.startHms, recwriter::AddSecondsHms(r.startHms, r.seconds));
        if (!recwriter::WriteBytes(path, recwriter::BuildDemoRecording(r, frames, &audio))) return false;
        paths->push_back(path);
    }
    return true;
}

}  // namespace

TEST(DemoPlayback, FourDemoChannelsPlayWithTheirDriveSoundAndEnds) {
    std::vector<std::string> paths;
    ASSERT_TRUE(WriteDemoChannels(&paths));
    Reports reports;
    void* h = nullptr;
    ASSERT_EQ(OV_CreateDecoder(&h), 0);
    for (int k = 0; k < 4; ++k) {
        FileInfo probe{};
        ASSERT_EQ(OV_GetFileParam(h, &probe, paths[size_t(k)].c_str()), 0) << paths[size_t(k)];
        ASSERT_EQ(OV_OpenFile(paths[size_t(k)].c_str(), e2e::Pane(k), k, h), 0) << k;
    }
    EXPECT_EQ(OV_GetSynChannel(h), 0);   // the earliest first picture
    FileInfo info{};
    ASSERT_EQ(OV_GetFileInfo(h, &info), 0);
    EXPECT_EQ(info.durationMs, 249u * 40u);
    ASSERT_EQ(OV_SetInfoFrameCallBack(h, &reports, OnInfo), 0);
    ASSERT_EQ(OV_SetEndCallBack(h, &reports, OnEnd), 0);
    for (int k = 0; k < 4; ++k) ASSERT_EQ(OV_Play(h, k), 0) << k;
    EXPECT_EQ(OV_PlaySound(h, 0), 0);
    EXPECT_EQ(OV_SetVolume(h, 0xFFFF), 0);

    // Playing: the position moves and the drive's information arrives in order.
    EXPECT_TRUE(e2e::PumpUntil([&] { return reports.InfoCount() >= 25; }, 15000));
    int ms = 0;
    ASSERT_EQ(OV_GetPlayTime(h, &ms), 0);
    EXPECT_GT(ms, 500);
    EnterCriticalSection(&reports.lock);
    ASSERT_FALSE(reports.infos.empty());
    for (size_t i = 0; i < reports.infos.size(); ++i) {
        const InfoFrame& f = reports.infos[i];
        EXPECT_EQ(f.gpsValid, 'A') << i;
        EXPECT_EQ(f.year, 26) << i;
        EXPECT_TRUE(f.latDegrees != 0 || f.lonDegrees != 0) << i;
        EXPECT_LT(f.speedKmh, 200) << i;
        if (i > 0) {
            EXPECT_GT(reports.stamps[i], reports.stamps[i - 1]) << i;
        }
    }
    LeaveCriticalSection(&reports.lock);

    // A snapshot of a channel's picture at the recording's size.
    DeleteFileA("demo_snapshot.bmp");
    EXPECT_EQ(OV_CaptureBMP(h, 3, "demo_snapshot.bmp", nullptr), 0);
    WIN32_FILE_ATTRIBUTE_DATA attr{};
    ASSERT_TRUE(GetFileAttributesExA("demo_snapshot.bmp", GetFileExInfoStandard, &attr));
    EXPECT_EQ(attr.nFileSizeLow, 54u + 704u * 3u * 576u);

    // Near the end: every channel reaches its end and reports it once.
    ASSERT_EQ(OV_SetPlayTime(h, 9000), 0);
    EXPECT_TRUE(e2e::PumpUntil([&] { return reports.EndCount() >= 4; }, 20000));
    e2e::Pump(500);
    EnterCriticalSection(&reports.lock);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(reports.ends[k], 1) << k;
    LeaveCriticalSection(&reports.lock);

    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(OV_Stop(h, k), 0);
        EXPECT_EQ(OV_CloseFile(h, k), 0);
    }
    EXPECT_EQ(OV_EraseDecoder(h), 0);
}
