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
    PostBlock(static_cast<HWND>(user), WM_INFO_FRAME, length, CopyInfoFrame(data, length));
}

void CALLBACK EndCallback(int channel, void* user)
{
    ::PostMessageW(static_cast<HWND>(user), WM_CHANNEL_END, static_cast<WPARAM>(channel), 0);
}
