// The keys the main window turns into playback commands, before any
// control sees them.
#pragma once

#include <windows.h>

enum class KeyCommand {
    PassOn,           // not ours: the key goes to its window
    Swallow,          // taken, nothing happens
    LeaveFullScreen,  // taken; leaves full screen when in it
    PlayOrPause,
    Slower,
    Faster,
    NextFile,
};

// The command of a WM_KEYDOWN key.
KeyCommand CommandForKey(WPARAM key);
