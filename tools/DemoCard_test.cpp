#include "DemoCard.h"
#include "DemoRoute.h"

#include "RecordFormat.h"
#include "VoiceEngine.h"

#include <gtest/gtest.h>

#include <math.h>

using namespace recwriter;

TEST(DemoCard, FileNamesFollowTheRecorderRule) {
    std::string name = RecordFileName(3, 83000, 83100);
    EXPECT_EQ(name, "100-03-083000-083100-00p000.h264");
    EXPECT_TRUE(name[0] >= '1' && name[0] <= '9');
    ASSERT_EQ(name.size(), 32u);
    for (size_t dash : {3, 6, 13, 20}) EXPECT_EQ(name[dash], '-');
    EXPECT_EQ(name.substr(27), ".h264");
}

TEST(DemoCard, TimeArithmetic) {
    EXPECT_EQ(AddSecondsHms(83000, 60), 83100);
    EXPECT_EQ(AddSecondsHms(85959, 1), 90000);
    EXPECT_EQ(AddSecondsHms(235959, 1), 0);
    EXPECT_EQ(TimestampOf(2000, 1, 1, 0), 0u);
    EXPECT_EQ(TimestampOf(2000, 1, 2, 10), (86400ull + 10) * 1000000ull);
    EXPECT_EQ(TimestampOf(2000, 3, 1, 0), 60ull * 86400 * 1000000ull);  // 2000 is a leap year
    EXPECT_EQ(TimestampOf(2001, 1, 1, 0), 366ull * 86400 * 1000000ull);
}

TEST(DemoCard, InformationFramesEncodePositionAndSensors) {
    VehicleState s = {30.5, -120.25, 62.4, 181.234, -0.5, 0.0, 1.0};
    const unsigned char date[6] = {26, 12, 10, 8, 30, 5};
    InfoFrame f = MakeInfoFrame(s, date);
    EXPECT_EQ(f.year, 26);
    EXPECT_EQ(f.second, 5);
    EXPECT_EQ(f.gpsValid, 'A');
    EXPECT_EQ(f.speedKmh, 62);
    EXPECT_EQ(f.latDegrees, 30);
    EXPECT_EQ(f.latMinutes, 30);
    EXPECT_EQ(f.latFraction, 0);
    EXPECT_EQ(f.lonDegrees, 120);
    EXPECT_EQ(f.lonMinutes, 15);
    EXPECT_EQ(f.latHemisphere, 'N');
    EXPECT_EQ(f.lonHemisphere, 'W');
    EXPECT_EQ(f.fractionDigits, 4);
    EXPECT_EQ(f.heading, 18123);
    EXPECT_EQ(f.accelX, -8);   // 1/16 g
    EXPECT_EQ(f.accelZ, 16);

    VehicleState t = {0.1234567, 0, 0, 0, 9, -9, 0};
    InfoFrame g = MakeInfoFrame(t, date);
    EXPECT_EQ(g.latMinutes, 7);
    EXPECT_EQ(g.latFraction, 4074);   // 0.1234567 deg = 7.407402 min
    EXPECT_EQ(g.accelX, 127);         // clamped
    EXPECT_EQ(g.accelY, -128);
}

TEST(DemoCard, TheDriveStopsAndMovesAgain) {
    EXPECT_EQ(DemoSpeedAt(0), 0);
    EXPECT_GT(DemoSpeedAt(30), 40);
    EXPECT_EQ(DemoSpeedAt(52), 0);
    EXPECT_GT(DemoSpeedAt(90), 30);
    DemoRoute r(30.0, 120.0);
    for (int i = 0; i < 25 * 30; ++i) r.Step(0.04);
    // Half a minute at about 40 km/h is a few hundred metres.
    double north = (r.State().latitude - 30.0) * 111320.0;
    double east = (r.State().longitude - 120.0) * 111320.0 * cos(30.0 * 3.14159265 / 180);
    double metres = sqrt(north * north + east * east);
    EXPECT_GT(metres, 150);
    EXPECT_LT(metres, 420);
}

TEST(DemoCard, RecordingsCarryOneFramePerPictureWithInformation) {
    std::vector<H264Frame> frames(50);
    for (size_t i = 0; i < frames.size(); ++i) {
        frames[i].intra = i % 25 == 0;
        frames[i].bytes = {0, 0, 0, 1, uint8_t(frames[i].intra ? 0x65 : 0x41), 0x88};
    }
    DemoRecording r;
    r.channel = 2;
    r.seconds = 2;
    std::vector<uint8_t> file = BuildDemoRecording(r, frames);
    ASSERT_EQ(file.size(), 0x10000u + 50 * (24 + 48 + 6));
    const rec::RecFileHeader* h = reinterpret_cast<const rec::RecFileHeader*>(file.data());
    EXPECT_EQ(int(rec::CheckMagic(*h)), int(rec::FileKind::Recorder));
    EXPECT_EQ(h->channels[0].channel, 2);
    EXPECT_EQ(h->start[4], 30);
    EXPECT_EQ(h->end[5], 2);
    EXPECT_EQ(h->endOfData, file.size());
    size_t second = 0x10000 + 25 * 78;
    EXPECT_EQ(rec::ClassifyTag(&file[second]), rec::TagKind::IFrame);
    EXPECT_EQ(file[second], '1');                         // channel 2 is tag channel 1
    EXPECT_EQ(rec::LoadLE32(&file[second + 56]), 0x10000u);  // back-link
    EXPECT_EQ(rec::LoadLE64(&file[second + 16]) - rec::LoadLE64(&file[0x10000 + 16]), 1000000u);
    EXPECT_EQ(file[second + 24 + 5], 1);                  // info frame's second
}

