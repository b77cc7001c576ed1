#include "PacketQueue.h"

#include "RecordFormat.h"
#include "Thread.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

PacketDescriptor Desc(int32_t type, int32_t length, uint64_t ts) {
    PacketDescriptor d;
    d.type = type;
    d.length = length;
    d.timestamp = ts;
    return d;
}

std::vector<uint8_t> Pattern(size_t n, uint8_t seed) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = uint8_t(seed + i * 7);
    return v;
}

}  // namespace

TEST(PacketQueue, HoldsOneFewerPacketThanItHasDescriptors) {
    PacketQueue q;
    ASSERT_EQ(q.Init(300, 1536000), 1);
    uint8_t byte = 1;
    for (int i = 0; i < 299; ++i) ASSERT_EQ(q.Push(Desc(1, 1, i), &byte), 1) << i;
    EXPECT_EQ(q.Push(Desc(1, 1, 299), &byte), 0);  // bytes remain, descriptors do not
    EXPECT_EQ(q.Count(), 299);
    EXPECT_EQ(q.FreeBytes(), 1536000 - 299);
}

TEST(PacketQueue, AcceptsExactlyWhatFitsTheFreeBytes) {
    PacketQueue q;
    ASSERT_EQ(q.Init(10, 100), 1);
    std::vector<uint8_t> a = Pattern(60, 1), b = Pattern(41, 2);
    ASSERT_EQ(q.Push(Desc(0, 60, 1), a.data()), 1);
    EXPECT_EQ(q.Push(Desc(1, 41, 2), b.data()), 0);  // one byte more than free
    EXPECT_EQ(q.Count(), 1);
    EXPECT_EQ(q.Push(Desc(1, 40, 2), b.data()), 1);  // exactly the free bytes
    EXPECT_EQ(q.FreeBytes(), 0);
    EXPECT_EQ(q.Push(Desc(1, 0, 3), nullptr), 1);    // an empty packet still fits
    EXPECT_EQ(q.Push(Desc(1, -1, 3), b.data()), 0);
}

TEST(PacketQueue, PacketsCrossingTheRingEndComeOutIntact) {
    PacketQueue q;
    ASSERT_EQ(q.Init(8, 111), 1);
    std::vector<uint8_t> out(111);
    PacketDescriptor d;
    // Walk the ring several times with sizes that never divide it.
    uint8_t seed = 0;
    for (int round = 0; round < 40; ++round) {
        size_t n1 = 13 + round % 29, n2 = 31 + (round * 5) % 37;
        std::vector<uint8_t> p1 = Pattern(n1, seed++), p2 = Pattern(n2, seed++);
        ASSERT_EQ(q.Push(Desc(0, int32_t(n1), round * 2), p1.data()), 1);
        ASSERT_EQ(q.Push(Desc(2, int32_t(n2), round * 2 + 1), p2.data()), 1);
        ASSERT_EQ(q.Pop(&d, out.data(), int32_t(out.size())), PacketQueue::kPopOk);
        EXPECT_EQ(d.type, 0);
        EXPECT_EQ(d.timestamp, uint64_t(round * 2));
        EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + d.length), p1);
        ASSERT_EQ(q.Pop(&d, out.data(), int32_t(out.size())), PacketQueue::kPopOk);
        EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + d.length), p2);
        EXPECT_EQ(q.FreeBytes(), 111);
    }
    EXPECT_EQ(q.Pop(&d, out.data(), 111), PacketQueue::kPopEmpty);
}

TEST(PacketQueue, PopRefusesADestinationTooSmallAndMovesOn) {
    PacketQueue q;
    ASSERT_EQ(q.Init(8, 1000), 1);
    std::vector<uint8_t> big = Pattern(200, 3), small = Pattern(10, 4);
    ASSERT_EQ(q.Push(Desc(0, 200, 5), big.data()), 1);
    ASSERT_EQ(q.Push(Desc(1, 10, 6), small.data()), 1);
    std::vector<uint8_t> out(64, 0xAB);
    PacketDescriptor d;
    EXPECT_EQ(q.Pop(&d, out.data(), 64), PacketQueue::kPopTooLarge);
    EXPECT_EQ(d.length, 200);
    EXPECT_EQ(d.timestamp, 5u);
    EXPECT_EQ(out, std::vector<uint8_t>(64, 0xAB));  // nothing was written
    EXPECT_EQ(q.Count(), 1);
    EXPECT_EQ(q.FreeBytes(), 990);
    ASSERT_EQ(q.Pop(&d, out.data(), 64), PacketQueue::kPopOk);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 10), small);
}

TEST(PacketQueue, PeekVideoTimeSkipsAudioAndInformation) {
    PacketQueue q;
    ASSERT_EQ(q.Init(8, 1000), 1);
    uint64_t ts = 77;
    EXPECT_EQ(q.PeekVideoTime(&ts), 0);
    uint8_t b[4] = {};
    q.Push(Desc(rec::kPacketInfo, 4, 10), b);
    q.Push(Desc(rec::kPacketInfo, 4, 20), b);
    EXPECT_EQ(q.PeekVideoTime(&ts), 0);
    EXPECT_EQ(ts, 77u);
    q.Push(Desc(rec::kPacketAudio, 4, 30), b);
    q.Push(Desc(rec::kPacketPFrame, 4, 40), b);
    q.Push(Desc(rec::kPacketIFrame, 4, 50), b);
    EXPECT_EQ(q.PeekVideoTime(&ts), 1);
    EXPECT_EQ(ts, 40u);
    EXPECT_EQ(q.Count(), 5);  // nothing removed
}

