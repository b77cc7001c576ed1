#include "MulPlay.h"

CMulPlay::CMulPlay() = default;

CMulPlay::~CMulPlay() {
    for (int k = 0; k < kChannelCount; ++k) CloseChannel(k);
}

int CMulPlay::OpenChannel(const char* path, HWND window, int channel) {
    (void)window;
    if (!ValidChannel(channel) || !path) return 1;
    // Re-opening an occupied slot closes the old file first.
    CloseChannel(channel);
    // Channel players come with the record-file reader and the decoders;
    // until then no file opens.
    return 1;
}

int CMulPlay::CloseChannel(int channel) {
    if (!ValidChannel(channel)) return 0;
    CAutoLock hold(lock_);
    open_[channel] = false;
    playing_[channel] = false;
    return 0;
}

int CMulPlay::OpenCount() {
    CAutoLock hold(lock_);
    int n = 0;
    for (bool o : open_) n += o ? 1 : 0;
    return n;
}

int CMulPlay::SyncChannel() {
    CAutoLock hold(lock_);
    return syncChannel_;
}

bool CMulPlay::HasChannel(int channel) {
    if (!ValidChannel(channel)) return false;
    CAutoLock hold(lock_);
    return open_[channel];
}

int CMulPlay::SetSyncChannel(int channel) {
    if (!ValidChannel(channel)) return 1;
    CAutoLock hold(lock_);
    if (!open_[channel]) return 1;
    syncChannel_ = channel;
    return 0;
}
