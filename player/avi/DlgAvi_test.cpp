// The AVI export dialog in a real window with the real converter: what it
// shows for a source, browsing, START through to the finished file and its
// message on the user-interface thread, failures that leave START usable,
// a range it refuses before opening anything, and closing it while the
// converter works. The AVI of the main test is read by the host's ffprobe
// and ffmpeg afterwards (check_clip.sh); screenshots of the dialog land in
// screenshots\ beside the test.
#include "avi/DlgAvi.h"

#include "AppSettings.h"
#include "AudioFraming.h"
#include "Calverin.h"
#include "DemoCard.h"
#include "H264Stream.h"
#include "LanguageHolder.h"
#include "RecordWriter.h"
#include "TextExtent.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using wintest::Pump;
using wintest::PumpUntil;

std::wstring FullPath(const std::wstring& relative)
{
    wchar_t full[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(relative.c_str(), MAX_PATH * 2, full, nullptr);
    return n ? std::wstring(full, n) : relative;
}

// The test's folders, under its working folder (absolute, ending in '\').
const std::wstring& SourceFolder()
{
    static const std::wstring folder = FullPath(L"avi_dialog\\source") + L"\\";
    return folder;
}
const std::wstring& OutFolder()
{
    static const std::wstring folder = FullPath(L"avi_dialog\\out") + L"\\";
    return folder;
}

// A 20 s recording from 10:15:00 of the converter tests' clip (each
// picture shows its number), with its G.726 sound.
const wchar_t kRecording[] = L"100-01-101500-101520-00p000.h264";
// The same clip over and over for 40 minutes from 10:20:00: long enough
// to watch the bar move and to close the dialog while it converts.
const wchar_t kLongRecording[] = L"100-01-102000-110000-00p000.h264";
const int kLongRepeats = 120;
// A file with a recording's name that is no recording.
const wchar_t kNoRecording[] = L"100-01-103000-103010-00p000.h264";
// The 20 s recording under names that give no range.
const wchar_t kPlainName[] = L"browsed clip.h264";
const wchar_t kStillRecording[] = L"100-02-101500-101500-00p000.h264";

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Narrow(const std::wstring& w)
{
    return CString(w).ToAnsi();
}

void WriteRecording(const std::wstring& path, int startHms, int repeats)
{
    std::vector<uint8_t> stream, codes;
    ASSERT_TRUE(recwriter::ReadBytes("..\\calverin\\clip_352x288.h264", &stream));
    ASSERT_TRUE(recwriter::ReadBytes("..\\calverin\\clip.g726", &codes));
    std::vector<recwriter::H264Frame> once = recwriter::SplitAnnexB(stream);
    recwriter::AudioFrames soundOnce = recwriter::FrameG726Codes(codes);
    ASSERT_EQ(once.size(), 500u);
    std::vector<recwriter::H264Frame> frames;
    recwriter::AudioFrames sound;
    for (int k = 0; k < repeats; ++k) {
        frames.insert(frames.end(), once.begin(), once.end());
        sound.insert(sound.end(), soundOnce.begin(), soundOnce.end());
    }
    recwriter::DemoRecording r;
    r.channel = 1;
    r.startHms = startHms;
    r.seconds = 20 * repeats;
    r.audioCodec = 2;
    ASSERT_TRUE(recwriter::WriteBytes(Narrow(path), recwriter::BuildDemoRecording(r, frames, &sound)));
}

void EmptyFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileW((folder + fd.cFileName).c_str());
    } while (FindNextFileW(find, &fd));
    FindClose(find);
}

class Fixtures : public ::testing::Environment {
public:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_DATE_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        static LanguageHolder english;
        english.SetLanguage(0);
        g_Settings.language = &english;

