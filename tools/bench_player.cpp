// bench_player LAYOUT [SECONDS [PID]]: how the running Zarv Player answers while
// the first recording group of its list plays, in one layout, for scripts/bench.
// It stops what plays, presses PLAY, sets the layout (LAYOUT: 9, 4 or 1
// panes, "side" for 4 panes with the side panels hidden, "full" for full
// screen), lets it settle for 3 s and then samples SECONDS (default 30):
//   - the position slider and the time label every 100 ms, against the play
//     time (the slider's line fitted over the window: a stalled slider
//     leaves it), and the slider's advance over the wall clock (the pictures'
//     rate against real time);
//   - a click every 250 ms: a GPS-panel radio checked or unchecked by a
//     posted message, which queues behind everything posted to the window's
//     thread before it: how long until it is acted on, p50, p99, the worst;
//   - a query to the main window (a sent WM_NULL): how long it takes;
//   - the player process's processor time over the window (PID: its Linux
//     process id, for the whole process's time; else Wine's own figure).
// Side panels and full screen are measured on four panes. Then leaves
// four panes, no full screen and the side panels shown, and stops. Prints one line of figures and "targets met" or
// what missed. Exits 1 when the player is not found.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

const int kRecordList = 227;
const int kPlay = 219, kStop = 220, kFullScreen = 233, kSidePanels = 234;
const int kPositionSlider = 229, kTimeLabel = 541;
const int kTrackGreen = 494;
const int kBarSplit1 = 462, kBarSplit4 = 463, kBarSplit9 = 236;

