#include "playback/PlaybackGroup.h"

#include "playback/PlayRates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const uint64_t kSec = 1000000;

// Slots 0-3 with files from `from` to `to` seconds of the group (to 0: no
// file); the lead rule counts the given ends.
PlaybackGroup Group(std::vector<std::pair<int, int>> files)
{
    bool open[kChannelSlots] = {};
    uint64_t first[kChannelSlots] = {}, last[kChannelSlots] = {};
    int leadEnd[kChannelSlots] = {};
    for (size_t k = 0; k < files.size(); ++k) {
        open[k] = files[k].second > 0;
        first[k] = uint64_t(files[k].first) * kSec;
        last[k] = uint64_t(files[k].second) * kSec;
        leadEnd[k] = files[k].second;
    }
    return MakeGroup(open, first, last, leadEnd);
}

// The user's and the engine's events on one group, as the playback control
// meets them, with the group's time as it runs.
enum Op { Play, Pause, Faster, Slower, Rewind, SeekMs, EndOf, StartOf, RunTo };
struct Event {
    Op op;
    int arg = 0;
};

struct GroupRun {
    PlaybackGroup g;
    RateState rate;
    int t = 0;                // the group's time, ms
    bool movedOn = false;     // the next group opened (or nothing was left)
    std::wstring label = L"1X";

    explicit GroupRun(PlaybackGroup group) : g(group) { rate.playState = kPlaying; }

    // What the engine counts as the group's time: the leading slot's own
    // picture, on the group's time.
    int Shown() const
    {
        const GroupSlot& s = g.slots[g.sync];
        return t < s.startMs ? s.startMs : t > s.endMs ? s.endMs : t;
    }
    void Label(const RateResult& r)
    {
        if (r.label == RateLabel::Forward)
            label = ForwardRateText(rate.rateExponent);
        else if (r.label == RateLabel::Reverse)
            label = ReverseRateText(rate.rateExponent);
        else if (r.label == RateLabel::Paused)
            label = L"PAUSE";
    }
    void Apply(const Event& e)
    {
        switch (e.op) {
        case Play: Label(PlayCommand(rate)); break;
        case Pause: Label(PauseCommand(rate)); break;
        case Faster: Label(FasterCommand(rate)); break;
        case Slower: Label(SlowerCommand(rate)); break;
        case Rewind: Label(RewindCommand(rate)); break;
        case SeekMs:
            Seek(g, e.arg);
            t = e.arg;
            Label(PlayCommand(rate));
            break;
        case RunTo: t = e.arg; break;
        case EndOf: {
            t = g.slots[e.arg].endMs;
            const int before = Shown();
            const EndStep s = EndForward(g, e.arg);
            if (s.kind == EndStep::NextGroup)
                movedOn = true;
            else
                EXPECT_EQ(Shown(), before) << "the time jumped when slot " << s.sync << " took the lead";
            break;
        }
        case StartOf: {
            t = g.slots[e.arg].startMs;
            const EndStep s = EndBackward(g, e.arg, rate.paused != 0);
            if (s.kind == EndStep::HoldAtStart) {
                // Paused, forwards, at 0: as the control holds it.
                PauseCommand(rate);
                rate.reverse = 0;
                rate.rateExponent = 0;
                label = L"PAUSE";
                t = 0;
            }
            break;
        }
        }
    }
};

}  // namespace

TEST(PlaybackGroup, TheGroupsTimeSpansItsChannels)
{
    // A first file cut to 20 s of a 60 s group; a channel 20 s late.
    PlaybackGroup cut = Group({{0, 20}, {0, 60}, {0, 60}, {0, 60}});
    EXPECT_EQ(cut.spanMs, 60000);
    EXPECT_EQ(cut.sync, 0);
    PlaybackGroup late = Group({{0, 30}, {0, 30}, {20, 50}, {0, 30}});
    EXPECT_EQ(late.spanMs, 50000);
    EXPECT_EQ(late.slots[2].startMs, 20000);
    EXPECT_EQ(SyncAt(late, 40000), 2);
    EXPECT_EQ(SyncAt(late, 10000), 0);
    PlaybackGroup gap = Group({{0, 10}, {30, 40}});
    EXPECT_EQ(SyncAt(gap, 20000), 1);  // nothing shows: the next to start
    EXPECT_EQ(SyncAt(gap, 45000), 1);  // past every end: the last to end
    EXPECT_EQ(SyncAt(PlaybackGroup(), 0), -1);
}

