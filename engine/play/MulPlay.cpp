#include "MulPlay.h"

#include "ChannelSync.h"
#include "Player.h"

#include <new>

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

uint64_t ChannelTable::GroupStart() const {
    uint64_t earliest = kNoStart;
    for (int k = 0; k < kChannelCount; ++k)
        if (open[k] && start[k] < earliest) earliest = start[k];
    return earliest;
}

int ChannelSeekMs(int groupMs, uint64_t groupStart, uint64_t first, uint64_t last, bool playing) {
    // 64-bit and signed: a moment before the channel's start is negative.
    const int64_t atUs = int64_t(groupStart - first) + int64_t(groupMs) * 1000;
    if (atUs <= 0) return 0;
    const int64_t at = atUs / 1000;
    const int64_t end = last > first ? int64_t((last - first) / 1000) : 0;
    if (at <= end) return int(at);
    return playing ? int(end) : -1;
}

CMulPlay::CMulPlay() = default;

CMulPlay::~CMulPlay() {
    // Erasing the handle closes what is still open: no play thread may be
    // left calling into a freed handle.
    for (int k = 0; k < kChannelCount; ++k) CloseChannel(k);
}

CPlayer* CMulPlay::At(int channel) {
    CAutoLock hold(lock_);
    return ChannelTable::Valid(channel) ? players_[channel] : nullptr;
}

void CMulPlay::Slave(bool allOpen) {
    // Under the handle lock; each call takes one player's sync lock alone.
    ChannelSync* players[kChannelCount];
    for (int k = 0; k < kChannelCount; ++k) players[k] = players_[k];
    SlaveToSyncChannel(table_, players, allOpen);
}

int CMulPlay::OpenChannel(const char* path, HWND window, int channel) {
    if (!ChannelTable::Valid(channel) || !path) return 1;
    // Re-opening an occupied slot closes the old file first.
    CloseChannel(channel);
    CPlayer* player = new (std::nothrow) CPlayer;
    if (!player) return 1;
    player->SetOwner(this, channel);
    if (player->Open(path, window) != 0) {
        delete player;
        return 1;
    }
    uint64_t first = 0;
    player->GetTimeRange(&first, nullptr);
    CAutoLock hold(lock_);
    players_[channel] = player;
    table_.Opened(channel, first);
    return 0;
}

int CMulPlay::CloseChannel(int channel) {
    CPlayer* player = nullptr;
    {
        CAutoLock hold(lock_);
        if (ChannelTable::Valid(channel)) {
            player = players_[channel];
            players_[channel] = nullptr;
        }
        table_.Closed(channel);
    }
    // Outside the lock: its play thread may be waiting for it to report.
    delete player;
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
    int chosen = table_.Choose(channel);
    if (chosen < 0) return 1;
    if (chosen == 0) Slave(false);
    return 0;
}

int CMulPlay::GetFileInfo(FileInfo* info) {
    CPlayer* player = At(SyncChannel());
    return player ? player->GetFileInfo(info) : 1;
}

int CMulPlay::GetFileParam(FileInfo* info, const char* path) {
    return CPlayer::ProbeFile(info, path);
}

int CMulPlay::Play(int channel) {
    CPlayer* player;
    {
        CAutoLock hold(lock_);
        if (!table_.HasFile(channel)) return 1;
        player = players_[channel];
    }
    // Outside the lock, the channel's old thread ends first: an end it
    // reports on its way out must not clear the new mark.
    player->StopThread();
    {
        CAutoLock hold(lock_);
        Slave(true);
    }
    return PlayChannel(lock_, table_, channel, [player] { return player->Play(); });
}

int CMulPlay::Stop(int channel) {
    CPlayer* player = At(channel);
    if (!player) return 0;
    player->StopThread();
    CAutoLock hold(lock_);
    table_.SetPlaying(channel, false);
    return 0;
}

// The all-channel calls run outside the handle lock: the players' own
// locks come first in every play thread.
#define FOR_EACH_PLAYER(call)                                  \
    for (int k = 0; k < kChannelCount; ++k) {                  \
        if (CPlayer* player = At(k)) player->call;             \
    }

int CMulPlay::Pause(int on) {
    FOR_EACH_PLAYER(SetPause(on));
    return 0;
}

