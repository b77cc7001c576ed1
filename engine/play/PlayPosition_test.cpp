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
    AtomicTimestamp ts;
    volatile LONG stop = 0;
};

DWORD WINAPI Writer(void* arg) {
    Shared* s = static_cast<Shared*>(arg);
    // Both halves always change together: a torn read mixes them.
    const uint64_t a = 0x00000000FFFFFFFFull, b = 0xFFFFFFFF00000000ull;
    while (!s->stop) {
        s->ts.Store(a);
        s->ts.Store(b);
    }
    return 0;
}
}  // namespace

TEST(AtomicTimestamp, ReadsNeverTearAcrossThreads) {
    Shared s;
    s.ts.Store(0x00000000FFFFFFFFull);
    HANDLE t = CreateThread(nullptr, 0, Writer, &s, 0, nullptr);
    ASSERT_NE(t, nullptr);
    int torn = 0;
    for (int i = 0; i < 2000000; ++i) {
        uint64_t v = s.ts.Load();
        if (v != 0x00000000FFFFFFFFull && v != 0xFFFFFFFF00000000ull) ++torn;
    }
    InterlockedExchange(&s.stop, 1);
    WaitForSingleObject(t, INFINITE);   // the writer looks at stop every pass
    CloseHandle(t);
    EXPECT_EQ(torn, 0);
}