// Sequences of events; after each one the slot that leads is open and has
// not ended, the slider spans the whole group, the time never jumped when
// the lead moved, and the label tells the speed of the engine's pacing.
TEST(PlaybackGroup, EventSequences)
{
    const std::vector<std::pair<int, int>> even = {{0, 60}, {0, 60}, {0, 60}, {0, 60}};
    const std::vector<std::pair<int, int>> cut = {{0, 20}, {0, 60}, {0, 60}, {0, 60}};
    const std::vector<std::pair<int, int>> late = {{0, 30}, {0, 30}, {20, 50}, {0, 30}};
    const struct Case {
        const char* what;
        std::vector<std::pair<int, int>> files;
        std::vector<Event> events;
        int sync;          // the slot that leads at the end
        bool movedOn;
    } cases[] = {
        {"open, play", even, {{Play}}, 0, false},
        {"faster x4, slower x2, pause", even, {{Faster}, {Faster}, {Faster}, {Faster}, {Slower}, {Slower}, {Pause}}, 0,
         false},
        {"rewind to the start, then play", even,
         {{RunTo, 2500}, {Rewind}, {StartOf, 3}, {StartOf, 0}, {StartOf, 1}, {StartOf, 2}, {Play}}, 0, false},
        {"rewind x3 to the start, play, a first end", even,
         {{Rewind}, {Rewind}, {Rewind}, {StartOf, 0}, {Play}, {EndOf, 0}}, 3, false},
        {"a cut first file ends, the rest lead", cut, {{EndOf, 0}}, 3, false},
        {"a cut first file ends, seek to 45 s", cut, {{EndOf, 0}, {SeekMs, 45000}}, 3, false},
        {"a cut first file, seek back into it", cut, {{EndOf, 0}, {SeekMs, 5000}}, 3, false},
        {"a seek to 45 s before the cut file ends", cut, {{RunTo, 5000}, {SeekMs, 45000}}, 1, false},
        {"the late channel leads after the others", late, {{EndOf, 0}, {EndOf, 1}, {EndOf, 3}}, 2, false},
        {"late: the others end, seek back to 10 s", late, {{EndOf, 0}, {EndOf, 1}, {EndOf, 3}, {SeekMs, 10000}}, 0,
         false},
        {"late: seek to 40 s", late, {{SeekMs, 40000}}, 2, false},
        {"late: rewind from 40 s to the start", late,
         {{SeekMs, 40000}, {Rewind}, {StartOf, 2}, {StartOf, 0}, {StartOf, 1}, {StartOf, 3}, {Play}}, 0, false},
        {"late: the late channel holds at its own start only", late,
         {{SeekMs, 25000}, {Rewind}, {StartOf, 2}, {Faster}}, 0, false},
        {"every channel ends", late, {{EndOf, 0}, {EndOf, 1}, {EndOf, 3}, {EndOf, 2}}, -1, true},
        {"rate steps, then a seek plays at 1X", even,
         {{Slower}, {Slower}, {Slower}, {SeekMs, 30000}, {Faster}, {Faster}, {Faster}, {Faster}, {Faster}}, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GroupRun run(Group(c.files));
        const int span = run.g.spanMs;
        for (const Event& e : c.events) {
            run.Apply(e);
            if (run.movedOn)
                break;
            ASSERT_GE(run.g.sync, 0);
            const GroupSlot& lead = run.g.slots[run.g.sync];
            EXPECT_TRUE(lead.open);
            EXPECT_FALSE(lead.ended) << "slot " << run.g.sync << " ended and leads";
            EXPECT_EQ(run.g.spanMs, span);
            const bool back = run.rate.reverse != 0;
            if (run.label != L"PAUSE") {
                EXPECT_EQ(run.label, SpeedText(PlaySpeed(run.rate.rateExponent, back)));
            }
        }
        EXPECT_EQ(run.movedOn, c.movedOn);
        if (!c.movedOn) {
            EXPECT_EQ(run.g.sync, c.sync);
        }
    }
}

// The hold at the start: every open slot from its start again, the lead on
// the first to start, the slots not yet at their start included.
TEST(PlaybackGroup, TheHoldAtTheStartStartsEverySlotAgain)
{
    PlaybackGroup g = Group({{0, 30}, {0, 30}, {20, 50}});
    g.sync = 2;
    // Late: it holds alone, and the lead goes to one that goes on back.
    const EndStep alone = EndBackward(g, 2, false);
    EXPECT_EQ(alone.kind, EndStep::Lead);
    EXPECT_EQ(alone.sync, 0);
    const EndStep hold = EndBackward(g, 1, false);
    ASSERT_EQ(hold.kind, EndStep::HoldAtStart);
    EXPECT_EQ(hold.replay, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(hold.sync, 0);
    for (int k = 0; k < 3; ++k)
        EXPECT_FALSE(g.slots[k].ended || g.slots[k].atStart) << k;
    // Held already (paused): nothing more.
    EXPECT_EQ(EndBackward(g, 0, true).kind, EndStep::Nothing);
    // A seek plays the ended slots that have pictures ahead again.
    EndForward(g, 0);
    EndForward(g, 1);
    EXPECT_EQ(Seek(g, 31000).replay, std::vector<int>{});
    EXPECT_EQ(Seek(g, 29000).replay, (std::vector<int>{0, 1}));
}
