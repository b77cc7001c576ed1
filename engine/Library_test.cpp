// The DLL as a program meets it: loaded by name, every export found under
// its plain name, the font resources present, unloaded cleanly.
#include "EngineResources.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <string>
#include <vector>

static const char* const kExports[] = {
    "OV_Initialize", "OV_UnInitialize",
    "OV_OpenIndexReader", "OV_SetReaderCallBack", "OV_GetIndexFileInfo",
    "OV_StartIndexReader", "OV_StopIndexReader", "OV_CloseIndexReader",
    "OV_OpenCutFile", "OV_SetCutMsgCallBack", "OV_StartCutFile", "OV_StopCutFile",
    "OV_CloseCutFile",
    "OV_CreateDecoder", "OV_EraseDecoder", "OV_OpenFile", "OV_CloseFile", "OV_GetFileInfo",
    "OV_GetFileParam", "OV_Play", "OV_Stop", "OV_Pause", "OV_PlayOneByOne", "OV_SetPlayRate",
    "OV_GetPlayTime", "OV_SetPlayTime", "OV_SetInfoFrameCallBack", "OV_SetEndCallBack",
    "OV_PlaySound", "OV_StopSound", "OV_SetVolume", "OV_CaptureBMP", "OV_ShowOsd",
    "OV_GetSynChannel", "OV_SetSynChannel", "OV_CaptureJPEG", "OV_SetDecCallBack",
    "OV_SetDisplayCallBack",
};

TEST(Library, EveryExportIsFoundByItsPlainName) {
    ASSERT_EQ(sizeof(kExports) / sizeof(kExports[0]), 38u);
    HMODULE dll = LoadLibraryA("Ostrivel.dll");
    ASSERT_NE(dll, nullptr);
    for (const char* name : kExports) EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
    // Decorated stdcall names must not leak into the table.
    EXPECT_EQ(GetProcAddress(dll, "OV_Play@8"), nullptr);
    EXPECT_TRUE(FreeLibrary(dll));
}

