// The search through the real engine over trees the record writer makes.
#include "recordings/FolderScan.h"

#include "Ostrivel.h"
#include "PostedBlock.h"
#include "PrivateMessages.h"
#include "testing/RecordingTree.h"
#include "recordings/ScanWorker.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using fixture::Recording;
using fixture::RecordingName;
using fixture::TempTree;
using fixture::WriteFileBytes;
using fixture::WriteRecording;

namespace {

std::map<std::wstring, FileRecord> ByName(const std::vector<FileRecord>& records)
{
    std::map<std::wstring, FileRecord> out;
    for (const FileRecord& r : records)
        out[r.name] = r;
    return out;
}

std::string Narrow(const std::wstring& s)
{
    return std::string(s.begin(), s.end());
}

std::vector<int> Times(const FileRecord& r)
{
    return {r.year, r.month, r.day, r.startHour, r.startMinute, r.startSecond, r.endHour, r.endMinute, r.endSecond};
}

}  // namespace

TEST(FolderScan, ListsTheRecordingsOfATreeAndNothingElse)
{
    TempTree tree(L"scan");
    const std::wstring ch1 = RecordingName(1, 83000, 83100), ch2 = RecordingName(2, 83000, 83100);
    const std::wstring alarm = RecordingName(3, 83005, 83105, L'3');
    const std::wstring deep = RecordingName(4, 90000, 90100);
    const std::wstring named31 = L"100-01-090000-090100-00p00.h264";  // 31 characters
    const std::wstring unreadable = RecordingName(5, 101500, 102000);
    ASSERT_TRUE(WriteRecording(tree.Path(ch1), Recording{1}));
    ASSERT_TRUE(WriteRecording(tree.Folder(L"20261210") + L"\\" + ch2, Recording{2}));
    Recording kind1{3, 1};
    kind1.startHms = 83005;
    kind1.endHms = 83105;
    ASSERT_TRUE(WriteRecording(tree.Path(L"20261210\\" + alarm), kind1));
    Recording later{4};
    later.day = 11;
    later.startHms = 90000;
    later.endHms = 90100;
    ASSERT_TRUE(WriteRecording(tree.Folder(L"20261211\\deeper") + L"\\" + deep, later));
    Recording engineTimes{1};
    engineTimes.startHms = 120000;
    engineTimes.endHms = 120500;
    ASSERT_TRUE(WriteRecording(tree.Path(named31), engineTimes));
    ASSERT_TRUE(WriteRecording(tree.Path(L"clip.h264.bak"), Recording{6}));
    ASSERT_TRUE(WriteRecording(tree.Path(L"a.H264"), Recording{7}));
    ASSERT_TRUE(WriteFileBytes(tree.Folder(L"20261210\\empty") + L"\\x.h264", {}));
    // Garbage after a good file of the same folder, once without and once
    // with a recording name: neither takes over the good file's values.
    ASSERT_TRUE(WriteFileBytes(tree.Path(L"20261210\\junk.h264"), std::vector<uint8_t>(70000, 0x5A)));
    ASSERT_TRUE(WriteFileBytes(tree.Path(L"20261210\\" + unreadable), std::vector<uint8_t>(100, 0x11)));
    // A folder whose name looks like a recording is walked like any other.
    ASSERT_TRUE(WriteRecording(tree.Folder(L"sub.h264") + L"\\" + RecordingName(8, 83000, 83100), Recording{8}));

    std::atomic<bool> cancel{false};
    std::vector<FileRecord> records = ScanRecordings(tree.Root(), cancel);
    auto found = ByName(records);
    std::vector<std::wstring> names;
    for (const auto& entry : found)
        names.push_back(entry.first);
    EXPECT_EQ(names, (std::vector<std::wstring>{ch1, named31, ch2, deep, unreadable, RecordingName(8, 83000, 83100),
                                                 alarm, L"clip.h264.bak", L"junk.h264"}));
    ASSERT_EQ(records.size(), 9u);

    struct Expect {
        std::wstring name;
        int channel, kind;
        std::vector<int> times;
    } cases[] = {
        {ch1, 1, 0, {26, 12, 10, 8, 30, 0, 8, 31, 0}},
        {ch2, 2, 0, {26, 12, 10, 8, 30, 0, 8, 31, 0}},
        {alarm, 3, 1, {26, 12, 10, 8, 30, 5, 8, 31, 5}},
        {deep, 4, 0, {26, 12, 11, 9, 0, 0, 9, 1, 0}},
        {named31, 1, 0, {26, 12, 10, 12, 0, 0, 12, 5, 0}},  // the file's times, not the name's
        {L"junk.h264", 0, kKindOthers, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {unreadable, 5, kKindOthers, {0, 0, 0, 10, 15, 0, 10, 20, 0}},
    };
    for (const Expect& e : cases) {
        const FileRecord& r = found[e.name];
        EXPECT_EQ(r.channel, e.channel) << Narrow(e.name);
        EXPECT_EQ(r.kind, e.kind) << Narrow(e.name);
        EXPECT_EQ(Times(r), e.times) << Narrow(e.name);
    }
    EXPECT_EQ(found[L"junk.h264"].size, 70000u);
    EXPECT_EQ(std::wstring(found[ch2].path), tree.Path(L"20261210\\" + ch2));
    EXPECT_EQ(std::wstring(found[deep].path), tree.Path(L"20261211\\deeper\\" + deep));

    // A root with a trailing backslash is the same folder.
    EXPECT_EQ(ScanRecordings(tree.Root() + L"\\", cancel).size(), 9u);
    // A cancelled walk stops before the first file.
    cancel = true;
    EXPECT_TRUE(ScanRecordings(tree.Root(), cancel).empty());
}

TEST(FolderScan, FoldersAndNamesInAnyLanguage)
{
    // Whatever the code page: the walk reads the names as they are, and the
    // engine still gets a path it can open.
    TempTree tree(L"wide");
    const std::wstring folder = tree.Folder(L"录像 錄影 \u00e9t\u00e9");
    Recording alarm{2, 1};
    ASSERT_TRUE(WriteRecording(folder + L"\\" + RecordingName(2, 83000, 83100), alarm));
    ASSERT_TRUE(WriteRecording(folder + L"\\通道.h264", alarm));
    std::atomic<bool> cancel{false};
    auto found = ByName(ScanRecordings(tree.Root(), cancel));
    ASSERT_EQ(found.size(), 2u);
    for (const auto& entry : found) {
        EXPECT_EQ(entry.second.kind, 1);  // read from the header
        EXPECT_EQ(entry.second.channel, 2);
        EXPECT_EQ(std::wstring(entry.second.path), folder + L"\\" + entry.first);
    }
    EXPECT_EQ(found.count(L"通道.h264"), 1u);
}

TEST(FolderScan, AFileRootIsTheOneRecordingEvenWhenEmpty)
{
    TempTree tree(L"file");
    const std::wstring name = RecordingName(2, 101500, 102000);
    ASSERT_TRUE(WriteRecording(tree.Path(name), Recording{2}));
    ASSERT_TRUE(WriteRecording(tree.Path(RecordingName(3, 101500, 102000)), Recording{3}));
    ASSERT_TRUE(WriteFileBytes(tree.Path(L"x.h264"), {}));
    std::atomic<bool> cancel{false};

    std::vector<FileRecord> one = ScanRecordings(tree.Path(name), cancel);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(std::wstring(one[0].path), tree.Path(name));
    EXPECT_EQ(one[0].channel, 2);
    EXPECT_EQ(one[0].year, 26);

    std::vector<FileRecord> empty = ScanRecordings(tree.Path(L"x.h264"), cancel);
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0].size, 0u);
    EXPECT_EQ(empty[0].kind, kKindOthers);

    EXPECT_TRUE(ScanRecordings(tree.Path(L"missing.h264"), cancel).empty());
    EXPECT_TRUE(ScanRecordings(L"", cancel).empty());
}

