// The exports' answers for null handles, foreign channels and the calls
// that are accepted and ignored, through the import library.
#include "Ostrivel.h"

#include <gtest/gtest.h>

TEST(Exports, NullHandlesFailAndTheSyncCallsGiveMinusOne) {
    FileInfo info{};
    int ms = 0;
    EXPECT_EQ(OV_OpenFile("x.h264", nullptr, 0, nullptr), 1);  // a caller must not think it opened
    EXPECT_EQ(OV_CloseFile(nullptr, 0), 1);
    EXPECT_EQ(OV_GetFileInfo(nullptr, &info), 1);
    EXPECT_EQ(OV_GetFileParam(nullptr, &info, "x.h264"), 1);
    EXPECT_EQ(OV_Play(nullptr, 0), 1);
    EXPECT_EQ(OV_Stop(nullptr, 0), 1);
    EXPECT_EQ(OV_Pause(nullptr, 1), 1);
    EXPECT_EQ(OV_PlayOneByOne(nullptr), 1);
    EXPECT_EQ(OV_SetPlayRate(nullptr, 2, 0), 1);
    EXPECT_EQ(OV_GetPlayTime(nullptr, &ms), 1);
    EXPECT_EQ(OV_SetPlayTime(nullptr, 0), 1);
    EXPECT_EQ(OV_SetInfoFrameCallBack(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(OV_SetEndCallBack(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(OV_PlaySound(nullptr, 0), 1);
    EXPECT_EQ(OV_StopSound(nullptr), 1);
    EXPECT_EQ(OV_SetVolume(nullptr, 0xFFFF), 1);
    EXPECT_EQ(OV_CaptureBMP(nullptr, 0, "x.bmp", nullptr), 1);
    EXPECT_EQ(OV_ShowOsd(nullptr, "x", 0), 1);
    EXPECT_EQ(OV_GetSynChannel(nullptr), -1);
    EXPECT_EQ(OV_SetSynChannel(nullptr, 0), -1);
    EXPECT_EQ(OV_EraseDecoder(nullptr), 0);
    EXPECT_EQ(OV_SetReaderCallBack(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(OV_GetIndexFileInfo(nullptr, &info), 1);
    EXPECT_EQ(OV_StartIndexReader(nullptr), 1);
    EXPECT_EQ(OV_StopIndexReader(nullptr), 1);
    EXPECT_EQ(OV_CloseIndexReader(nullptr), 1);
}

TEST(Exports, ChannelsOutsideZeroToThreeHaveNoPlayer) {
    void* h = nullptr;
    ASSERT_EQ(OV_CreateDecoder(&h), 0);
    ASSERT_NE(h, nullptr);
    for (int channel : {-1, 4, 5, 7, 1000}) {
        EXPECT_EQ(OV_OpenFile("x.h264", nullptr, channel, h), 1) << channel;
        EXPECT_EQ(OV_Stop(h, channel), 0) << channel;
        EXPECT_EQ(OV_CloseFile(h, channel), 0) << channel;
        EXPECT_EQ(OV_PlaySound(h, channel), 0) << channel;
        EXPECT_EQ(OV_CaptureBMP(h, channel, "x.bmp", nullptr), 1) << channel;
        EXPECT_EQ(OV_Play(h, channel), 1) << channel;       // no crash, a failure
        EXPECT_EQ(OV_SetSynChannel(h, channel), 1) << channel;
    }
    EXPECT_EQ(OV_GetSynChannel(h), 0);
    EXPECT_EQ(OV_ShowOsd(h, nullptr, 0), 0);   // a null text is an empty one
    EXPECT_EQ(OV_EraseDecoder(h), 0);
}

TEST(Exports, ClipExportNeverHandsOutAHandle) {
    void* clip = reinterpret_cast<void*>(1);
    EXPECT_EQ(OV_OpenCutFile("a.h264", "b.avi", &clip), 1);
    EXPECT_EQ(clip, nullptr);
    EXPECT_EQ(OV_StartCutFile(nullptr, 0, 1000), 1);
    EXPECT_EQ(OV_CloseCutFile(nullptr), 1);
    EXPECT_EQ(OV_CaptureJPEG(nullptr, 0, nullptr), 0);
    EXPECT_EQ(OV_SetDecCallBack(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(OV_SetDisplayCallBack(nullptr, nullptr, nullptr), 0);
}
