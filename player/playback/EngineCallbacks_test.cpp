#include "playback/EngineCallbacks.h"

#include "PostedBlock.h"
#include "PrivateMessages.h"
#include "Wnd.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

TEST(EngineCallbacks, TheInformationCopyTakesAtMostTheBlocksLength)
{
    std::vector<uint8_t> data(100);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uint8_t(i + 1);
    for (uint32_t length : {0u, 1u, 10u, 47u, 48u, 49u, 100u}) {
        std::unique_ptr<InfoFrame> copy = CopyInfoFrame(data.data(), length);
        ASSERT_TRUE(copy);
        const auto* bytes = reinterpret_cast<const uint8_t*>(copy.get());
        for (uint32_t i = 0; i < sizeof(InfoFrame); ++i)
            EXPECT_EQ(bytes[i], i < length ? data[i] : 0) << "length " << length << ", byte " << i;
    }
    std::unique_ptr<InfoFrame> none = CopyInfoFrame(nullptr, 48);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->speedKmh, 0);
}

TEST(EngineCallbacks, ReportsArePostedToThePanelsWindow)
{
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    const size_t before = PendingBlockCount();
    ReportSink sink;
    sink.window = window.m_hWnd;
    sink.Next();
    std::vector<uint8_t> data(48, 7);
    InfoFrameCallback(data.data(), 48, 0, 0, &sink);
    EndCallback(2, &sink);
    sink.Next();  // a later group: the reports keep the number they were made with
    EXPECT_EQ(PendingBlockCount(), before + 1);

    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, window.m_hWnd, WM_INFO_FRAME, WM_INFO_FRAME, PM_REMOVE));
    std::unique_ptr<InfoReport> frame = TakeBlock<InfoReport>(Message{msg.message, msg.wParam, msg.lParam});
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->frame.year, 7);
    EXPECT_EQ(frame->group, 1u);
    EXPECT_EQ(msg.wParam, 48u);
    // A short block says how short it is.
    InfoFrameCallback(data.data(), 20, 0, 0, &sink);
    ASSERT_TRUE(PeekMessageW(&msg, window.m_hWnd, WM_INFO_FRAME, WM_INFO_FRAME, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 20u);
    frame = TakeBlock<InfoReport>(Message{msg.message, msg.wParam, msg.lParam});
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->group, 2u);
    ASSERT_TRUE(PeekMessageW(&msg, window.m_hWnd, WM_CHANNEL_END, WM_CHANNEL_END, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    EXPECT_EQ(msg.lParam, 1);
    EXPECT_EQ(PendingBlockCount(), before);

    // No window to take it: the copy is freed at once.
    window.DestroyWindow();
    InfoFrameCallback(data.data(), 48, 0, 0, &sink);
    EXPECT_EQ(PendingBlockCount(), before);
}