        CreateDirectoryW(L"avi_dialog", nullptr);
        CreateDirectoryW(SourceFolder().c_str(), nullptr);
        CreateDirectoryW(OutFolder().c_str(), nullptr);
        CreateDirectoryW(L"screenshots", nullptr);
        EmptyFolder(SourceFolder());
        EmptyFolder(OutFolder());
        WriteRecording(SourceFolder() + kRecording, 101500, 1);
        WriteRecording(SourceFolder() + kLongRecording, 102000, kLongRepeats);
        ASSERT_TRUE(recwriter::WriteBytes(Narrow(SourceFolder() + kNoRecording), std::vector<uint8_t>(0x20000, 0x30)));
        ASSERT_TRUE(CopyFileW((SourceFolder() + kRecording).c_str(), (SourceFolder() + kPlainName).c_str(), FALSE));
        ASSERT_TRUE(
            CopyFileW((SourceFolder() + kRecording).c_str(), (SourceFolder() + kStillRecording).c_str(), FALSE));
    }
    void TearDown() override { DeleteFileW((SourceFolder() + kLongRecording).c_str()); }
};
const ::testing::Environment* const kFixtures = ::testing::AddGlobalTestEnvironment(new Fixtures);

// The window the dialog belongs to, as a video pane's main window.
struct Host {
    CWnd top;
    Host()
    {
        top.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 500, nullptr, 0);
    }
    ~Host() { top.DestroyWindow(); }
};

CString ItemText(HWND dlg, int id)
{
    return CString::WindowText(GetDlgItem(dlg, id));
}

