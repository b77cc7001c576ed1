// The decoder handle: up to four channels of one recording group, one of
// them the sync channel (master) whose timestamps the others follow.
//
// The handle's lock guards the slot flags, the sync channel, the start
// timestamps and the playing flags: play threads reporting an end change
// them while the caller's thread opens, closes and sets the sync channel.
// It is never held while a play thread is stopped.
#pragma once

#include "MutexLock.h"
#include "SyncRules.h"
#include "include/Ostrivel.h"

class CMulPlay {
public:
    CMulPlay();
    virtual ~CMulPlay();

    static bool ValidChannel(int channel) { return channel >= 0 && channel < kChannelCount; }

    // 1: the file cannot be opened here or the channel is outside 0-3.
    int OpenChannel(const char* path, HWND window, int channel);
    int CloseChannel(int channel);
    int OpenCount();
    int SyncChannel();
    // 1 when the channel has no open file.
    int SetSyncChannel(int channel);
    bool HasChannel(int channel);

private:
    CMutexLock lock_;   // guards the fields below
    bool open_[kChannelCount] = {};
    bool playing_[kChannelCount] = {};
    uint64_t start_[kChannelCount] = {kNoStart, kNoStart, kNoStart, kNoStart};
    int syncChannel_ = 0;
};
