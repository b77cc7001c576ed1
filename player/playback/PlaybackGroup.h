// The recording group the playback control plays, as one value, and the
// control's decisions over it as plain functions: where each channel slot
// lies on the group's time, which slots played to their end, which one
// syncs (leads) after an end, a seek or the hold at the start, and what the
// slider spans. The panel applies the decisions to the engine; no engine,
// file or window here.
//
// The group's time runs from the earliest start of its channels to the
// latest end, whichever channel syncs (the engine counts its play time and
// its seeks from the group's earliest first picture).
#pragma once

#include "playback/ChannelMatching.h"

#include <stdint.h>
#include <vector>

struct GroupSlot {
    bool open = false;     // its file is open in the engine
    int startMs = 0;       // its first picture on the group's time
    int endMs = 0;         // its last picture on the group's time
    int leadEnd = 0;       // its end as the lead rule counts it (seconds of the day)
    bool ended = false;    // played to its end forwards
    bool atStart = false;  // played back to its start
};

struct PlaybackGroup {
    GroupSlot slots[kChannelSlots];
    int spanMs = 0;  // the slider's range: earliest start to latest end
    int sync = -1;   // the slot that leads
};

// The group of the open slots, from each file's first and last picture
// (microseconds) and its end by the lead rule. It starts led by the
// earliest start (the panel then takes the engine's own choice).
PlaybackGroup MakeGroup(const bool open[kChannelSlots], const uint64_t first[kChannelSlots],
                        const uint64_t last[kChannelSlots], const int leadEnd[kChannelSlots]);

// The slot that leads at `ms` of the group's time: among the open slots
// with a picture there, the one that started first (ties: the lowest);
// with none, the next one to start; with none either, the one that ends
// last. -1 without an open slot.
int SyncAt(const PlaybackGroup& g, int ms);

// What the control does about an end the engine reported.
struct EndStep {
    enum Kind {
        Nothing,     // the group plays on as it is
        Lead,        // `sync` leads from now on
        HoldAtStart, // backwards at the start: paused there, every slot again
                     // from 0, `sync` leading (the slots to play again: `replay`)
        NextGroup,   // nothing plays any more
    } kind = Nothing;
    int sync = -1;
    std::vector<int> replay;
};

// Slot `slot` played to its end forwards: the slot whose file ends last
// (by the lead rule; equal ends keep the highest slot) leads.
EndStep EndForward(PlaybackGroup& g, int slot);
// Slot `slot` reached its start backwards. The group holds at its start,
// paused, once every open slot is there or a slot that starts with the
// group is; a slot that starts later only holds at its own first picture
// while the others go back further, one of them leading (Lead). `paused`:
// it holds already.
EndStep EndBackward(PlaybackGroup& g, int slot, bool paused);

// A seek to `ms` of the group's time: the slots that ended and have a
// picture at or after `ms` play again (`replay`, started before the seek),
// and `sync` leads: the slot that led when it has a picture there, else
// SyncAt (`changed`).
struct SeekStep {
    std::vector<int> replay;
    int sync = -1;
    bool changed = false;
};
SeekStep Seek(PlaybackGroup& g, int ms);
