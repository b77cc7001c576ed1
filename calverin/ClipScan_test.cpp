// The plan pass over real record files: whatever GOP length and wherever
// the time seek lands, it finds the clip that the selection rule gives over
// the whole list of pictures.
#include "ClipScan.h"

#include "ClipSelector.h"
#include "RecordWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace calverin {
namespace {

constexpr uint64_t kBase = 900000000ull * 1000000ull;

std::vector<uint8_t> Unit(const std::vector<uint8_t>& nal) {
    std::vector<uint8_t> out(4 + nal.size(), 0);
    out[3] = 1;
    std::copy(nal.begin(), nal.end(), out.begin() + 4);
    return out;
}

struct Fixture {
    std::vector<VideoFrame> frames;
    std::string path;
};

// `seconds` at 25 pictures a second, an I-frame every `gop`, one audio
// packet after each picture. Pictures are a slice unit of tag-free bytes;
// I-frames carry the parameter sets of a real 352x288 stream, or only the
// first one does.
Fixture Write(const std::string& name, int seconds, int gop, bool paramsAtStartOnly = false) {
    std::vector<uint8_t> stream;
    EXPECT_TRUE(recwriter::ReadBytes("sps_352x288_yuv420p.h264", &stream));
    ParameterSets sets;
    CollectParameterSets(stream.data(), stream.size(), &sets);
    EXPECT_TRUE(sets.Complete());

    recwriter::RecordWriter w;
    Fixture f;
    f.path = name;
    for (int k = 0; k < seconds * 25; ++k) {
        bool iframe = k % gop == 0;
        std::vector<uint8_t> bytes;
        if (iframe && (k == 0 || !paramsAtStartOnly)) {
            bytes = Unit(sets.sps);
            std::vector<uint8_t> pps = Unit(sets.pps);
            bytes.insert(bytes.end(), pps.begin(), pps.end());
        }
        std::vector<uint8_t> slice(200 + k % 50, uint8_t(0x80 | (k & 0x7F)));
        slice[0] = iframe ? 0x65 : 0x41;
        std::vector<uint8_t> unit = Unit(slice);
        bytes.insert(bytes.end(), unit.begin(), unit.end());
        InfoFrame info = {};
        uint64_t ts = kBase + uint64_t(k) * 40000;
        w.AddVideo(iframe, ts, bytes, &info);
        w.AddAudio(2, std::vector<uint8_t>(204, 0x90));
        f.frames.push_back({ts, iframe});
    }
    EXPECT_TRUE(w.WriteFile(name));
    return f;
}

void ExpectPlansMatchTheRule(const Fixture& f, int seconds) {
    CFileQuib reader;
    ASSERT_EQ(reader.Open(f.path.c_str()), 0);
    for (int from = 0; from < seconds; ++from) {
        for (int length : {0, 3}) {
            ClipWindow window = {kBase + uint64_t(from) * 1000000 + 300000,
                                 kBase + uint64_t(from + length + 1) * 1000000 + 300000};
            ClipSpan want = SelectClip(f.frames, window);
            ClipPlan plan;
            ASSERT_EQ(PlanClip(reader, window, &plan), PlanResult::kOk) << f.path << " from " << from;
            EXPECT_EQ(plan.firstTimestamp, f.frames[want.begin].timestamp) << f.path << " from " << from;
            EXPECT_EQ(plan.frames, want.count) << f.path << " from " << from;
            EXPECT_TRUE(plan.hasSound);
            EXPECT_EQ(plan.width, 352);
            EXPECT_EQ(plan.height, 288);
            ASSERT_EQ(plan.timestamps.size(), size_t(plan.frames));
            EXPECT_EQ(plan.timestamps.front(), plan.firstTimestamp);
        }
    }
    reader.Close();
}

TEST(PlanClip, FindsTheClipOfTheRuleForAnyGop) {
    for (int gop : {12, 25, 60, 100}) {
        Fixture f = Write("plan_gop" + std::to_string(gop) + ".h264", 30, gop);
        ExpectPlansMatchTheRule(f, 30);
    }
}

TEST(PlanClip, TakesParameterSetsSentOnlyAtTheFileStart) {
    Fixture f = Write("plan_params_once.h264", 30, 25, true);
    CFileQuib reader;
    ASSERT_EQ(reader.Open(f.path.c_str()), 0);
    ClipPlan plan;
    ASSERT_EQ(PlanClip(reader, {kBase + 20000000, kBase + 21000000}, &plan), PlanResult::kOk);
    EXPECT_EQ(plan.firstTimestamp, kBase + 20000000);
    EXPECT_TRUE(plan.params.Complete());
    EXPECT_EQ(plan.width, 352);
    reader.Close();
}

TEST(PlanClip, FindsNothingPastTheEnd) {
    Fixture f = Write("plan_short.h264", 5, 25);
    CFileQuib reader;
    ASSERT_EQ(reader.Open(f.path.c_str()), 0);
    ClipPlan plan;
    EXPECT_EQ(PlanClip(reader, {kBase + 6000000, kBase + 7000000}, &plan), PlanResult::kNothingInRange);
    reader.Close();
}

}  // namespace
}  // namespace calverin
