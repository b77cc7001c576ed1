#include "testing/PlaybackRecordings.h"

#include "DemoCard.h"
#include "H264Stream.h"
#include "RecordWriter.h"

#include <windows.h>

#include <vector>

namespace fixture {

unsigned long ChannelColour(int channel)
{
    static const COLORREF colours[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
    return channel >= 1 && channel <= 4 ? colours[channel - 1] : 0;
}

std::wstring WritePlayableRecording(const std::wstring& folder, int channel, int startHms, int seconds,
                                    std::function<std::vector<uint8_t>(size_t k, const InfoFrame& drive)> infoBlock)
{
    // The streams are made at build time beside the tests (player/CMakeLists.txt).
    std::vector<uint8_t> stream;
    if (!recwriter::ReadBytes("playback_ch" + std::to_string(channel) + ".h264", &stream))
        return std::wstring();
    std::vector<recwriter::H264Frame> frames = recwriter::SplitAnnexB(stream);
    recwriter::DemoRecording r;
    r.channel = channel;
    r.startHms = startHms;
    r.seconds = seconds;
    r.infoBlock = std::move(infoBlock);
    const size_t count = size_t(seconds) * size_t(r.fps);
    if (frames.size() < count)
        return std::wstring();
    frames.resize(count);
    const std::string name =
        recwriter::RecordFileName(channel, startHms, recwriter::AddSecondsHms(startHms, seconds));
    const std::wstring path = folder + L"\\" + std::wstring(name.begin(), name.end());
    // By its wide name: the folder may be one the code page cannot spell.
    const std::vector<uint8_t> bytes = recwriter::BuildDemoRecording(r, frames);
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::wstring();
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    ::CloseHandle(file);
    return ok ? path : std::wstring();
}

}  // namespace fixture
