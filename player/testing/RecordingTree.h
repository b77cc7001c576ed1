// Test fixtures of the recording list: a temporary folder tree that goes
// away with its object, and recordings in it as a recorder writes them
// (made by the record writer, readable by the engine's probe).
#pragma once

#include <stdint.h>
#include <string>
#include <vector>

namespace fixture {

// A fresh folder under the temporary folder; removed with all it holds.
class TempTree {
public:
    explicit TempTree(const wchar_t* tag);
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::wstring& Root() const { return m_root; }
    // root + "\" + relative; Folder also creates it (and its parents).
    std::wstring Path(const std::wstring& relative) const { return m_root + L"\\" + relative; }
    std::wstring Folder(const std::wstring& relative) const;

private:
    std::wstring m_root;
};

struct Recording {
    int channel = 1;                     // 1..16
    int kind = 0;                        // the header's record kind
    int year = 2026, month = 12, day = 10;
    int startHms = 83000, endHms = 83100;
};

// A record file of r at path: its header and two I-frames whose
// information frames carry the start and the end time.
bool WriteRecording(const std::wstring& path, const Recording& r);
// Any bytes at path.
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);

// "C00-CC-HHMMSS-HHMMSS-00p000.h264" with sub-type character C.
std::wstring RecordingName(int channel, int startHms, int endHms, wchar_t subType = L'0');

}  // namespace fixture
