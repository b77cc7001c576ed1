// NAL units, the picture size of a sequence parameter set (streams made by
// the host's ffmpeg at build time) and the parameter sets a clip's first
// picture is given.
#include "H264Units.h"

#include "RecordWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace calverin {
namespace {

TEST(SpsSize, IsTheCodedSizeLessTheCropping) {
    struct Case {
        const char* file;
        int width, height;
    } cases[] = {
        {"sps_352x288_yuv420p.h264", 352, 288},     // no cropping
        {"sps_350x286_yuv420p.h264", 350, 286},     // cropped by 2 and 2 (4:2:0 units)
        {"sps_1280x720_yuv420p.h264", 1280, 720},   // high profile fields
        {"sps_1920x1080_yuv420p.h264", 1920, 1080}, // 1088 coded, 8 lines cropped
        {"sps_350x286_yuv444p.h264", 350, 286},     // 4:4:4: cropping in single pixels
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> stream;
        ASSERT_TRUE(recwriter::ReadBytes(c.file, &stream)) << c.file;
        int found = 0;
        for (const NalUnit& u : FindNalUnits(stream.data(), stream.size())) {
            if (u.type != kNalSps) continue;
            ++found;
            int w = 0, h = 0;
            ASSERT_TRUE(ParseSpsSize(stream.data() + u.offset, u.size, &w, &h)) << c.file;
            EXPECT_EQ(w, c.width) << c.file;
            EXPECT_EQ(h, c.height) << c.file;
        }
        EXPECT_EQ(found, 1) << c.file;
    }
}

TEST(SpsSize, RefusesWhatIsNoWholeSps) {
    std::vector<uint8_t> stream;
    ASSERT_TRUE(recwriter::ReadBytes("sps_1920x1080_yuv420p.h264", &stream));
    std::vector<NalUnit> units = FindNalUnits(stream.data(), stream.size());
    ASSERT_FALSE(units.empty());
    const NalUnit& sps = units[0];
    ASSERT_EQ(sps.type, kNalSps);
    int w = 0, h = 0;
    for (size_t cut = 1; cut < 8 && cut < sps.size; ++cut)
        EXPECT_FALSE(ParseSpsSize(stream.data() + sps.offset, cut, &w, &h)) << cut;
    const NalUnit& other = units[1];
    EXPECT_FALSE(ParseSpsSize(stream.data() + other.offset, other.size, &w, &h));
}

std::vector<uint8_t> Units(std::initializer_list<std::vector<uint8_t>> units) {
    std::vector<uint8_t> out;
    for (const std::vector<uint8_t>& u : units) {
        out.insert(out.end(), {0, 0, 0, 1});
        out.insert(out.end(), u.begin(), u.end());
    }
    return out;
}

TEST(NalUnits, SplitsAtThreeAndFourByteStartCodes) {
    std::vector<uint8_t> data = {0, 0, 0, 1, 0x67, 1, 2, 0, 0, 1, 0x68, 3, 0, 0, 0, 1, 0x65, 4, 5, 6};
    std::vector<NalUnit> u = FindNalUnits(data.data(), data.size());
    ASSERT_EQ(u.size(), 3u);
    EXPECT_EQ(u[0].type, kNalSps);
    EXPECT_EQ(u[0].offset, 4u);
    EXPECT_EQ(u[0].size, 3u);
    EXPECT_EQ(u[1].type, kNalPps);
    EXPECT_EQ(u[1].size, 2u);   // the zero before the next start code is not its
    EXPECT_EQ(u[2].type, kNalIdrSlice);
    EXPECT_EQ(u[2].size, 4u);
    EXPECT_TRUE(StartsWithStartCode(data.data(), data.size()));
    EXPECT_FALSE(StartsWithStartCode(data.data() + 4, data.size() - 4));
}

TEST(ParameterSets, AreSetAheadOfTheFirstPictureThatLacksThem) {
    const std::vector<uint8_t> sps = {0x67, 0x42, 0xC0, 0x1E}, pps = {0x68, 0xCE, 0x38, 0x80};
    const std::vector<uint8_t> aud = {0x09, 0xF0}, sei = {0x06, 0x05, 0x01}, idr = {0x65, 0x88, 0x84};
    ParameterSets sets;
    sets.sps = sps;
    sets.pps = pps;

    struct Case {
        const char* what;
        std::vector<uint8_t> frame, expected;
    } cases[] = {
        {"bare picture", Units({idr}), Units({sps, pps, idr})},
        {"after the delimiter, before SEI", Units({aud, sei, idr}), Units({aud, sps, pps, sei, idr})},
        {"has both: unchanged", Units({sps, pps, idr}), Units({sps, pps, idr})},
        {"PPS only: both", Units({pps, idr}), Units({sps, pps, pps, idr})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WithParameterSets(c.frame.data(), c.frame.size(), sets), c.expected) << c.what;
        EXPECT_TRUE(HasParameterSetsFirst(c.expected.data(), c.expected.size())) << c.what;
    }

    ParameterSets collected;
    std::vector<uint8_t> stream = Units({sps, pps, idr});
    CollectParameterSets(stream.data(), stream.size(), &collected);
    EXPECT_EQ(collected.sps, sps);
    EXPECT_EQ(collected.pps, pps);
}

}  // namespace
}  // namespace calverin
