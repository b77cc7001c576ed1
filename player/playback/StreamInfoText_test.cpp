#include "playback/StreamInfoText.h"

#include "StringIds.h"

#include <gtest/gtest.h>

namespace {

// Labels by id, so that the lines show which string they used.
CString Text(int id)
{
    switch (id) {
    case IDS_UNKNOWN_INFORMATION: return L"Unknown Information";
    case IDS_TIME_INTERVAL: return L"Time Interval:";
    case IDS_UNKNOWN: return L"Unknown";
    case IDS_TIME: return L"Time:";
    case IDS_CHANNEL: return L"Channel:";
    case IDS_STANDARD: return L"Standard:";
    case IDS_MODEL: return L"Model:";
    case IDS_FRAME_RATE: return L"Frame Rate:";
    }
    return L"?";
}

}  // namespace

TEST(StreamInfoText, FiveLinesFromTheFileName)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* text;
    } cases[] = {
        {L"D:\\rec\\201-02-101500-102000-02p000.h264",
         L"Time Interval:10:15:00-10:20:00\r\nChannel:CH02\r\nStandard:PAL\r\nModel:CIF\r\nFrame Rate:25F/S\r\n"},
        {L"D:\\rec\\201-11-235959-000010-16A000.h264",
         L"Time Interval:23:59:59-00:00:10\r\nChannel:CH11\r\nStandard:NTSC\r\nModel:1080P\r\nFrame Rate:10F/S\r\n"},
        // Not 32 characters, no backslash, nothing at all.
        {L"D:\\rec\\201-02-101500-102000-02p000.h2640", L"Unknown Information"},
        {L"201-02-101500-102000-02p000.h264", L"Unknown Information"},
        {L"", L"Unknown Information"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StreamInfoText(c.path, Text), c.text);
}
