#include "MulPlay.h"

int ChannelTable::OpenCount() const {
    int n = 0;
    for (bool o : open) n += o ? 1 : 0;
    return n;
}

void ChannelTable::Opened(int channel, uint64_t firstTimestamp) {
    if (!Valid(channel)) return;
    open[channel] = true;
    playing[channel] = false;
    start[channel] = firstTimestamp;
    sync = SyncChannelAfterOpen(channel, open, start);
}

void ChannelTable::Closed(int channel) {
    if (!Valid(channel)) return;
    open[channel] = false;
    playing[channel] = false;
}

bool ChannelTable::SetPlaying(int channel, bool on) {
    if (!Valid(channel)) return false;
    playing[channel] = on && open[channel];
    return playing[channel] == on;
}

int ChannelTable::Ended(int channel) {
    if (!Valid(channel)) return sync;
    playing[channel] = false;
    sync = SyncChannelAfterEnd(channel, sync, playing, start);
    return sync;
}

int ChannelTable::Choose(int channel) {
    if (!HasFile(channel)) return -1;
    if (channel == sync) return 1;
    sync = channel;
    return 0;
}

CMulPlay::CMulPlay() = default;

CMulPlay::~CMulPlay() {
    // Erasing the handle closes what is still open: no play thread may be
    // left calling into a freed handle.
    for (int k = 0; k < kChannelCount; ++k) CloseChannel(k);
}

int CMulPlay::OpenChannel(const char* path, HWND window, int channel) {
    (void)window;
    if (!ChannelTable::Valid(channel) || !path) return 1;
    // Re-opening an occupied slot closes the old file first.
    CloseChannel(channel);
    // Channel players come with the record-file reader and the decoders;
    // until then no file opens.
    return 1;
}

int CMulPlay::CloseChannel(int channel) {
    CAutoLock hold(lock_);
    table_.Closed(channel);
    return 0;
}

int CMulPlay::OpenCount() {
    CAutoLock hold(lock_);
    return table_.OpenCount();
}

int CMulPlay::SyncChannel() {
    CAutoLock hold(lock_);
    return table_.sync;
}

bool CMulPlay::HasChannel(int channel) {
    CAutoLock hold(lock_);
    return table_.HasFile(channel);
}

int CMulPlay::SetSyncChannel(int channel) {
    CAutoLock hold(lock_);
    return table_.Choose(channel) < 0 ? 1 : 0;
}
