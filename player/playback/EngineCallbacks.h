// The two engine callbacks of the control panel. They run on the engine's
// play threads (and on the window thread inside a step or a seek) with an
// engine lock held: they copy what they were given and post it to the
// panel's window, and touch nothing else. The user value the engine hands
// back is the panel's ReportSink.
//
// Each report is stamped with the group it belongs to: the sink's number
// when the engine reported. The panel gives the sink a new number with
// every open (and whenever what the engine reported before stops being
// true: a seek, a turn of direction, the hold at the start) and drops the
// reports that carry another one.
#pragma once

#include "Ostrivel.h"

#include <windows.h>

#include <memory>
#include <stdint.h>

struct ReportSink {
    HWND window = nullptr;
    // The group's number; read by the engine's threads, changed by the
    // window's.
    uint32_t Current() const { return uint32_t(InterlockedCompareExchange(&group_, 0, 0)); }
    uint32_t Next() { return uint32_t(InterlockedIncrement(&group_)); }

private:
    mutable volatile LONG group_ = 0;
};

// A copy of an information frame and the group it came from.
struct InfoReport {
    InfoFrame frame;
    uint32_t group;
};

// A copy of an information frame: at most `length` bytes of data, at most
// the frame's 48, the rest zero (a damaged file's block may be shorter).
std::unique_ptr<InfoFrame> CopyInfoFrame(const uint8_t* data, uint32_t length);

// Posts the copy as WM_INFO_FRAME (wParam the block's length, the
// InfoReport a block the receiver takes; freed here when the post fails).
void CALLBACK InfoFrameCallback(const uint8_t* data, uint32_t length, uint32_t timestampLow,
                                uint32_t timestampHigh, void* user);
// Posts WM_CHANNEL_END with the channel (wParam) and the group (lParam).
void CALLBACK EndCallback(int channel, void* user);
