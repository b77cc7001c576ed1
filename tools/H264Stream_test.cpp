#include "H264Stream.h"

#include <gtest/gtest.h>

using namespace recwriter;

namespace {

typedef std::vector<uint8_t> Bytes;

// A unit with a 4-byte start code (or 3 when `shortCode`).
Bytes Unit(uint8_t header, std::initializer_list<uint8_t> body, bool shortCode = false) {
    Bytes b = shortCode ? Bytes{0, 0, 1} : Bytes{0, 0, 0, 1};
    b.push_back(header);
    b.insert(b.end(), body);
    return b;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

const uint8_t kFirst = 0x88;  // first_mb_in_slice = 0
const uint8_t kLater = 0x40;  // first_mb_in_slice != 0

}  // namespace

TEST(H264Stream, GroupsParameterSetsWithTheirPicture) {
    Bytes sps = Unit(0x67, {1, 2}), pps = Unit(0x68, {3}), sei = Unit(0x06, {4});
    Bytes idr = Unit(0x65, {kFirst, 5}), p1 = Unit(0x41, {kFirst, 6}, true), p2 = Unit(0x41, {kFirst, 7});
    std::vector<H264Frame> frames = SplitAnnexB(Cat({sps, pps, sei, idr, p1, p2}));
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_TRUE(frames[0].intra);
    EXPECT_EQ(frames[0].bytes, Cat({sps, pps, sei, idr}));
    EXPECT_FALSE(frames[1].intra);
    EXPECT_EQ(frames[1].bytes, p1);
    EXPECT_EQ(frames[2].bytes, p2);
}

TEST(H264Stream, KeepsTheSlicesOfOnePictureTogether) {
    Bytes aud = Unit(0x09, {0xF0});
    Bytes s0 = Unit(0x65, {kFirst, 1}), s1 = Unit(0x65, {kLater, 2}), s2 = Unit(0x41, {kFirst, 3});
    std::vector<H264Frame> frames = SplitAnnexB(Cat({aud, s0, s1, aud, s2}));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].bytes, Cat({aud, s0, s1}));
    EXPECT_TRUE(frames[0].intra);
    EXPECT_EQ(frames[1].bytes, Cat({aud, s2}));
}

TEST(H264Stream, IgnoresBytesWithoutPictures) {
    EXPECT_TRUE(SplitAnnexB({}).empty());
    EXPECT_TRUE(SplitAnnexB({1, 2, 3, 4, 5}).empty());
    EXPECT_TRUE(SplitAnnexB(Unit(0x67, {1})).empty());
    EXPECT_EQ(SplitAnnexB(Cat({{9, 9}, Unit(0x41, {kFirst})})).size(), 1u);
}