TimeOfDay PickerTime(HWND dlg, int id)
{
    SYSTEMTIME st = {};
    SendDlgItemMessageW(dlg, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return {st.wHour, st.wMinute, st.wSecond};
}

// Sets a picker as the user would leave it: the time, then the focus
// elsewhere.
void SetPicker(HWND dlg, int id, TimeOfDay t)
{
    SYSTEMTIME st = {};
    st.wYear = 1899;
    st.wMonth = 12;
    st.wDay = 30;
    st.wHour = WORD(t.hour);
    st.wMinute = WORD(t.minute);
    st.wSecond = WORD(t.second);
    SendDlgItemMessageW(dlg, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    SetFocus(GetDlgItem(dlg, id));
    SetFocus(GetDlgItem(dlg, IDC_AVI_OUT_FILE));
}

int ProgressPos(HWND dlg)
{
    return int(SendDlgItemMessageW(dlg, IDC_AVI_PROGRESS, PBM_GETPOS, 0, 0));
}

bool StartEnabled(HWND dlg)
{
    return IsWindowEnabled(GetDlgItem(dlg, IDC_AVI_START)) != FALSE;
}

// A press of START the way a click comes: queued, so that whatever it
// shows runs in the loop and not inside the caller.
void PressStart(HWND dlg)
{
    PostMessageW(GetDlgItem(dlg, IDC_AVI_START), BM_CLICK, 0, 0);
}

// What the user sees of window and, when given, the box over it.
void SaveWindowShot(HWND window, const char* name, HWND over = nullptr)
{
    RECT r, o;
    GetWindowRect(window, &r);
    if (over && GetWindowRect(over, &o))
        UnionRect(&r, &r, &o);
    EXPECT_TRUE(wintest::ScreenCapture(r.left, r.top, r.right - r.left, r.bottom - r.top)
                    .SaveBmp(std::string("screenshots\\") + name));
}

// A message box someone showed: its text and the thread it runs on.
struct SeenBox {
    std::wstring text;
    DWORD thread = 0;
};

bool IsDialogWindow(HWND w)
{
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    return std::wstring(cls) == L"#32770";
}

struct BoxSearch {
    HWND owner, found;
};

BOOL CALLBACK MatchMessageBox(HWND w, LPARAM l)
{
    auto* s = reinterpret_cast<BoxSearch*>(l);
    if (IsWindowVisible(w) && GetWindow(w, GW_OWNER) == s->owner && IsDialogWindow(w)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

// A visible message box owned by owner, on any thread of the process.
HWND FindMessageBox(HWND owner)
{
    BoxSearch search = {owner, nullptr};
    EnumWindows(&MatchMessageBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CloseDialogWindow(HWND w, LPARAM)
{
    if (IsDialogWindow(w))
        PostMessageW(w, WM_CLOSE, 0, 0);
    return TRUE;
}

SeenBox ReadMessageBox(HWND box)
{
    SeenBox seen;
    seen.thread = GetWindowThreadProcessId(box, nullptr);
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(c, cls, 16);
        CString text = CString::WindowText(c);
        if (std::wstring(cls) == L"Static" && text.size() > seen.text.size())
            seen.text = text;
    }
    return seen;
}

// Steps a test takes inside the loops that run while it waits: the
// dialog's own modal loop and the message boxes' loops. A thread timer
// runs the current step every 25 ms until it says it is done; a step
// never blocks (it posts what it presses). A script that is not done
// within its time closes every dialog and box of the thread, so that a
// test that fails ends.
class Script {
public:
    using Step = std::function<bool()>;
    explicit Script(std::vector<Step> steps, DWORD limitMs = 60000)
        : m_steps(std::move(steps)), m_deadline(GetTickCount() + limitMs)
    {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, 25, &Script::Tick);
    }
    ~Script()
    {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    bool Done() const { return m_next >= m_steps.size(); }
    size_t StepReached() const { return m_next; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        Script* s = s_current;
        if (!s || s->m_inStep || s->Done())
            return;
        if (LONG(GetTickCount() - s->m_deadline) > 0) {
            ADD_FAILURE() << "script stopped at step " << s->m_next << ": closing its windows";
            EnumThreadWindows(GetCurrentThreadId(), &CloseDialogWindow, 0);
            s->m_deadline = GetTickCount() + 1000;
            return;
        }
        s->m_inStep = true;
        if (s->m_steps[s->m_next]())
            ++s->m_next;
        s->m_inStep = false;
    }
    static Script* s_current;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    bool m_inStep = false;
    UINT_PTR m_timer = 0;
    DWORD m_deadline;
};
Script* Script::s_current = nullptr;

// The top-level AVI dialog owned by owner.
HWND FindAviDialog(HWND owner)
{
    HWND found = nullptr;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
         w = FindWindowExW(nullptr, w, L"#32770", nullptr))
        if (GetWindow(w, GW_OWNER) == owner && CString::WindowText(w) == L"Record cut & convert to AVI")
            found = w;
    return found;
}

// A step that answers the message box of dlg with OK, keeping what it said.
Script::Step AnswerBox(HWND* dlg, std::vector<SeenBox>* seen, bool* startEnabledThen = nullptr,
                       const char* shot = nullptr)
{
    return [=] {
        HWND box = FindMessageBox(*dlg);
        if (!box)
            return false;
        seen->push_back(ReadMessageBox(box));
        if (startEnabledThen)
            *startEnabledThen = StartEnabled(*dlg);
        if (shot) {
            UpdateWindow(box);
            SaveWindowShot(*dlg, shot, box);
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return true;
    };
}

}  // namespace

TEST(AviDialog, ShowsTheSourceItsRangeAndTheOutputName)
{
    Host host;
    struct Case {
        const wchar_t* parseName;
        const wchar_t* info;
        TimeOfDay start, end;
        const wchar_t* out;
    } cases[] = {
        {L"", L"10:15:00-10:15:20 CH01 PAL D1 25F/S", {10, 15, 0}, {10, 15, 20}, L"100-01-101500-101520.AVI"},
        // A pane's name for a file whose own name gives no range.
        {L"201-03-101502-101510-02p000.h264", L"10:15:02-10:15:10 CH03 PAL CIF 25F/S", {10, 15, 2}, {10, 15, 10},
         L"201-03-101502-101510.AVI"},
    };
    for (const Case& c : cases) {
        CDlgAvi dlg(SourceFolder() + kRecording, c.parseName);
        ASSERT_TRUE(dlg.Create(&host.top));
        HWND h = dlg.m_hWnd;
        EXPECT_EQ(CString::WindowText(h), L"Record cut & convert to AVI");
        EXPECT_EQ(ItemText(h, IDC_AVI_SOURCE_LABEL), L"SOURCE FILE");
        EXPECT_EQ(ItemText(h, IDC_AVI_INFO_LABEL), L"FILE INFO");
        EXPECT_EQ(ItemText(h, IDC_AVI_RANGE_LABEL), L"CUT TIME RANGE");
        EXPECT_EQ(ItemText(h, IDC_AVI_OUT_DIR_LABEL), L"OUT DIR");
        EXPECT_EQ(ItemText(h, IDC_AVI_OUT_FILE_LABEL), L"OUT FILE");
        EXPECT_EQ(ItemText(h, IDC_AVI_START), L"START");
        EXPECT_EQ(ItemText(h, IDC_AVI_SOURCE_PATH), SourceFolder() + kRecording);
        EXPECT_EQ(ItemText(h, IDC_AVI_SOURCE_INFO), c.info);
        EXPECT_EQ(PickerTime(h, IDC_AVI_CUT_START), c.start);
        EXPECT_EQ(PickerTime(h, IDC_AVI_CUT_END), c.end);
        EXPECT_EQ(dlg.recordedEnd, c.end);
        EXPECT_EQ(ItemText(h, IDC_AVI_OUT_DIR), SourceFolder());
        EXPECT_EQ(ItemText(h, IDC_AVI_OUT_FILE), c.out);
        EXPECT_TRUE(StartEnabled(h));
        EXPECT_FALSE(IsWindowVisible(dlg.progress.m_hWnd));
        PBRANGE range = {};
        SendMessageW(dlg.progress.m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        EXPECT_EQ(range.iLow, 0);
        EXPECT_EQ(range.iHigh, 1000);

        // Leaving a picker names the output after it at once; the recorded
        // end stays what the source gave.
        dlg.ShowWindow(SW_SHOW);
        SetPicker(h, IDC_AVI_CUT_START, {10, 15, 5});
        SetPicker(h, IDC_AVI_CUT_END, {10, 15, 9});
        EXPECT_EQ(ItemText(h, IDC_AVI_OUT_FILE).substr(7), L"101505-101509.AVI");
        EXPECT_EQ(dlg.recordedEnd, c.end);
        dlg.DestroyWindow();
    }
}

TEST(AviDialog, EveryLabelReadsWholeInAWiderFont)
{
    // A system that draws the dialog's face with a proportional font, its
    // capitals wider than its average letter: the labels' column widens
    // and the fields move over, inside the dialog.
    Host host;
    CDlgAvi dlg(SourceFolder() + kRecording);
    ASSERT_TRUE(dlg.Create(&host.top));
    HWND h = dlg.m_hWnd;
    HFONT wide = CreateFontW(-15, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"DejaVu Sans");
    ASSERT_NE(wide, nullptr);
    for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(wide), FALSE);
    dlg.FitLabels();
    auto rectOf = [h](HWND w) {
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT client;
    GetClientRect(h, &client);
    const int labels[5] = {IDC_AVI_SOURCE_LABEL, IDC_AVI_INFO_LABEL, IDC_AVI_RANGE_LABEL, IDC_AVI_OUT_DIR_LABEL,
                           IDC_AVI_OUT_FILE_LABEL};
    for (int id : labels) {
        HWND label = GetDlgItem(h, id);
        const RECT l = rectOf(label);
        EXPECT_LE(OwnTextWidth(label), l.right - l.left) << ItemText(h, id).ToAnsi();
        for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            const RECT r = rectOf(c);
            RECT both;
            if (c != label && GetDlgCtrlID(c) != IDC_AVI_PROGRESS) {
                EXPECT_FALSE(IntersectRect(&both, &l, &r)) << ItemText(h, id).ToAnsi() << " under " << GetDlgCtrlID(c);
            }
            EXPECT_LE(r.right, client.right) << GetDlgCtrlID(c);
        }
    }
    dlg.DestroyWindow();
    DeleteObject(wide);
}

TEST(AviDialog, ABrowsedFileRulesTheTimesEvenWhenItsNameGivesNone)
{
    Host host;
    struct Case {
        const wchar_t* name;
        const wchar_t* info;
        TimeOfDay start, end;
        const wchar_t* out;
    } cases[] = {
        {kRecording, L"10:15:00-10:15:20 CH01 PAL D1 25F/S", {10, 15, 0}, {10, 15, 20}, L"100-01-101500-101520.AVI"},
        // No recording name, and one still being recorded: the times the
        // engine reads from the file (its end from the last I-frame).
        {kPlainName, L"10:15:00-10:15:19", {10, 15, 0}, {10, 15, 19}, L"browsed101500-101519.AVI"},
        {kStillRecording, L"10:15:00-10:15:19 CH02 PAL D1 25F/S", {10, 15, 0}, {10, 15, 19},
         L"100-02-101500-101519.AVI"},
    };
    for (const Case& c : cases) {
        // Opened by a pane with a name of its own, which browsing drops.
        CDlgAvi dlg(SourceFolder() + kLongRecording, L"201-04-090000-090100-02p000.h264");
        ASSERT_TRUE(dlg.Create(&host.top));
        HWND h = dlg.m_hWnd;
        ASSERT_EQ(ItemText(h, IDC_AVI_OUT_FILE), L"201-04-090000-090100.AVI");
        SetWindowTextW(GetDlgItem(h, IDC_AVI_OUT_DIR), OutFolder().c_str());
        dlg.TakeSourcePath(SourceFolder() + c.name);
        EXPECT_TRUE(dlg.parseName.empty()) << c.name;
        EXPECT_EQ(dlg.sourceFolder, SourceFolder());
        EXPECT_EQ(dlg.sourceName, c.name);
        EXPECT_EQ(ItemText(h, IDC_AVI_SOURCE_PATH), SourceFolder() + c.name);
        EXPECT_EQ(ItemText(h, IDC_AVI_SOURCE_INFO), c.info) << c.name;
        EXPECT_EQ(PickerTime(h, IDC_AVI_CUT_START), c.start) << c.name;
        EXPECT_EQ(PickerTime(h, IDC_AVI_CUT_END), c.end) << c.name;
        EXPECT_EQ(dlg.recordedEnd, c.end) << c.name;
        EXPECT_EQ(ItemText(h, IDC_AVI_OUT_FILE), c.out) << c.name;
        EXPECT_EQ(ItemText(h, IDC_AVI_OUT_DIR), SourceFolder()) << c.name;
        dlg.DestroyWindow();
    }
}

TEST(AviDialog, StartConvertsAndTheFinishedMessageComesOnTheUiThread)
{
    // The dialog as a pane opens it: modal over the main window. The output
    // folder is left empty, which means the source folder.
    Host host;
    const std::wstring avi = SourceFolder() + L"100-01-101505-101509.AVI";
    DeleteFileW(avi.c_str());
    HWND dlg = nullptr;
    bool hostDisabled = false;
    int highest = 0;
    std::vector<SeenBox> boxes;
    Script script({
        [&] {
            dlg = FindAviDialog(host.top.m_hWnd);
            if (!dlg)
                return false;
            hostDisabled = !IsWindowEnabled(host.top.m_hWnd);
            SetPicker(dlg, IDC_AVI_CUT_START, {10, 15, 5});
            SetPicker(dlg, IDC_AVI_CUT_END, {10, 15, 9});
            SetWindowTextW(GetDlgItem(dlg, IDC_AVI_OUT_DIR), L"");
            PressStart(dlg);
            return true;
        },
        [&] {
            highest = std::max(highest, ProgressPos(dlg));
            return AnswerBox(&dlg, &boxes, nullptr, "avi-finished.bmp")();
        },
        [&] {
            if (FindMessageBox(dlg))
                return false;
            EXPECT_FALSE(StartEnabled(dlg));  // a finished dialog converts no more
            PostMessageW(dlg, WM_CLOSE, 0, 0);
            return true;
        },
    });
    INT_PTR result = RunAviExportDialog(&host.top, SourceFolder() + kRecording);
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_TRUE(script.Done()) << "stopped at step " << script.StepReached();
    EXPECT_TRUE(hostDisabled);
    EXPECT_TRUE(IsWindowEnabled(host.top.m_hWnd));
    EXPECT_EQ(highest, 1000);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Conversion Finished!");
    EXPECT_EQ(boxes[0].thread, GetCurrentThreadId());
    EXPECT_TRUE(Exists(avi));
    EXPECT_FALSE(Exists(avi + L".part"));
}

TEST(AviDialog, AFailedConversionShowsItsMessageAndStartWorksAgain)
{
    Host host;
    const std::wstring missing = FullPath(L"avi_dialog\\no such folder");
    const std::wstring avi = OutFolder() + L"100-01-101500-101520.AVI";
    DeleteFileW(avi.c_str());
    HWND dlg = nullptr;
    std::vector<SeenBox> boxes;
    bool startEnabledAtFailure = false;
    Script script({
        [&] {
            dlg = FindAviDialog(host.top.m_hWnd);
            if (!dlg)
                return false;
            SetWindowTextW(GetDlgItem(dlg, IDC_AVI_OUT_DIR), missing.c_str());
            PressStart(dlg);
            return true;
        },
        AnswerBox(&dlg, &boxes, &startEnabledAtFailure, "avi-failed.bmp"),
        [&] {
            if (FindMessageBox(dlg))
                return false;
            SetWindowTextW(GetDlgItem(dlg, IDC_AVI_OUT_DIR), OutFolder().c_str());
            PressStart(dlg);
            return true;
        },
        AnswerBox(&dlg, &boxes),
        [&] {
            if (FindMessageBox(dlg))
                return false;
            PostMessageW(dlg, WM_CLOSE, 0, 0);
            return true;
        },
    });
    RunAviExportDialog(&host.top, SourceFolder() + kRecording);
    ASSERT_TRUE(script.Done()) << "stopped at step " << script.StepReached();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"Conversion failed!");
    EXPECT_EQ(boxes[0].thread, GetCurrentThreadId());
    EXPECT_TRUE(startEnabledAtFailure);
    EXPECT_EQ(boxes[1].text, L"Conversion Finished!");
    EXPECT_FALSE(Exists(missing));
    EXPECT_TRUE(Exists(avi));
}

TEST(AviDialog, AFileTheConverterRefusesShowsTheFailureAtOnce)
{
    Host host;
    CDlgAvi dlg(SourceFolder() + kNoRecording);
    ASSERT_TRUE(dlg.Create(&host.top));
    dlg.ShowWindow(SW_SHOW);
    HWND h = dlg.m_hWnd;
    std::vector<SeenBox> boxes;
    bool startEnabledThen = false;
    Script script({AnswerBox(&h, &boxes, &startEnabledThen)});
    PressStart(h);
    EXPECT_TRUE(PumpUntil([&] { return script.Done() && !FindMessageBox(h); }, 10000));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Conversion failed!");
    EXPECT_TRUE(startEnabledThen);
    EXPECT_TRUE(StartEnabled(h));
    EXPECT_EQ(dlg.converterHandle, 0);
    EXPECT_FALSE(dlg.IsConverting());
    dlg.DestroyWindow();
}

TEST(AviDialog, ARangeEndingBeforeItsStartOpensNothing)
{
    Host host;
    CDlgAvi dlg(SourceFolder() + kRecording);
    ASSERT_TRUE(dlg.Create(&host.top));
    dlg.ShowWindow(SW_SHOW);
    HWND h = dlg.m_hWnd;
    SetPicker(h, IDC_AVI_CUT_START, {10, 15, 9});
    SetPicker(h, IDC_AVI_CUT_END, {10, 15, 5});
    // Handles count up by one for every conversion opened: the two probes
    // are neighbours when the dialog opened none between them.
    const std::string source = Narrow(SourceFolder() + kRecording);
    const int before = CONVERTDLL_InitDllMange(source.c_str(), "probe.AVI");
    ASSERT_GT(before, 0);
    PressStart(h);
    Pump(300);
    const int after = CONVERTDLL_InitDllMange(source.c_str(), "probe.AVI");
    EXPECT_EQ(after, before + 1);
    EXPECT_EQ(FindMessageBox(h), nullptr);
    EXPECT_TRUE(StartEnabled(h));
    EXPECT_FALSE(dlg.IsConverting());
    EXPECT_EQ(dlg.converterHandle, 0);
    dlg.DestroyWindow();
}

// The long recording's AVI in a folder of its own under the output folder.
std::wstring LongAviIn(const wchar_t* folderName)
{
    const std::wstring folder = OutFolder() + folderName;
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring avi = folder + L"\\100-01-102000-110000.AVI";
    DeleteFileW(avi.c_str());
    return avi;
}

// Waits for a conversion that goes on alone to complete its file; then no
// callback may have come since `calls` was read.
void ExpectCompletesWithoutCallbacks(const std::wstring& avi, long calls)
{
    EXPECT_TRUE(PumpUntil([&] { return Exists(avi) && !Exists(avi + L".part"); }, 120000));
    Pump(500);
    EXPECT_EQ(CDlgAvi::CallbackCount(), calls);
    DeleteFileW(avi.c_str());
}

TEST(AviDialog, ClosingTheDialogWhileItConvertsStopsEveryCallback)
{
    Host host;
    const std::wstring avi = LongAviIn(L"closed");
    HWND dlg = nullptr;
    int seenPos = -1;
    bool fileAtClose = true;
    long callsAtClose = -1;
    Script script({
        [&] {
            dlg = FindAviDialog(host.top.m_hWnd);
            if (!dlg)
                return false;
            SetWindowTextW(GetDlgItem(dlg, IDC_AVI_OUT_DIR), (OutFolder() + L"closed").c_str());
            PressStart(dlg);
            return true;
        },
        [&] {
            // Midway: the bar has moved and the file is not there yet.
            const int pos = ProgressPos(dlg);
            if (pos <= 0 || FindMessageBox(dlg))
                return false;
            seenPos = pos;
            fileAtClose = Exists(avi);
            SaveWindowShot(dlg, "avi-converting.bmp");
            SendMessageW(dlg, WM_CLOSE, 0, 0);
            callsAtClose = CDlgAvi::CallbackCount();
            return true;
        },
    });
    RunAviExportDialog(&host.top, SourceFolder() + kLongRecording);
    ASSERT_TRUE(script.Done()) << "stopped at step " << script.StepReached();
    EXPECT_GT(seenPos, 0);
    EXPECT_LT(seenPos, 1000);
    EXPECT_FALSE(fileAtClose) << "the conversion was over before the dialog closed";
    // The converter goes on alone and completes the file.
    ExpectCompletesWithoutCallbacks(avi, callsAtClose);
}

TEST(AviDialog, DestroyingTheDialogWhileItConvertsStopsEveryCallback)
{
    // Its window destroyed without a close, as when its owner goes away.
    // (Hidden: a shown window takes the system a while to take down.)
    Host host;
    const std::wstring avi = LongAviIn(L"destroyed");
    CDlgAvi dlg(SourceFolder() + kLongRecording);
    ASSERT_TRUE(dlg.Create(&host.top));
    HWND h = dlg.m_hWnd;
    SetWindowTextW(GetDlgItem(h, IDC_AVI_OUT_DIR), (OutFolder() + L"destroyed").c_str());
    PressStart(h);
    ASSERT_TRUE(PumpUntil([&] { return ProgressPos(h) > 0; }, 20000));
    EXPECT_TRUE(dlg.IsConverting());
    EXPECT_FALSE(Exists(avi)) << "the conversion was over before the dialog went";
    dlg.DestroyWindow();
    const long callsAtDestroy = CDlgAvi::CallbackCount();
    EXPECT_EQ(dlg.converterHandle, 0);
    ExpectCompletesWithoutCallbacks(avi, callsAtDestroy);
}