TEST(Library, CarriesBothBitmapFontsOfTheirSizes) {
    HMODULE dll = LoadLibraryExA("Ostrivel.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(dll, nullptr);
    EngineFonts fonts;
    LocateFonts(dll, &fonts);
    ASSERT_NE(fonts.narrow, nullptr);
    ASSERT_NE(fonts.wide, nullptr);
    EXPECT_EQ(fonts.narrowSize, kNarrowFontBytes);
    EXPECT_EQ(fonts.wideSize, kWideFontBytes);
    // 'A' (0x41) in the 8x16 font has ink; the space (0x20) has none.
    const uint8_t* narrow = static_cast<const uint8_t*>(fonts.narrow);
    int inkA = 0, inkSpace = 0;
    for (int row = 0; row < 16; ++row) {
        inkA += narrow[0x41 * 16 + row] != 0;
        inkSpace += narrow[0x20 * 16 + row] != 0;
    }
    EXPECT_GT(inkA, 5);
    EXPECT_EQ(inkSpace, 0);
    // The first ideograph (U+4E00, a single horizontal stroke) has a full row.
    const uint8_t* wide = static_cast<const uint8_t*>(fonts.wide);
    bool fullRow = false;
    for (int row = 0; row < 16; ++row)
        if (wide[row * 2] == 0xFF || wide[row * 2 + 1] == 0xFF) fullRow = true;
    EXPECT_TRUE(fullRow);
    FreeLibrary(dll);
}

TEST(Library, WarmUpAndUnloadDoNotHang) {
    // OV_Initialize starts a worker that holds the library; OV_UnInitialize
    // waits for it outside the loader lock. Unloading afterwards must not
    // wait for any thread.
    HMODULE dll = LoadLibraryA("Ostrivel.dll");
    ASSERT_NE(dll, nullptr);
    typedef int(WINAPI * Proc)(void);
    // GetProcAddress's FARPROC becomes the export's own type through void*.
    auto proc = [&dll](const char* name) {
        return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    };
    Proc init = proc("OV_Initialize");
    Proc uninit = proc("OV_UnInitialize");
    ASSERT_TRUE(init && uninit);
    EXPECT_EQ(init(), 0);
    EXPECT_EQ(init(), 0);
    EXPECT_EQ(uninit(), 0);
    EXPECT_EQ(uninit(), 0);
    EXPECT_TRUE(FreeLibrary(dll));
    // Loaded and unloaded with the worker still starting: the pin keeps the
    // code mapped until the worker ends; no hang, no crash.
    dll = LoadLibraryA("Ostrivel.dll");
    ASSERT_NE(dll, nullptr);
    init = proc("OV_Initialize");
    EXPECT_EQ(init(), 0);
    EXPECT_TRUE(FreeLibrary(dll));
    // Loaded again, the library is the pinned one while the worker runs:
    // its OV_UnInitialize waits for that worker. (A process that ends with
    // the worker inside the display driver's start-up is killed by Wine on
    // its way out, which would fail this program for Wine's sake.)
    dll = LoadLibraryA("Ostrivel.dll");
    ASSERT_NE(dll, nullptr);
    uninit = proc("OV_UnInitialize");
    EXPECT_EQ(uninit(), 0);
    EXPECT_TRUE(FreeLibrary(dll));
}

namespace {

typedef int(WINAPI* LibraryProc)(void);

LibraryProc Export(HMODULE dll, const char* name) {
    // GetProcAddress's FARPROC becomes the export's own type through void*.
    return reinterpret_cast<LibraryProc>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

// Threads of this process. Under Wine every DirectDraw object keeps a
// thread of its 3D device for as long as it lives.
int ThreadCount() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 e;
    e.dwSize = sizeof e;
    int n = 0;
    for (BOOL more = Thread32First(snap, &e); more; more = Thread32Next(snap, &e))
        if (e.th32OwnerProcessID == GetCurrentProcessId()) ++n;
    CloseHandle(snap);
    return n;
}

}  // namespace

// Every OV_Initialize after the first finds the display object the first
// one made and makes no other.
TEST(Library, WarmUpMakesOneDisplayObjectForTheProcess) {
    HMODULE dll = LoadLibraryA("Ostrivel.dll");
    ASSERT_NE(dll, nullptr);
    LibraryProc init = Export(dll, "OV_Initialize"), uninit = Export(dll, "OV_UnInitialize");
    ASSERT_TRUE(init && uninit);
    std::vector<int> threads;
    for (int cycle = 0; cycle < 4; ++cycle) {
        EXPECT_EQ(init(), 0);
        EXPECT_EQ(uninit(), 0);   // waits for the worker
        threads.push_back(ThreadCount());
    }
    EXPECT_EQ(threads.front(), threads.back()) << "a display object more with every cycle";
    EXPECT_TRUE(FreeLibrary(dll));
}

// The worker's hold on the library goes by the module's own handle: loaded
// from a folder whose name the ANSI code page cannot spell, the library is
// still held while the worker runs and until OV_UnInitialize.
TEST(Library, WarmUpHoldsALibraryLoadedFromAnyPath) {
    const std::wstring dir = L"\x041E\x0441\x0442\x0440\x0438\x0432\x0435\x043B\x044C \x6D4B\x8BD5";
    const std::wstring path = dir + L"\\Ostrivel.dll";
    // The library beside this program, copied into that folder.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring built = self;
    built = built.substr(0, built.find_last_of(L"\\") + 1) + L"Ostrivel.dll";
    CreateDirectoryW(dir.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(built.c_str(), path.c_str(), FALSE));
    HMODULE dll = LoadLibraryW(path.c_str());
    ASSERT_NE(dll, nullptr);
    char ansi[MAX_PATH] = {};
    GetModuleFileNameA(dll, ansi, MAX_PATH);
    if (GetFileAttributesA(ansi) != INVALID_FILE_ATTRIBUTES) {
        FreeLibrary(dll);
        GTEST_SKIP() << "the ANSI code page spells " << ansi;
    }
    LibraryProc init = Export(dll, "OV_Initialize");
    ASSERT_NE(init, nullptr);
    EXPECT_EQ(init(), 0);
    EXPECT_TRUE(FreeLibrary(dll));
    ASSERT_EQ(GetModuleHandleW(path.c_str()), dll) << "unloaded under its warm-up worker";
    // Loaded once more to call OV_UnInitialize, which drops the hold.
    ASSERT_EQ(LoadLibraryW(path.c_str()), dll);
    LibraryProc uninit = Export(dll, "OV_UnInitialize");
    EXPECT_EQ(uninit(), 0);
    EXPECT_TRUE(FreeLibrary(dll));
    EXPECT_EQ(GetModuleHandleW(path.c_str()), nullptr);
    DeleteFileW(path.c_str());
    RemoveDirectoryW(dir.c_str());
}