TEST(FolderScan, ALinkBackUpTheTreeIsNotFollowed)
{
    TempTree tree(L"loop");
    ASSERT_TRUE(WriteRecording(tree.Folder(L"day") + L"\\" + RecordingName(1, 83000, 83100), Recording{1}));
    // A link the walk could follow: it shows the folder it points to.
    const std::wstring link = tree.Path(L"day\\up");
    if (!CreateSymbolicLinkW(link.c_str(), tree.Root().c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) ||
        GetFileAttributesW((link + L"\\day").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no directory links on this system";
    std::atomic<bool> cancel{false};
    EXPECT_EQ(ScanRecordings(tree.Root(), cancel).size(), 1u);
}

TEST(FolderScan, MakeFileRecordFallsBackToTheNameWhenTheProbeFailed)
{
    FileInfo probe = {};
    probe.startTime.wYear = 15;
    probe.startTime.wMonth = 3;
    probe.startTime.wDay = 7;
    probe.startTime.wHour = 6;
    probe.endTime.wHour = 7;
    probe.channel = 3;
    probe.recordKind = 1;
    const std::wstring name = RecordingName(9, 101500, 102000, L'2');
    struct Case {
        std::wstring name;
        const FileInfo* probe;
        int channel, kind;
        std::vector<int> times;
    } cases[] = {
        {name, &probe, 3, 1, {15, 3, 7, 10, 15, 0, 10, 20, 0}},
        {L"junk.h264", &probe, 3, 1, {15, 3, 7, 6, 0, 0, 7, 0, 0}},
        {name, nullptr, 9, kKindOthers, {0, 0, 0, 10, 15, 0, 10, 20, 0}},
        {L"junk.h264", nullptr, 0, kKindOthers, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        FileRecord r = MakeFileRecord(c.name, L"D:\\rec\\" + c.name, 5ull << 30, c.probe);
        EXPECT_EQ(r.channel, c.channel) << Narrow(c.name);
        EXPECT_EQ(r.kind, c.kind) << Narrow(c.name);
        EXPECT_EQ(Times(r), c.times) << Narrow(c.name);
        EXPECT_EQ(r.size, 5ull << 30);  // 64 bits
        EXPECT_EQ(std::wstring(r.path), L"D:\\rec\\" + c.name);
    }
}

TEST(FolderScan, RootsAndListedNames)
{
    struct Case {
        const wchar_t* root;
        const wchar_t* normal;
    } roots[] = {
        {L"D:\\rec\\", L"D:\\rec"}, {L"D:\\rec\\\\", L"D:\\rec"}, {L"D:\\rec", L"D:\\rec"},
        {L"E:\\", L"E:\\"},         {L"E:", L"E:\\"},             {L"\\\\srv\\share\\", L"\\\\srv\\share"},
    };
    for (const Case& c : roots)
        EXPECT_EQ(NormaliseSearchRoot(c.root), c.normal) << Narrow(c.root);
    struct Entry {
        const wchar_t* name;
        DWORD attributes;
        bool walked;
    } entries[] = {
        {L"day", FILE_ATTRIBUTE_DIRECTORY, true},
        {L"sub.h264", FILE_ATTRIBUTE_DIRECTORY, true},
        {L"up", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, false},
        {L".", FILE_ATTRIBUTE_DIRECTORY, false},
        {L"..", FILE_ATTRIBUTE_DIRECTORY, false},
        {L"a.h264", FILE_ATTRIBUTE_ARCHIVE, false},
    };
    for (const Entry& e : entries)
        EXPECT_EQ(IsWalkedFolder(e.name, e.attributes), e.walked) << Narrow(e.name);
    EXPECT_TRUE(IsListedFileName(L"a.h264"));
    EXPECT_TRUE(IsListedFileName(L"clip.h264.bak"));
    EXPECT_FALSE(IsListedFileName(L"a.H264"));
    EXPECT_FALSE(IsListedFileName(L"a.h265"));
}

TEST(ScanRequest, ProgressAndASortedResult)
{
    TempTree tree(L"request");
    ASSERT_TRUE(WriteRecording(tree.Path(RecordingName(2, 83000, 83100)), Recording{2}));
    ASSERT_TRUE(WriteRecording(tree.Path(RecordingName(1, 83000, 83100)), Recording{1}));
    Recording earlier{3};
    earlier.startHms = 82000;
    ASSERT_TRUE(WriteRecording(tree.Path(RecordingName(3, 82000, 83000)), earlier));
    std::vector<int> steps;
    std::atomic<bool> cancel{false};
    ScanResult result = RunScanRequest(
        ScanRequest{ScanRequest::Folder, tree.Root()}, cancel,
        [](int percent, void* user) { static_cast<std::vector<int>*>(user)->push_back(percent); }, &steps);
    EXPECT_EQ(steps, (std::vector<int>{20, 40, 60, 80}));
    ASSERT_EQ(result.records.size(), 3u);
    EXPECT_EQ(result.records[0].channel, 3);
    EXPECT_EQ(result.records[1].channel, 1);
    EXPECT_EQ(result.records[2].channel, 2);
    EXPECT_EQ(result.root, tree.Root());
}

TEST(ScanRequest, NoDiskBoxesWhileSearching)
{
    // An empty card reader must not stop the search with a system box: the
    // search turns them off for its thread, and back on after it.
    const UINT before = GetThreadErrorMode();
    ASSERT_EQ(before & SEM_FAILCRITICALERRORS, 0u);
    std::vector<UINT> modes;
    auto record = [](int, void* user) { static_cast<std::vector<UINT>*>(user)->push_back(GetThreadErrorMode()); };
    std::atomic<bool> cancel{false};
    ScanResult drives = RunScanRequest(ScanRequest{ScanRequest::RemovableDrives, {}}, cancel, record, &modes);
    RunScanRequest(ScanRequest{ScanRequest::Folder, L"A:\\"}, cancel, record, &modes);
    ASSERT_EQ(modes.size(), 8u);
    for (UINT mode : modes)
        EXPECT_NE(mode & SEM_FAILCRITICALERRORS, 0u);
    EXPECT_EQ(GetThreadErrorMode(), before);
    // Without a removable drive that holds recordings, nothing is found.
    EXPECT_TRUE(drives.records.empty());
}

namespace {

// The worker's messages to a window of the test's own.
struct Inbox {
    HWND window = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ~Inbox() { DestroyWindow(window); }
    std::vector<int> progress;
    std::unique_ptr<ScanResult> result;
    int results = 0;
    void Read()
    {
        MSG msg;
        while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_SCAN_PROGRESS)
                progress.push_back(int(msg.wParam));
            if (msg.message == WM_SCAN_DONE) {
                ++results;
                result = TakeBlock<ScanResult>(Message{msg.message, msg.wParam, msg.lParam});
            }
        }
    }
};

}  // namespace

TEST(ScanWorker, HandsOverOneResultOrNoneWhenCancelled)
{
    TempTree tree(L"worker");
    for (int i = 0; i < 500; ++i) {
        Recording r{i % 4 + 1};
        r.startHms = 80000 + (i / 4 / 60) * 10000 + (i / 4 % 60) * 100;
        ASSERT_TRUE(WriteRecording(tree.Path(RecordingName(r.channel, r.startHms, r.startHms + 59)), r));
    }
    Inbox inbox;
    ASSERT_TRUE(inbox.window);
    CScanWorker worker;
    ASSERT_TRUE(worker.Start(ScanRequest{ScanRequest::Folder, tree.Root()}, inbox.window));
    EXPECT_FALSE(worker.Start(ScanRequest{ScanRequest::Folder, tree.Root()}, inbox.window));  // one at a time
    worker.Join();
    EXPECT_FALSE(worker.HasThread());
    inbox.Read();
    EXPECT_EQ(inbox.progress, (std::vector<int>{20, 40, 60, 80, 100}));
    ASSERT_EQ(inbox.results, 1);
    ASSERT_TRUE(inbox.result);
    EXPECT_EQ(inbox.result->records.size(), 500u);

    // Cancelled at once: the walk stops at its first file and posts no
    // result.
    Inbox cancelled;
    ASSERT_TRUE(worker.Start(ScanRequest{ScanRequest::Folder, tree.Root()}, cancelled.window));
    worker.Cancel();
    worker.Join();
    cancelled.Read();
    EXPECT_EQ(cancelled.results, 0);
    EXPECT_EQ(PendingBlockCount(), 0u);

    // A result posted to a window that is gone is freed, not lost.
    HWND gone = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    ASSERT_TRUE(worker.Start(ScanRequest{ScanRequest::Folder, tree.Path(RecordingName(1, 80000, 80059))}, gone));
    worker.Join();
    EXPECT_EQ(PendingBlockCount(), 0u);
}
