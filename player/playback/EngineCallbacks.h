// The two engine callbacks of the control panel. They run on the engine's
// play threads (and on the window thread inside a step or a seek) with an
// engine lock held: they copy what they were given and post it to the
// panel's window, and touch nothing else. The user value the engine hands
// back is the panel's window handle.
#pragma once

#include "Ostrivel.h"

#include <memory>

// A copy of an information frame: at most `length` bytes of data, at most
// the frame's 48, the rest zero (a damaged file's block may be shorter).
std::unique_ptr<InfoFrame> CopyInfoFrame(const uint8_t* data, uint32_t length);

// Posts the copy as WM_INFO_FRAME with the block's length (a block the
// receiver takes; freed here when the post fails).
void CALLBACK InfoFrameCallback(const uint8_t* data, uint32_t length, uint32_t timestampLow,
                                uint32_t timestampHigh, void* user);
// Posts WM_CHANNEL_END with the channel.
void CALLBACK EndCallback(int channel, void* user);