TEST(PacketQueue, SkipToDropsUpToTheFirstLaterPacket) {
    struct Case {
        uint64_t target;
        int left;
        uint64_t nextTimestamp;
    } cases[] = {
        {0, 4, 200},     // older than all: exactly one is dropped
        {100, 3, 300},   // equal to the first: it goes, and so does the next later one
        {250, 2, 400},
        {999, 0, 0},     // newer than all: the queue empties
    };
    for (const Case& c : cases) {
        PacketQueue q;
        ASSERT_EQ(q.Init(8, 1000), 1);
        uint8_t b[2] = {};
        for (uint64_t ts : {100, 200, 300, 400, 500}) q.Push(Desc(0, 2, ts), b);
        q.SkipTo(c.target);
        EXPECT_EQ(q.Count(), c.left) << c.target;
        PacketDescriptor d;
        if (c.left > 0) {
            ASSERT_EQ(q.Pop(&d, b, 2), PacketQueue::kPopOk);
            EXPECT_EQ(d.timestamp, c.nextTimestamp) << c.target;
        }
        EXPECT_EQ(q.FreeBytes(), 1000 - 2 * (c.left > 0 ? c.left - 1 : 0));
    }
}

TEST(PacketQueue, ClearAndReinitStartEmpty) {
    PacketQueue q;
    ASSERT_EQ(q.Init(4, 50), 1);
    std::vector<uint8_t> p = Pattern(30, 9), out(50);
    q.Push(Desc(0, 30, 1), p.data());
    EXPECT_EQ(q.Clear(), 1);
    EXPECT_EQ(q.Count(), 0);
    EXPECT_EQ(q.FreeBytes(), 50);
    PacketDescriptor d;
    EXPECT_EQ(q.Pop(&d, out.data(), 50), PacketQueue::kPopEmpty);
    ASSERT_EQ(q.Init(3, 20), 1);
    EXPECT_EQ(q.Push(Desc(0, 30, 1), p.data()), 0);
    EXPECT_EQ(q.Push(Desc(0, 10, 1), p.data()), 1);
    EXPECT_EQ(q.Push(Desc(0, 10, 2), p.data()), 1);
    EXPECT_EQ(q.Push(Desc(0, 0, 3), p.data()), 0);  // 2 packets for 3 descriptors
}

TEST(PacketQueue, UnusableOrFreedQueueRefusesEverything) {
    PacketQueue q;
    uint8_t b[4] = {};
    PacketDescriptor d;
    EXPECT_EQ(q.Push(Desc(0, 4, 1), b), 0);
    EXPECT_EQ(q.Pop(&d, b, 4), PacketQueue::kPopEmpty);
    EXPECT_EQ(q.Init(1, 100), 0);
    EXPECT_EQ(q.Init(4, 0), 0);
    EXPECT_EQ(q.Push(Desc(0, 4, 1), b), 0);
    ASSERT_EQ(q.Init(4, 100), 1);
    EXPECT_EQ(q.Push(Desc(0, 4, 1), b), 1);
    EXPECT_EQ(q.Free(), 1);
    EXPECT_EQ(q.Count(), 0);
    EXPECT_EQ(q.Push(Desc(0, 4, 1), b), 0);
    q.SkipTo(5);
    EXPECT_EQ(q.Clear(), 1);
    EXPECT_EQ(q.Push(Desc(0, 4, 1), b), 0);
}

namespace {

struct Transfer {
    PacketQueue* queue;
    int packets;
    bool ok;
};

// Pushes packets of varying length whose bytes encode their number;
// retries while the queue is full, as the play thread does.
int Producer(void* arg) {
    Transfer* t = static_cast<Transfer*>(arg);
    for (int i = 0; i < t->packets; ++i) {
        std::vector<uint8_t> bytes = Pattern(1 + (i * 37) % 500, uint8_t(i));
        while (!t->queue->Push(Desc(i % 4, int32_t(bytes.size()), uint64_t(i)), bytes.data())) Sleep(0);
    }
    return 0;
}

}  // namespace

TEST(PacketQueue, ProducerAndConsumerOnTwoThreadsKeepOrderAndBytes) {
    PacketQueue q;
    ASSERT_EQ(q.Init(16, 2000), 1);
    Transfer t = {&q, 5000, true};
    CThread producer;
    ASSERT_EQ(producer.Start(&Producer, &t), 1);
    std::vector<uint8_t> out(500);
    int next = 0;
    DWORD deadline = GetTickCount() + 20000;
    while (next < t.packets && GetTickCount() < deadline) {
        PacketDescriptor d;
        if (q.Pop(&d, out.data(), int32_t(out.size())) != PacketQueue::kPopOk) {
            Sleep(0);
            continue;
        }
        ASSERT_EQ(d.timestamp, uint64_t(next));
        ASSERT_EQ(d.type, next % 4);
        std::vector<uint8_t> want = Pattern(1 + (next * 37) % 500, uint8_t(next));
        ASSERT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + d.length), want) << next;
        ++next;
    }
    EXPECT_EQ(next, t.packets);
    EXPECT_EQ(producer.Stop(5000), CThread::kStopped);
    EXPECT_EQ(q.FreeBytes(), 2000);
}
