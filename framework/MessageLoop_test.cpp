#include "MessageLoop.h"
#include "WindowTest.h"
#include "Wnd.h"

#include <gtest/gtest.h>


namespace {

const UINT kAsk = WM_APP + 10;
const UINT kQueued = WM_APP + 11;

class Answerer : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    int asked = 0, queued = 0;

private:
    LRESULT OnAsk(WPARAM w, LPARAM)
    {
        ++asked;
        return static_cast<LRESULT>(w * 2);
    }
    void OnQueued() { ++queued; }
};

BEGIN_MESSAGE_TABLE(Answerer, CWnd)
    OnMessage<&Answerer::OnAsk>(kAsk),
    OnMessage<&Answerer::OnQueued>(kQueued),
END_MESSAGE_TABLE()

struct Job {
    HWND target;
    LRESULT answer;
};

DWORD WINAPI AskAndEnd(void* p)
{
    auto* job = static_cast<Job*>(p);
    job->answer = SendMessageW(job->target, kAsk, 21, 0);
    return 0;
}

}  // namespace

// A worker that sends to the waiting thread's window before it ends: a
// plain wait for the worker would never return; this one answers the
// sent message and returns when the worker ends.
TEST(MessageLoop, WaitForAWorkerThatSendsToTheWaitingThreadReturns)
{
    Answerer w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"t", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    PostMessageW(w.m_hWnd, kQueued, 0, 0);
    Job job = {w.m_hWnd, 0};
    HANDLE worker = CreateThread(nullptr, 0, &AskAndEnd, &job, 0, nullptr);
    ASSERT_NE(worker, nullptr);
    EXPECT_TRUE(WaitAnsweringSentMessages(worker, 5000));
    CloseHandle(worker);
    EXPECT_EQ(job.answer, 42);
    EXPECT_EQ(w.asked, 1);
    // Posted messages stay queued for the loop.
    EXPECT_EQ(w.queued, 0);
    wintest::Pump(0);
    EXPECT_EQ(w.queued, 1);
    w.DestroyWindow();
}

TEST(MessageLoop, WaitEndsAtItsTimeOutOrForABadHandle)
{
    HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD start = GetTickCount();
    EXPECT_FALSE(WaitAnsweringSentMessages(never, 100));
    EXPECT_GE(GetTickCount() - start, 90u);
    CloseHandle(never);
    EXPECT_FALSE(WaitAnsweringSentMessages(nullptr, INFINITE));
}

TEST(MessageLoop, LoopRunsUntilDoneAndPassesQuitOn)
{
    Answerer w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"t", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    PostMessageW(w.m_hWnd, kQueued, 0, 0);
    PostMessageW(w.m_hWnd, kQueued, 0, 0);
    EXPECT_TRUE(RunMessageLoop([&w] { return w.queued == 2; }));
    PostQuitMessage(3);
    EXPECT_FALSE(RunMessageLoop([] { return false; }));
    // The quit is there again for an outer loop.
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    w.DestroyWindow();
}
