#include "testing/RecordingTree.h"

#include "RecordWriter.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace fixture {

namespace {

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName, path = folder + L"\\" + name;
            if (name == L"." || name == L"..")
                continue;
            if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(path);
            else if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ::RemoveDirectoryW(path.c_str());
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find, &fd));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

InfoFrame InfoAt(const Recording& r, int hms)
{
    InfoFrame info = {};
    info.year = uint8_t(r.year - 2000);
    info.month = uint8_t(r.month);
    info.day = uint8_t(r.day);
    info.hour = uint8_t(hms / 10000);
    info.minute = uint8_t(hms / 100 % 100);
    info.second = uint8_t(hms % 100);
    return info;
}

}  // namespace

TempTree::TempTree(const wchar_t* tag)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring base = temp;
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    wchar_t unique[64];
    std::swprintf(unique, 64, L"\\zarv-%ls-%lu-%lu", tag, ::GetCurrentProcessId(), ::GetTickCount());
    m_root = base + unique;
    ::CreateDirectoryW(m_root.c_str(), nullptr);
}

TempTree::~TempTree()
{
    RemoveTree(m_root);
}

std::wstring TempTree::Folder(const std::wstring& relative) const
{
    std::wstring path = m_root;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos)
            end = relative.size();
        path += L"\\" + relative.substr(start, end - start);
        ::CreateDirectoryW(path.c_str(), nullptr);
        start = end + 1;
    }
    return path;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = bytes.empty() ||
              (::WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size());
    ::CloseHandle(f);
    return ok;
}

bool WriteRecording(const std::wstring& path, const Recording& r)
{
    recwriter::HeaderSpec spec;
    const int hms[2] = {r.startHms, r.endHms};
    for (int i = 0; i < 2; ++i) {
        uint8_t* t = i == 0 ? spec.start : spec.end;
        t[0] = uint8_t(r.year - 2000);
        t[1] = uint8_t(r.month);
        t[2] = uint8_t(r.day);
        t[3] = uint8_t(hms[i] / 10000);
        t[4] = uint8_t(hms[i] / 100 % 100);
        t[5] = uint8_t(hms[i] % 100);
    }
    spec.recordKind = uint8_t(r.kind);
    spec.channels[0] = uint8_t(r.channel);
    recwriter::RecordWriter w(spec, 0);
    // Pictures large enough that the engine finds the last one on its own.
    std::vector<uint8_t> picture(2048, 0x33);
    const uint8_t start[] = {0, 0, 0, 1, 0x65, 0x88, 0x84};
    std::copy(start, start + sizeof start, picture.begin());
    InfoFrame first = InfoAt(r, r.startHms), last = InfoAt(r, r.endHms);
    w.AddVideo(true, 1000000, picture, &first);
    w.AddVideo(true, 61000000, picture, &last);
    return WriteFileBytes(path, w.Finish());
}

std::wstring RecordingName(int channel, int startHms, int endHms, wchar_t subType)
{
    wchar_t name[64];
    std::swprintf(name, 64, L"1%lc0-%02d-%06d-%06d-00p000.h264", subType, channel, startHms, endHms);
    return name;
}

}  // namespace fixture
