#include "playback/PlaybackGroup.h"

namespace {

// Channels whose first pictures lie within a second of each other started
// together (as the recorder names them, to the second).
const int kSameStartMs = 1000;

int MsBetween(uint64_t from, uint64_t to)
{
    return to > from ? int((to - from) / 1000u) : 0;
}

// The lead rule: the highest slot still playing, replaced by each other
// one (from slot 0 up) whose file ends strictly later.
int LeadOf(const PlaybackGroup& g)
{
    int lead = -1;
    for (int k = kChannelSlots - 1; k >= 0 && lead < 0; --k)
        if (g.slots[k].open && !g.slots[k].ended)
            lead = k;
    if (lead < 0)
        return -1;
    for (int k = 0; k < kChannelSlots; ++k)
        if (k != lead && g.slots[k].open && !g.slots[k].ended && g.slots[k].leadEnd > g.slots[lead].leadEnd)
            lead = k;
    return lead;
}

}  // namespace

PlaybackGroup MakeGroup(const bool open[kChannelSlots], const uint64_t first[kChannelSlots],
                        const uint64_t last[kChannelSlots], const int leadEnd[kChannelSlots])
{
    PlaybackGroup g;
    uint64_t start = 0;
    bool any = false;
    for (int k = 0; k < kChannelSlots; ++k)
        if (open[k] && (!any || first[k] < start)) {
            start = first[k];
            any = true;
        }
    for (int k = 0; k < kChannelSlots; ++k) {
        GroupSlot& s = g.slots[k];
        if (!open[k])
            continue;
        s.open = true;
        s.startMs = MsBetween(start, first[k]);
        s.endMs = MsBetween(start, last[k] > first[k] ? last[k] : first[k]);
        s.leadEnd = leadEnd[k];
        if (s.endMs > g.spanMs)
            g.spanMs = s.endMs;
    }
    g.sync = SyncAt(g, 0);
    return g;
}

int SyncAt(const PlaybackGroup& g, int ms)
{
    int showing = -1, next = -1, last = -1;
    for (int k = 0; k < kChannelSlots; ++k) {
        const GroupSlot& s = g.slots[k];
        if (!s.open)
            continue;
        if (s.startMs <= ms && ms < s.endMs) {
            if (showing < 0 || s.startMs < g.slots[showing].startMs)
                showing = k;
        } else if (s.startMs > ms) {
            if (next < 0 || s.startMs < g.slots[next].startMs)
                next = k;
        }
        if (last < 0 || s.endMs > g.slots[last].endMs)
            last = k;
    }
    return showing >= 0 ? showing : next >= 0 ? next : last;
}

EndStep EndForward(PlaybackGroup& g, int slot)
{
    EndStep step;
    if (slot < 0 || slot >= kChannelSlots)
        return step;
    g.slots[slot].ended = true;
    const int lead = LeadOf(g);
    if (lead < 0) {
        step.kind = EndStep::NextGroup;
        return step;
    }
    g.sync = lead;
    step.kind = EndStep::Lead;
    step.sync = lead;
    return step;
}

EndStep EndBackward(PlaybackGroup& g, int slot, bool paused)
{
    EndStep step;
    if (slot < 0 || slot >= kChannelSlots || !g.slots[slot].open)
        return step;
    g.slots[slot].atStart = true;
    bool all = true;
    for (const GroupSlot& s : g.slots)
        if (s.open && !s.atStart)
            all = false;
    if (paused)
        return step;
    if (!all && g.slots[slot].startMs >= kSameStartMs) {
        // A slot that starts later holds at its own first picture while the
        // others go on back; the lead stays with (or goes to) one of them.
        int lead = g.sync >= 0 && g.slots[g.sync].open && !g.slots[g.sync].atStart ? g.sync : -1;
        for (int k = 0; k < kChannelSlots && lead < 0; ++k)
            if (g.slots[k].open && !g.slots[k].atStart)
                lead = k;
        g.sync = step.sync = lead;
        step.kind = EndStep::Lead;
        return step;
    }
    // Every slot from its start again, forwards: those that went back to
    // their start and the others alike.
    step.kind = EndStep::HoldAtStart;
    for (int k = 0; k < kChannelSlots; ++k) {
        GroupSlot& s = g.slots[k];
        if (!s.open)
            continue;
        s.ended = false;
        s.atStart = false;
        step.replay.push_back(k);
    }
    g.sync = step.sync = SyncAt(g, 0);
    return step;
}

SeekStep Seek(PlaybackGroup& g, int ms)
{
    SeekStep step;
    for (int k = 0; k < kChannelSlots; ++k) {
        GroupSlot& s = g.slots[k];
        s.atStart = false;
        if (s.open && s.ended && ms < s.endMs) {
            s.ended = false;
            step.replay.push_back(k);
        }
    }
    // The lead stays where it shows a picture; else the first to start there.
    const bool keep = g.sync >= 0 && g.slots[g.sync].open && g.slots[g.sync].startMs <= ms && ms < g.slots[g.sync].endMs;
    step.sync = keep ? g.sync : SyncAt(g, ms);
    step.changed = step.sync != g.sync;
    g.sync = step.sync;
    return step;
}
