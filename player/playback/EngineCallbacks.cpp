#include "playback/EngineCallbacks.h"

#include "PostedBlock.h"
#include "PrivateMessages.h"

#include <cstring>
#include <new>

std::unique_ptr<InfoFrame> CopyInfoFrame(const uint8_t* data, uint32_t length)
{
    std::unique_ptr<InfoFrame> copy(new (std::nothrow) InfoFrame);
    if (!copy)
        return nullptr;
    std::memset(copy.get(), 0, sizeof(InfoFrame));
    if (data)
        std::memcpy(copy.get(), data, length < sizeof(InfoFrame) ? length : sizeof(InfoFrame));
    return copy;
}

void CALLBACK InfoFrameCallback(const uint8_t* data, uint32_t length, uint32_t, uint32_t, void* user)
{
    const auto* sink = static_cast<const ReportSink*>(user);
    if (!sink)
        return;
    std::unique_ptr<InfoReport> report(new (std::nothrow) InfoReport);
    std::unique_ptr<InfoFrame> copy = CopyInfoFrame(data, length);
    if (!report || !copy)
        return;
    report->frame = *copy;
    report->group = sink->Current();
    PostBlock(sink->window, WM_INFO_FRAME, length, std::move(report));
}

void CALLBACK EndCallback(int channel, void* user)
{
    const auto* sink = static_cast<const ReportSink*>(user);
    if (sink)
        ::PostMessageW(sink->window, WM_CHANNEL_END, static_cast<WPARAM>(channel), static_cast<LPARAM>(sink->Current()));
}
