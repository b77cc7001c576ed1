#include "recordings/FolderScan.h"

#include "AnsiPath.h"
#include "Ostrivel.h"
#include "recordings/RecordFileName.h"

#include <windows.h>

namespace {

bool IsDriveRoot(const std::wstring& path)
{
    return path.size() == 3 && path[1] == L':' && path[2] == L'\\';
}

uint64_t SizeOf(const WIN32_FIND_DATAW& fd)
{
    return (uint64_t(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
}

class Walk {
public:
    Walk(const std::atomic<bool>& cancel) : m_cancel(cancel) { OV_CreateDecoder(&m_engine); }
    ~Walk()
    {
        if (m_engine)
            OV_EraseDecoder(m_engine);
    }
    Walk(const Walk&) = delete;
    Walk& operator=(const Walk&) = delete;

    std::vector<FileRecord> records;

    void AddFile(const std::wstring& name, const std::wstring& path, uint64_t size)
    {
        // A fresh buffer for every file: a file the engine cannot read
        // must not inherit the previous file's values.
        FileInfo info = {};
        std::string ansi;
        bool read = m_engine && AnsiPath(path, ansi) && OV_GetFileParam(m_engine, &info, ansi.c_str()) == 0;
        records.push_back(MakeFileRecord(name, path, size, read ? &info : nullptr));
    }

    void Folder(const std::wstring& folder)
    {
        const std::wstring prefix = IsDriveRoot(folder) ? folder : folder + L"\\";
        WIN32_FIND_DATAW fd;
        HANDLE find = ::FindFirstFileExW((prefix + L"*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch,
                                         nullptr, 0);
        if (find == INVALID_HANDLE_VALUE)
            return;
        do {
            if (m_cancel.load(std::memory_order_relaxed))
                break;
            const std::wstring name = fd.cFileName;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (IsWalkedFolder(name, fd.dwFileAttributes))
                    Folder(prefix + name);
            } else if (IsListedFileName(name) && SizeOf(fd) != 0) {
                AddFile(name, prefix + name, SizeOf(fd));
            }
        } while (::FindNextFileW(find, &fd));
        ::FindClose(find);
    }

private:
    const std::atomic<bool>& m_cancel;
    void* m_engine = nullptr;
};

}  // namespace

std::wstring NormaliseSearchRoot(const std::wstring& root)
{
    std::wstring r = root;
    if (r.size() == 2 && r[1] == L':')
        return r + L"\\";
    while (r.size() > 1 && (r.back() == L'\\' || r.back() == L'/') && !IsDriveRoot(r))
        r.pop_back();
    return r;
}

bool IsWalkedFolder(const std::wstring& name, DWORD attributes)
{
    // Junctions and links could lead back up the tree.
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && name != L"." &&
           name != L"..";
}

bool IsListedFileName(const std::wstring& name)
{
    return name.find(L".h264") != std::wstring::npos;
}

FileRecord MakeFileRecord(const std::wstring& name, const std::wstring& path, uint64_t size,
                          const FileInfo* probe)
{
    FileRecord r;
    SetRecordName(r, name, path);
    r.size = size;
    if (probe) {
        r.channel = static_cast<int32_t>(probe->channel);
        r.kind = static_cast<int32_t>(probe->recordKind);
        ParseNameTimes(name, r, probe->startTime, probe->endTime);
        return r;
    }
    r.kind = kKindOthers;
    if (IsRecordFileName(name)) {
        r.channel = ParseRecordFileName(name, nullptr, nullptr, nullptr);
        r.startHour = static_cast<uint8_t>(RecordNameField(name, 7));
        r.startMinute = static_cast<uint8_t>(RecordNameField(name, 9));
        r.startSecond = static_cast<uint8_t>(RecordNameField(name, 11));
        r.endHour = static_cast<uint8_t>(RecordNameField(name, 14));
        r.endMinute = static_cast<uint8_t>(RecordNameField(name, 16));
        r.endSecond = static_cast<uint8_t>(RecordNameField(name, 18));
    }
    return r;
}

std::vector<FileRecord> ScanRecordings(const std::wstring& root, const std::atomic<bool>& cancel)
{
    const std::wstring path = NormaliseSearchRoot(root);
    Walk walk(cancel);
    if (path.empty())
        return {};
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes))
        return {};
    if (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        walk.Folder(path);
    } else {
        size_t slash = path.find_last_of(L"\\/");
        std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
        if (IsListedFileName(name))
            walk.AddFile(name, path,
                         (uint64_t(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow);
    }
    return std::move(walk.records);
}