TEST(DemoCard, ARecordingTakesTheInformationBlocksItIsGiven) {
    std::vector<H264Frame> frames(3);
    for (size_t i = 0; i < frames.size(); ++i) {
        frames[i].intra = i == 0;
        frames[i].bytes = {0, 0, 0, 1, uint8_t(i == 0 ? 0x65 : 0x41), 0x88};
    }
    DemoRecording r;
    r.seconds = 1;
    // Picture 1 has a block of 20 bytes, picture 2 none; picture 0 the
    // drive's own frame with the speed changed.
    r.infoBlock = [](size_t k, const InfoFrame& drive) {
        std::vector<uint8_t> block;
        if (k == 2) return block;
        InfoFrame f = drive;
        f.speedKmh = uint16_t(200 + k);
        const uint8_t* b = reinterpret_cast<const uint8_t*>(&f);
        block.assign(b, b + (k == 1 ? 20 : sizeof f));
        return block;
    };
    std::vector<uint8_t> file = BuildDemoRecording(r, frames);
    const size_t p0 = 0x10000, p1 = p0 + 24 + 48 + 6, p2 = p1 + 24 + 20 + 6;
    ASSERT_EQ(file.size(), p2 + 24 + 6);
    EXPECT_EQ(rec::LoadLE16(&file[p0 + 12]), 48);
    EXPECT_EQ(rec::LoadLE16(&file[p0 + 24 + 10]), 200);
    EXPECT_EQ(file[p0 + 24 + 8], 'A');
    EXPECT_EQ(rec::LoadLE16(&file[p1 + 12]), 20);
    EXPECT_EQ(rec::LoadLE16(&file[p1 + 24 + 10]), 201);
    EXPECT_EQ(rec::LoadLE16(&file[p2 + 12]), 0);
}

// Walks the packets of a record file: the kinds in order and the audio
// frames each audio packet carries.
static std::vector<std::pair<rec::TagKind, size_t>> PacketsOf(const std::vector<uint8_t>& file, size_t frameBytes) {
    std::vector<std::pair<rec::TagKind, size_t>> packets;
    size_t p = 0x10000;
    while (p + 8 <= file.size()) {
        rec::TagKind kind = rec::ClassifyTag(&file[p]);
        if (rec::IsAudioTag(kind)) {
            size_t payload = rec::LoadLE16(&file[p + 4]);
            EXPECT_EQ(payload % frameBytes, 0u);
            for (size_t f = p + 8; f + frameBytes <= p + 8 + payload; f += frameBytes)
                EXPECT_EQ(VOICE_CheckFrameHeader(&file[f], frameBytes == 204 ? kVoiceModeG726 : kVoiceModeAdpcm), 1);
            packets.push_back({kind, payload / frameBytes});
            p += 8 + payload;
        } else if (kind == rec::TagKind::IFrame || kind == rec::TagKind::PFrame) {
            packets.push_back({kind, 0});
            p += 24 + rec::LoadLE16(&file[p + 12]) + rec::LoadLE32(&file[p + 8]);
        } else {
            ADD_FAILURE() << "no packet at " << p;
            break;
        }
    }
    return packets;
}

TEST(DemoCard, SoundFollowsThePicturesItPlaysWith) {
    std::vector<H264Frame> frames(50);
    for (size_t i = 0; i < frames.size(); ++i) {
        frames[i].intra = i % 25 == 0;
        frames[i].bytes = {0, 0, 0, 1, uint8_t(frames[i].intra ? 0x65 : 0x41), 0x88};
    }
    struct Case { int codec; size_t frameBytes; size_t audioFrames; rec::TagKind tag; } cases[] = {
        {2, 204, 50, rec::TagKind::Audio2},   // 40 ms a frame: one per picture
        {3, 168, 50, rec::TagKind::Audio3},   // 40.125 ms: the 50th still starts within 2 s
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> codes(c.codec == 2 ? 200 * 60 : 256 * 60, 0x11);
        AudioFrames audio = c.codec == 2 ? FrameG726Codes(codes) : FrameImaBlocks(codes, 256);
        DemoRecording r;
        r.seconds = 2;
        r.audioCodec = c.codec;
        std::vector<uint8_t> file = BuildDemoRecording(r, frames, &audio);
        EXPECT_EQ(reinterpret_cast<const rec::RecFileHeader*>(file.data())->audioCodec, c.codec);
        auto packets = PacketsOf(file, c.frameBytes);
        size_t pictures = 0, sound = 0;
        for (size_t i = 0; i < packets.size(); ++i) {
            if (packets[i].first == rec::TagKind::IFrame || packets[i].first == rec::TagKind::PFrame) {
                ++pictures;
                continue;
            }
            EXPECT_EQ(packets[i].first, c.tag);
            ASSERT_GT(i, 0u);
            EXPECT_NE(packets[i - 1].first, c.tag);   // one audio packet after a picture
            // By the end of picture k no more than k+1 pictures' worth of sound.
            sound += packets[i].second;
            EXPECT_LE(sound * (c.codec == 2 ? 40000 : 40125), pictures * 40000 + 40000);
        }
        EXPECT_EQ(pictures, 50u);
        EXPECT_EQ(sound, c.audioFrames) << c.codec;
    }
}
