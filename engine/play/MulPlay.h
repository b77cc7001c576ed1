// The decoder handle: up to four channels of one recording group, one of
// them the sync channel (master) whose timestamps the others follow.
#pragma once

#include "MutexLock.h"
#include "SyncRules.h"
#include "Ostrivel.h"
#include "PlayerOwner.h"

// Which slots hold a file, which play, their start timestamps and the sync
// channel: the bookkeeping behind the handle, without the players.
struct ChannelTable {
    bool open[kChannelCount] = {};
    bool playing[kChannelCount] = {};
    uint64_t start[kChannelCount] = {kNoStart, kNoStart, kNoStart, kNoStart};
    int sync = 0;

    static bool Valid(int channel) { return channel >= 0 && channel < kChannelCount; }
    bool HasFile(int channel) const { return Valid(channel) && open[channel]; }
    int OpenCount() const;

    // A file opened in the slot: its start counts, the sync channel is
    // chosen again by the earliest start.
    void Opened(int channel, uint64_t firstTimestamp);
    // The slot is empty again; its start stays for a later open to replace.
    void Closed(int channel);
    // Play or stop of a channel; a channel without a file never plays.
    bool SetPlaying(int channel, bool on);
    // The channel's file ended: it no longer plays and the sync channel is
    // chosen again. Gives the new sync channel.
    int Ended(int channel);
    // The caller's choice. 0: it changed and the playing channels must be
    // made its slaves; 1: unchanged (already the sync channel); -1: refused
    // (no file in that slot).
    int Choose(int channel);
    // The group's time starts at the earliest start of its open channels
    // (kNoStart with none open). The play time and the seeks count from
    // it, whichever channel syncs: when the lead moves to a channel that
    // started later, the time goes on without a jump.
    uint64_t GroupStart() const;
};

// Where a seek to `groupMs` of the group's time puts a channel whose file
// runs from `first` to `last` (microseconds), in milliseconds of its own
// file: the same moment as every other channel. Before its start it shows
// its first picture (0); past its end it goes to its end, or, when it no
// longer plays (`playing` false: it ended there already), stays where it
// is (-1).
int ChannelSeekMs(int groupMs, uint64_t groupStart, uint64_t first, uint64_t last, bool playing);

// Starts channel `channel` of `table` with `start` (0: started), `lock`
// guarding the table. The channel is marked playing first and `start` runs
// outside the lock: a file so short or damaged that its thread ends at once
// reports that end after the mark, which clears it. (Marked after the
// start, such a channel would stay marked for good, could later become the
// sync channel and hold every other channel still.) A start that fails
// takes the mark back. 1 when it failed or the slot holds no file.
template <class Start> int PlayChannel(CMutexLock& lock, ChannelTable& table, int channel, Start start) {
    {
        CAutoLock hold(lock);
        if (!table.SetPlaying(channel, true)) return 1;
    }
    if (start() == 0) return 0;
    CAutoLock hold(lock);
    table.SetPlaying(channel, false);
    return 1;
}

class CPlayer;

// The handle's lock guards the table and the player slots: play threads
// reporting an end or passing the master's time read and change them while
// the caller's thread opens, closes and sets the sync channel. It is never
// held while a play thread is stopped: players are taken out of their slot
// first and stopped outside it.
class CMulPlay : public PlayerOwner {
public:
    CMulPlay();
    ~CMulPlay() override;

    // 1: the file cannot be opened here or the channel is outside 0-3.
    int OpenChannel(const char* path, HWND window, int channel);
    int CloseChannel(int channel);
    int OpenCount();
    int SyncChannel();
    // 1 when the channel has no open file.
    int SetSyncChannel(int channel);
    bool HasChannel(int channel);

    int GetFileInfo(FileInfo* info);
    static int GetFileParam(FileInfo* info, const char* path);
    // 1 for a channel without a file or a play thread that did not start.
    int Play(int channel);
    int Stop(int channel);
    int Pause(int on);
    int StepAll();
    int SetRate(int rate, int reverse);
    int GetPlayTime(int* ms);
    int SeekAll(int ms);
    int SetInfoCallback(void* user, InfoFrameCallBackProc callback);
    int SetEndCallback(void* user, EndCallBackProc callback);
    int SoundOnChannel(int channel);
    int StopSound();
    int SetVolume(int volume);
    int CaptureBmp(int channel, const char* path, CaptureFrameInfo* info);
    int ShowOsd(const char* text, int corner);
    // The timestamp of the channel's last decoded picture; 0 for a channel
    // without a file. Only the sync channel's is exported (as the play
    // time); the benchmarks compare every channel's against it.
    uint64_t ChannelTimestamp(int channel);

    // PlayerOwner, from the play threads.
    void PassTime(uint64_t timestamp) override;
    void ChannelEnded(int channel) override;

private:
    // The player in the slot, or null. Players are created and deleted only
    // on the caller's thread, so the pointer stays good for its calls.
    CPlayer* At(int channel);
    void Slave(bool allOpen);

    CMutexLock lock_;   // guards table_ and players_
    ChannelTable table_;
    CPlayer* players_[kChannelCount] = {};
};
