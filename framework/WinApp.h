// CWinApp: the program's one application object. The framework's WinMain
// (WinApp.cpp) calls InitInstance; when it returns FALSE the program ends
// after ExitInstance, whose result is the exit code.
// ParseCommandLine splits the command line: the first argument that is not
// a switch (starting with '/' or '-') is the file name.
#pragma once

#include "WString.h"

#include <string>
#include <vector>

class CWnd;

class CCommandLineInfo {
public:
    CString fileName;   // first argument that is not a switch
    int argumentCount = 0;  // arguments after the program's name
};

// Fills info from the arguments after the program's name.
void ParseArguments(const std::vector<CString>& args, CCommandLineInfo& info);

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }

    // The process's command line.
    void ParseCommandLine(CCommandLineInfo& info) const;
    // Names the framework's registry key (nothing is stored there).
    void SetRegistryKey(const wchar_t* key) { m_registryKey = key; }

    static CWinApp* Instance();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    CString m_registryKey;
};

// What InitInstance prepares of the platform; each returns success.
bool InitRichEdit2();  // loads the rich-edit 2.0 control (RichEdit20W)
bool InitOle();
bool InitSockets();

// The framework's program flow, called by WinMain: InitInstance, then
// ExitInstance. Returns the exit code.
int RunApplication(HINSTANCE instance);
