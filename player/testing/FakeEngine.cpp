#include "testing/FakeEngine.h"

#include <cstdio>

#include <vector>

namespace fake_engine {
namespace {

char g_handle;

void Log(const char* name, int a = 0, int b = 0, const char* path = nullptr)
{
    Call c;
    c.name = name;
    c.a = a;
    c.b = b;
    if (path)
        c.path = path;
    Fake().calls.push_back(c);
}

int WINAPI CreateDecoder(void** h)
{
    Log("CreateDecoder");
    *h = Fake().giveNoHandle ? nullptr : &g_handle;
    Fake().open = *h != nullptr;
    return 0;
}
int WINAPI EraseDecoder(void*)
{
    Log("EraseDecoder");
    Fake().open = false;
    return 0;
}
int WINAPI OpenFile(const char* path, HWND, int channel, void* h)
{
    Log("OpenFile", channel, 0, path);
    if (!h)
        return 0;  // as the engine answers a null handle
    return Fake().failingPaths.count(path) ? 1 : 0;
}
int WINAPI CloseFile(void*, int channel)
{
    Log("CloseFile", channel);
    return 0;
}
int WINAPI GetFileInfo(void*, FileInfo* info)
{
    Log("GetFileInfo");
    *info = FileInfo{};
    info->durationMs = Fake().durationMs;
    return 0;
}
int WINAPI Play(void*, int channel)
{
    Log("Play", channel);
    return 0;
}
int WINAPI Stop(void*, int channel)
{
    Log("Stop", channel);
    if (Fake().onStop)
        Fake().onStop(channel);
    return 0;
}
int WINAPI Pause(void*, int pause)
{
    Log("Pause", pause);
    return 0;
}
int WINAPI PlayOneByOne(void*)
{
    Log("PlayOneByOne");
    return 0;
}
int WINAPI SetPlayRate(void*, int rate, int reverse)
{
    Log("SetPlayRate", rate, reverse);
    return 0;
}
int WINAPI GetPlayTime(void*, int* ms)
{
    Log("GetPlayTime");
    *ms = Fake().playTimeMs;
    return 0;
}
int WINAPI SetPlayTime(void*, int ms)
{
    Log("SetPlayTime", ms);
    return 0;
}
int WINAPI SetInfoFrameCallBack(void*, void* user, InfoFrameCallBackProc cb)
{
    Log("SetInfoFrameCallBack");
    Fake().infoCallback = cb;
    Fake().infoUser = user;
    return 0;
}
int WINAPI SetEndCallBack(void*, void* user, EndCallBackProc cb)
{
    Log("SetEndCallBack");
    Fake().endCallback = cb;
    Fake().endUser = user;
    return 0;
}
int WINAPI PlaySound(void*, int channel)
{
    Log("PlaySound", channel);
    return 0;
}
int WINAPI SetVolume(void*, int volume)
{
    Log("SetVolume", volume);
    return 0;
}
int WINAPI CaptureBMP(void*, int channel, const char* path, CaptureFrameInfo*)
{
    Log("CaptureBMP", channel, 0, path);
    // As the engine: 0 whether or not it had a picture to write.
    if (path && Fake().capturingChannels.count(channel))
        if (FILE* f = std::fopen(path, "wb")) {
            std::fputs("BM", f);
            std::fclose(f);
        }
    return 0;
}
int WINAPI GetSynChannel(void*)
{
    Log("GetSynChannel");
    return Fake().syncOverride != -100 ? Fake().syncOverride : Fake().syncChannel;
}
int WINAPI SetSynChannel(void*, int channel)
{
    Log("SetSynChannel", channel);
    Fake().syncChannel = channel;
    return 0;
}

}  // namespace

State& Fake()
{
    static State state;
    return state;
}

void Reset()
{
    Fake() = State();
}

const EngineApi& Table()
{
    static const EngineApi api = {
        CreateDecoder, EraseDecoder, OpenFile,     CloseFile,   GetFileInfo,          Play,           Stop,
        Pause,         PlayOneByOne, SetPlayRate,  GetPlayTime, SetPlayTime,          SetInfoFrameCallBack,
        SetEndCallBack, PlaySound,   SetVolume,    CaptureBMP,  GetSynChannel,        SetSynChannel,
    };
    return api;
}

int Count(const std::string& name)
{
    int n = 0;
    for (const Call& c : Fake().calls)
        n += c.name == name;
    return n;
}

Call Last(const std::string& name)
{
    for (auto it = Fake().calls.rbegin(); it != Fake().calls.rend(); ++it)
        if (it->name == name)
            return *it;
    return Call();
}

std::vector<std::string> OpenedPaths()
{
    std::vector<std::string> paths;
    for (const Call& c : Fake().calls)
        if (c.name == "OpenFile")
            paths.push_back(c.path);
    return paths;
}

void ReportEnd(int channel)
{
    if (Fake().endCallback)
        Fake().endCallback(channel, Fake().endUser);
}

void ReportInfoFrame()
{
    std::vector<uint8_t> frame(48, 1);
    if (Fake().infoCallback)
        Fake().infoCallback(frame.data(), 48, 0, 0, Fake().infoUser);
}

}  // namespace fake_engine
