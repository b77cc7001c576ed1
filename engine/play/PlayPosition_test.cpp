#include "PlayPosition.h"

#include <gtest/gtest.h>

TEST(PlayTimeMs, FromTheFirstIFrameAndZeroBeforeAnyFrame) {
    EXPECT_EQ(PlayTimeMs(0, 5000000000ull), 0);           // nothing decoded yet
    EXPECT_EQ(PlayTimeMs(5000000000ull, 5000000000ull), 0);
    EXPECT_EQ(PlayTimeMs(5000040999ull, 5000000000ull), 40);
    EXPECT_EQ(PlayTimeMs(5000000000ull + 3600000000ull, 5000000000ull), 3600000);
}

namespace {
struct Shared {
    AtomicTimestamp* ts;
    volatile LONG stop = 0;
};

DWORD WINAPI Writer(void* arg) {
    Shared* s = static_cast<Shared*>(arg);
    // Both halves always change together: a torn read mixes them.
    const uint64_t a = 0x00000000FFFFFFFFull, b = 0xFFFFFFFF00000000ull;
    while (!s->stop) {
        s->ts->Store(a);
        s->ts->Store(b);
    }
    return 0;
}

// Reads of `ts` while another thread writes it: how many came out torn.
int TornReads(AtomicTimestamp* ts) {
    Shared s{ts};
    ts->Store(0x00000000FFFFFFFFull);
    HANDLE t = CreateThread(nullptr, 0, Writer, &s, 0, nullptr);
    if (!t) return -1;
    int torn = 0;
    for (int i = 0; i < 2000000; ++i) {
        uint64_t v = ts->Load();
        if (v != 0x00000000FFFFFFFFull && v != 0xFFFFFFFF00000000ull) ++torn;
    }
    InterlockedExchange(&s.stop, 1);
    WaitForSingleObject(t, INFINITE);   // the writer looks at stop every pass
    CloseHandle(t);
    return torn;
}
}  // namespace

// Both timestamps the caller's thread reads while the play thread writes
// them: the play time, and the last decoded one that switching sound on
// starts from. (On 32-bit x86 a plain 64-bit field tears; on x86-64 it
// cannot, so there this guards the type rather than shows the tear.)
TEST(ChannelPosition, ReadsNeverTearAcrossThreads) {
    ChannelPosition position;
    EXPECT_EQ(TornReads(&position.current), 0);
    EXPECT_EQ(TornReads(&position.lastDecoded), 0);
}