int CMulPlay::StepAll() {
    FOR_EACH_PLAYER(StepOne());
    return 0;
}

int CMulPlay::SetRate(int rate, int reverse) {
    FOR_EACH_PLAYER(SetRate(rate, reverse));
    return 0;
}

int CMulPlay::GetPlayTime(int* ms) {
    CPlayer* player;
    uint64_t groupStart;
    {
        CAutoLock hold(lock_);
        player = ChannelTable::Valid(table_.sync) ? players_[table_.sync] : nullptr;
        groupStart = table_.GroupStart();
    }
    if (!player || !ms) return 1;
    // The sync channel's last picture on the group's time; before it shows
    // one, the group's start.
    uint64_t current = player->CurrentTimestamp();
    *ms = current == 0 ? 0 : PlayTimeMs(current, groupStart);
    return 0;
}

int CMulPlay::SeekAll(int ms) {
    // All channels at once, each on its own play thread: the call takes as
    // long as the slowest channel, not as long as all of them in turn, and
    // no channel plays on while the others seek. A channel whose thread does
    // not run seeks on this thread.
    // Each channel seeks to the same moment of the group's time, in its own
    // file (ChannelSeekMs).
    CPlayer* players[kChannelCount];
    int target[kChannelCount];
    {
        CAutoLock hold(lock_);
        const uint64_t groupStart = table_.GroupStart();
        for (int k = 0; k < kChannelCount; ++k) {
            players[k] = players_[k];
            target[k] = -1;
            if (!players[k]) continue;
            uint64_t first = 0, last = 0;
            players[k]->GetTimeRange(&first, &last);
            target[k] = ChannelSeekMs(ms, groupStart, first, last, table_.playing[k]);
        }
    }
    bool handedOver[kChannelCount] = {};
    for (int k = 0; k < kChannelCount; ++k)
        if (players[k] && target[k] >= 0) handedOver[k] = players[k]->BeginSeek(target[k]) != 0;
    for (int k = 0; k < kChannelCount; ++k)
        if (handedOver[k]) players[k]->EndSeek();
    return 0;
}

int CMulPlay::SetInfoCallback(void* user, InfoFrameCallBackProc callback) {
    CPlayer* player = At(SyncChannel());
    return player ? player->SetInfoCallback(user, callback) : 1;
}

int CMulPlay::SetEndCallback(void* user, EndCallBackProc callback) {
    FOR_EACH_PLAYER(SetEndCallback(user, callback));
    return 0;
}

int CMulPlay::SoundOnChannel(int channel) {
    for (int k = 0; k < kChannelCount; ++k) {
        if (CPlayer* player = At(k)) {
            if (k == channel) player->SoundOn();
            else player->SoundOff();
        }
    }
    return 0;
}

int CMulPlay::StopSound() {
    FOR_EACH_PLAYER(SoundOff());
    return 0;
}

int CMulPlay::SetVolume(int volume) {
    FOR_EACH_PLAYER(SetVolume(volume));
    return 0;
}

int CMulPlay::CaptureBmp(int channel, const char* path, CaptureFrameInfo* info) {
    CPlayer* player = At(channel);
    if (!player) return 1;
    return player->CaptureBmp(path, info);
}

int CMulPlay::ShowOsd(const char* text, int corner) {
    FOR_EACH_PLAYER(ShowOsd(text, corner));
    return 0;
}

#undef FOR_EACH_PLAYER

uint64_t CMulPlay::ChannelTimestamp(int channel) {
    CPlayer* player = At(channel);
    return player ? player->CurrentTimestamp() : 0;
}

void CMulPlay::PassTime(uint64_t timestamp) {
    CAutoLock hold(lock_);
    ChannelSync* players[kChannelCount];
    for (int k = 0; k < kChannelCount; ++k) players[k] = players_[k];
    PassMasterTime(table_, players, timestamp);
}

void CMulPlay::ChannelEnded(int channel) {
    CAutoLock hold(lock_);
    // A channel being closed can still report its end while the caller waits
    // for its thread: an empty slot must not become the sync channel.
    if (!table_.HasFile(channel)) return;
    table_.Ended(channel);
    Slave(false);
}
