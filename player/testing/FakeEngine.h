// A recording fake of the engine table for the playback panels' tests: it
// logs every call, hands out one handle (or none), fails the opens it is
// told to, and keeps the callbacks so that a test can report as the
// engine's threads would.
#pragma once

#include "playback/EngineApi.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace fake_engine {

struct Call {
    std::string name;
    int a = 0, b = 0;
    std::string path;
};

struct State {
    std::vector<Call> calls;
    bool giveNoHandle = false;
    std::set<std::string> failingPaths;  // OpenFile fails for these
    uint32_t durationMs = 60000;
    int playTimeMs = 0;
    int syncChannel = 0;                 // set by SetSynChannel
    int syncOverride = -100;             // when set, what GetSynChannel answers
    bool open = false;                   // a handle is out
    InfoFrameCallBackProc infoCallback = nullptr;
    void* infoUser = nullptr;
    EndCallBackProc endCallback = nullptr;
    void* endUser = nullptr;
    std::function<void(int channel)> onStop;  // called in every Stop
    std::set<int> capturingChannels;     // CaptureBMP writes a file for these
};

State& Fake();
// A fresh state.
void Reset();
const EngineApi& Table();

// The calls named `name`, the last of them, and the paths OpenFile was given.
int Count(const std::string& name);
Call Last(const std::string& name);
std::vector<std::string> OpenedPaths();
// As the engine's threads do: an end or an information frame of the open
// handle, posted to the panel.
void ReportEnd(int channel);
void ReportInfoFrame();

}  // namespace fake_engine
