#include "ChannelSync.h"

void SlaveToSyncChannel(const ChannelTable& table, ChannelSync* const players[kChannelCount],
                        bool allOpen) {
    ChannelSync* master = table.HasFile(table.sync) ? players[table.sync] : nullptr;
    if (!master) return;   // no master to follow: leave everyone as they are
    master->SetSlave(false);
    master->SetMaster(true);
    uint64_t now = master->CurrentTimestamp();
    for (int k = 0; k < kChannelCount; ++k) {
        if (k == table.sync || !table.open[k] || !players[k]) continue;
        // Only the sync channel is master: a channel that led before and
        // plays again later must not hand its own time to the slaves.
        players[k]->SetMaster(false);
        if (!allOpen && !table.playing[k]) continue;
        players[k]->SetSlave(true);
        players[k]->SetMasterTime(now);
    }
}

void PassMasterTime(const ChannelTable& table, ChannelSync* const players[kChannelCount],
                    uint64_t timestamp) {
    if (table.OpenCount() < 2) return;
    for (int k = 0; k < kChannelCount; ++k) {
        if (k == table.sync || !table.open[k] || !players[k]) continue;
        players[k]->SetMasterTime(timestamp);
    }
}
