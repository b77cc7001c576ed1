#include "PostedBlock.h"
#include "PrivateMessages.h"
#include "WindowTest.h"
#include "Wnd.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

const UINT kBlock = WM_APP + 20;

// Counts its live instances, so that a leak or a double free shows.
struct Counted {
    static std::atomic<int> live;
    int value;
    explicit Counted(int v) : value(v) { ++live; }
    ~Counted() { --live; }
};
std::atomic<int> Counted::live{0};

struct Other {
    int x = 0;
};

class Receiver : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    std::vector<int> values;
    int nulls = 0;
    bool takeAsOther = false;

private:
    void OnBlock(Message& m)
    {
        if (takeAsOther) {
            if (!TakeBlock<Other>(m))
                ++nulls;
            return;
        }
        std::unique_ptr<Counted> block = TakeBlock<Counted>(m);
        if (block)
            values.push_back(block->value);
        else
            ++nulls;
    }
};

BEGIN_MESSAGE_TABLE(Receiver, CWnd)
    OnMessage<&Receiver::OnBlock>(kBlock),
END_MESSAGE_TABLE()

}  // namespace

TEST(PostedBlock, TakenByTheReceiverAndFreedOnce)
{
    Receiver r;
    ASSERT_TRUE(r.CreateEx(0, nullptr, L"t", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    ASSERT_TRUE(PostBlock(r.m_hWnd, kBlock, 0, std::make_unique<Counted>(5)));
    EXPECT_EQ(Counted::live.load(), 1);
    EXPECT_EQ(PendingBlockCount(), 1u);
    wintest::Pump(0);
    EXPECT_EQ(r.values, std::vector<int>{5});
    EXPECT_EQ(Counted::live.load(), 0);
    EXPECT_EQ(PendingBlockCount(), 0u);
    r.DestroyWindow();
}

TEST(PostedBlock, FreedAtOnceWhenThePostFails)
{
    Receiver r;
    ASSERT_TRUE(r.CreateEx(0, nullptr, L"t", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    HWND dead = r.m_hWnd;
    r.DestroyWindow();
    EXPECT_FALSE(PostBlock(dead, kBlock, 0, std::make_unique<Counted>(1)));
    EXPECT_FALSE(PostBlock(nullptr, kBlock, 0, std::make_unique<Counted>(2)));
    EXPECT_FALSE(PostBlock<Counted>(dead, kBlock, 0, nullptr));
    EXPECT_EQ(Counted::live.load(), 0);
    EXPECT_EQ(PendingBlockCount(), 0u);
}

TEST(PostedBlock, BlocksStillQueuedAreFreedWithTheirWindow)
{
    Receiver r;
    ASSERT_TRUE(r.CreateEx(0, nullptr, L"t", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(PostBlock(r.m_hWnd, kBlock, 0, std::make_unique<Counted>(i)));
    EXPECT_EQ(Counted::live.load(), 10);
    r.DestroyWindow();
    EXPECT_EQ(Counted::live.load(), 0);
    EXPECT_EQ(PendingBlockCount(), 0u);
    // The stale messages, if the system still delivers them, find nothing.
    wintest::Pump(0);
    EXPECT_TRUE(r.values.empty());
}

TEST(PostedBlock, AnotherTypeIsNotHandedOutAndIsFreedWithTheWindow)
{
    Receiver r;
    ASSERT_TRUE(r.CreateEx(0, nullptr, L"t", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    r.takeAsOther = true;
    ASSERT_TRUE(PostBlock(r.m_hWnd, kBlock, 0, std::make_unique<Counted>(3)));
    wintest::Pump(0);
    EXPECT_EQ(r.nulls, 1);
    EXPECT_EQ(Counted::live.load(), 1);
    r.DestroyWindow();
    EXPECT_EQ(Counted::live.load(), 0);
}

// Workers post while the window goes away midway: every block is freed
// exactly once, whether it was taken, freed at the destruction or refused.
TEST(PostedBlock, WorkersPostingWhileTheWindowIsDestroyedLoseNothing)
{
    Receiver r;
    ASSERT_TRUE(r.CreateEx(0, nullptr, L"t", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    HWND target = r.m_hWnd;
    std::atomic<int> posted{0}, refused{0}, made{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([&] {
            while (!stop) {
                ++made;
                (PostBlock(target, kBlock, 0, std::make_unique<Counted>(1)) ? posted : refused)++;
                std::this_thread::yield();
            }
        });
    // Ends once the workers are posting; then again once they are refused.
    for (int i = 0; i < 500 && posted.load() < 500; ++i)
        Sleep(10);
    r.DestroyWindow();
    for (int i = 0; i < 500 && refused.load() < 100; ++i)
        Sleep(10);
    stop = true;
    for (auto& w : workers)
        w.join();
    wintest::Pump(0);
    EXPECT_EQ(posted.load() + refused.load(), made.load());
    EXPECT_GT(refused.load(), 0);
    EXPECT_EQ(Counted::live.load(), 0);
    EXPECT_EQ(PendingBlockCount(), 0u);
}

TEST(PrivateMessages, NoTwoMessagesShareAnId)
{
    const UINT ids[] = {WM_SCOPE_SPEED, WM_SCOPE_ACCEL, WM_VIDEO_CLICKED, WM_VIDEO_DBLCLICKED, WM_CHANNEL_END,
                        WM_INFO_FRAME,  WM_STEP_FRAME,  WM_SEARCH_DAY,    WM_REPAINT_CAPTION,  WM_PANEL_EVENT};
    for (size_t i = 0; i < std::size(ids); ++i) {
        EXPECT_GE(ids[i], static_cast<UINT>(WM_USER)) << i;
        for (size_t j = i + 1; j < std::size(ids); ++j)
            EXPECT_NE(ids[i], ids[j]) << i << " " << j;
        // Clear of the ids reflected messages use.
        EXPECT_FALSE(ids[i] >= WM_REFLECT_BASE && ids[i] < WM_REFLECT_BASE + WM_USER) << i;
    }
}