struct Search {
    int id;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK FindChild(HWND h, LPARAM p)
{
    auto* s = reinterpret_cast<Search*>(p);
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    if (GetDlgCtrlID(h) == s->id && (!s->className || lstrcmpiW(cls, s->className) == 0)) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

HWND FindControl(HWND top, int id, const wchar_t* className)
{
    Search s = {id, className, nullptr};
    EnumChildWindows(top, FindChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

BOOL CALLBACK FindPlayer(HWND h, LPARAM p)
{
    if (!IsWindowVisible(h) || !FindControl(h, kRecordList, L"SysListView32"))
        return TRUE;
    *reinterpret_cast<HWND*>(p) = h;
    return FALSE;
}

double NowMs()
{
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(freq.QuadPart);
}

double ProcessCpuMs(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return -1;
    auto ms = [](FILETIME f) { return double((uint64_t(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0; };
    return ms(kernel) + ms(user);
}

// The processor time of Linux process `pid` (Wine's own view of another
// process gives less than it uses): utime and stime of /proc/PID/stat,
// read through Wine's drive of the root folder.
double LinuxCpuMs(int pid)
{
    char path[64];
    snprintf(path, sizeof path, "Z:\\proc\\%d\\stat", pid);
    FILE* f = fopen(path, "rb");
    if (!f)
        return -1;
    char buf[1024] = {};
    size_t n = fread(buf, 1, sizeof buf - 1, f);
    fclose(f);
    buf[n] = 0;
    const char* p = strrchr(buf, ')');   // the name may hold spaces
    if (!p)
        return -1;
    unsigned long long utime = 0, stime = 0;
    // Fields 3 to 13 come after the name, then utime and stime.
    if (sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime) != 2)
        return -1;
    return double(utime + stime) * 10.0;   // clock ticks of 10 ms
}

// A sent message with a long timeout: how long the window takes to answer.
LRESULT Ask(HWND h, UINT msg, WPARAM w, LPARAM l, double* tookMs = nullptr)
{
    DWORD_PTR result = 0;
    double t0 = NowMs();
    SendMessageTimeoutW(h, msg, w, l, SMTO_NORMAL, 120000, &result);
    if (tookMs)
        *tookMs = NowMs() - t0;
    return LRESULT(result);
}

// The time label's "MM:SS..." as seconds; -1 when it holds none.
int LabelSeconds(HWND label)
{
    wchar_t text[64] = {};
    DWORD_PTR n = 0;
    SendMessageTimeoutW(label, WM_GETTEXT, 63, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 120000, &n);
    int m = 0, s = 0;
    if (swscanf(text, L"%d:%d", &m, &s) != 2) {
        fwprintf(stderr, L"bench_player: time label \"%ls\"\n", text);
        return -1;
    }
    return m * 60 + s;
}

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    size_t i = size_t(ceil(p * double(v.size()))) ;
    return v[std::min(v.size() - 1, i ? i - 1 : 0)];
}

struct Sample {
    double wall;     // ms since sampling began
    int slider;      // ms
    int label;       // s, -1 none
};

// Checks or unchecks the green colour radio with a posted message, which
// the panel takes in the order of everything posted to its thread before
// it (a click of the mouse comes after those), and waits until the radio
// shows it: how long that took. The track colour itself does not change.
double ClickLatency(HWND radio, bool check)
{
    double t0 = NowMs();
    const LRESULT want = check ? BST_CHECKED : BST_UNCHECKED;
    PostMessageW(radio, BM_SETCHECK, WPARAM(want), 0);
    for (;;) {
        if (Ask(radio, BM_GETCHECK, 0, 0) == want)
            return NowMs() - t0;
        if (NowMs() - t0 > 120000)
            return NowMs() - t0;
        Sleep(2);
    }
}

void Layout(HWND bar, const char* layout)
{
    auto tap = [&](int id) {
        HWND label = FindControl(bar, id, L"Static");
        PostMessageW(bar, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), reinterpret_cast<LPARAM>(label));
    };
    auto press = [&](int id) { PostMessageW(FindControl(bar, id, L"Button"), BM_CLICK, 0, 0); };
    // Side panels and full screen on the four panes.
    if (strcmp(layout, "9") == 0)
        tap(kBarSplit9);
    else if (strcmp(layout, "4") == 0)
        tap(kBarSplit4);
    else if (strcmp(layout, "1") == 0)
        tap(kBarSplit1);
    else if (strcmp(layout, "side") == 0) {
        tap(kBarSplit4);
        press(kSidePanels);
    } else if (strcmp(layout, "full") == 0) {
        tap(kBarSplit4);
        press(kFullScreen);
    }
}

void Restore(HWND top, HWND bar, const char* layout)
{
    if (strcmp(layout, "full") == 0)
        PostMessageW(bar, WM_KEYDOWN, VK_ESCAPE, 0);
    else if (strcmp(layout, "side") == 0)
        PostMessageW(FindControl(bar, kSidePanels, L"Button"), BM_CLICK, 0, 0);
    HWND label = FindControl(bar, kBarSplit4, L"Static");
    PostMessageW(bar, WM_COMMAND, MAKEWPARAM(kBarSplit4, STN_CLICKED), reinterpret_cast<LPARAM>(label));
    Ask(top, WM_NULL, 0, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: bench_player 9|4|1|side|full [SECONDS [PID]]\n");
        return 2;
    }
    const char* layout = argv[1];
    const double seconds = argc > 2 ? atof(argv[2]) : 30;
    HWND top = nullptr;
    EnumWindows(FindPlayer, reinterpret_cast<LPARAM>(&top));
    if (!top) {
        fprintf(stderr, "bench_player: Zarv Player is not running\n");
        return 1;
    }
    HWND play = FindControl(top, kPlay, L"Button");
    HWND stop = FindControl(top, kStop, L"Button");
    HWND bar = play ? GetParent(play) : nullptr;
    HWND slider = FindControl(top, kPositionSlider, L"msctls_trackbar32");
    HWND label = bar ? FindControl(bar, kTimeLabel, nullptr) : nullptr;
    HWND green = FindControl(top, kTrackGreen, L"Button");
    if (!bar || !stop || !slider || !label || !green) {
        fprintf(stderr, "bench_player: a control of the player is missing\n");
        return 1;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(top, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);

    PostMessageW(stop, BM_CLICK, 0, 0);
    Ask(top, WM_NULL, 0, 0);
    Sleep(1500);
    PostMessageW(play, BM_CLICK, 0, 0);
    Ask(top, WM_NULL, 0, 0);
    Sleep(500);
    Layout(bar, layout);
    Ask(top, WM_NULL, 0, 0);
    Sleep(3000);

    std::vector<Sample> samples;
    std::vector<double> clicks, queries;
    const LRESULT greenWas = Ask(green, BM_GETCHECK, 0, 0);
    bool check = greenWas != BST_CHECKED;
    const int linuxPid = argc > 3 ? atoi(argv[3]) : 0;
    auto cpuNow = [&] { return linuxPid ? LinuxCpuMs(linuxPid) : ProcessCpuMs(process); };
    const double cpu0 = cpuNow();
    const double start = NowMs();
    double nextClick = 0, nextSample = 0;
    while (NowMs() - start < seconds * 1000) {
        const double now = NowMs() - start;
        if (now >= nextSample) {
            double took = 0;
            Ask(top, WM_NULL, 0, 0, &took);
            queries.push_back(took);
            Sample s;
            s.wall = NowMs() - start;
            s.slider = int(Ask(slider, TBM_GETPOS, 0, 0));
            s.label = LabelSeconds(label);
            samples.push_back(s);
            nextSample = now + 100;
        }
        if (now >= nextClick) {
            clicks.push_back(ClickLatency(green, check));
            check = !check;
            nextClick = now + 250;
        }
        Sleep(5);
    }
    const double wall = NowMs() - start;
    const double cpu = cpu0 >= 0 ? (cpuNow() - cpu0) / wall : -1;

    // The slider's line over the window (least squares): its slope is the
    // pictures' rate against real time; the samples' distance from it is
    // how far the slider strays from the play time.
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const Sample& s : samples) {
        sx += s.wall;
        sy += s.slider;
        sxx += s.wall * s.wall;
        sxy += s.wall * s.slider;
    }
    const double n = double(samples.size());
    const double slope = n > 1 ? (n * sxy - sx * sy) / (n * sxx - sx * sx) : 0;
    const double offset = n > 0 ? (sy - slope * sx) / n : 0;
    double sliderLag = 0, labelLag = 0;
    int noLabel = 0;
    for (const Sample& s : samples) {
        const double playMs = offset + slope * s.wall;
        sliderLag = std::max(sliderLag, fabs(playMs - s.slider));
        if (s.label < 0)
            ++noLabel;
        else   // whole seconds, cut down: a second behind is its own
            labelLag = std::max(labelLag, std::max(playMs / 1000.0 - 1.0 - s.label, s.label - playMs / 1000.0));
    }
    const double p99 = Percentile(clicks, 0.99);
    if (!samples.empty())
        printf("layout %-4s: slider from %d to %d ms in %.1f s\n", layout, samples.front().slider,
               samples.back().slider, wall / 1000.0);
    printf("layout %-4s: pictures %.3fx real time | slider off the play time by %.2f s at most, label by %.2f s "
           "beyond its whole second%s | click p50 %.0f ms, p99 %.0f ms, worst %.0f ms (%zu) | query p99 %.0f ms | process "
           "%.2f core\n",
           layout, slope, sliderLag / 1000.0, labelLag, noLabel ? " (label unreadable at times)" : "",
           Percentile(clicks, 0.5), p99, Percentile(clicks, 1.0), clicks.size(), Percentile(queries, 0.99), cpu);
    std::string missed;
    if (slope < 0.97)
        missed += " pictures";
    if (sliderLag > 1000 || labelLag > 1.0 || noLabel)
        missed += " slider/label";
    if (p99 > 300)
        missed += " click";
    if (cpu > 0.6 || cpu < 0)
        missed += " processor";
    printf("layout %-4s: %s%s\n", layout, missed.empty() ? "targets met" : "missed:", missed.c_str());

    PostMessageW(green, BM_SETCHECK, WPARAM(greenWas), 0);
    Restore(top, bar, layout);
    Sleep(500);
    PostMessageW(stop, BM_CLICK, 0, 0);
    Ask(top, WM_NULL, 0, 0);
    if (process)
        CloseHandle(process);
    return 0;
}
