// What the decoder handle asks of each channel to keep them in step: be
// the master or a slave, and follow the master's timestamp. The channel
// player implements it; each call takes that player's own sync lock, one
// player at a time, never two.
#pragma once

#include "MulPlay.h"

#include <stdint.h>

class ChannelSync {
public:
    virtual ~ChannelSync() = default;
    virtual void SetMaster(bool master) = 0;
    virtual void SetSlave(bool slave) = 0;
    virtual void SetMasterTime(uint64_t timestamp) = 0;
    virtual uint64_t CurrentTimestamp() = 0;
};

// The sync channel becomes master; the others become its slaves at its
// current timestamp: every open one when play starts (`allOpen`), only the
// playing ones when the sync channel changes. Every other open channel
// loses its master mark either way: one channel leads.
void SlaveToSyncChannel(const ChannelTable& table, ChannelSync* const players[kChannelCount],
                        bool allOpen);
// The master decoded a frame: every other open channel follows it. A lone
// channel has nobody to tell.
void PassMasterTime(const ChannelTable& table, ChannelSync* const players[kChannelCount],
                    uint64_t timestamp);
