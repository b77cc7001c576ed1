#include "WinApp.h"

#include <winsock2.h>
#include <ole2.h>
#include <shellapi.h>

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp()
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

CWinApp* CWinApp::Instance()
{
    return g_app;
}

void ParseArguments(const std::vector<CString>& args, CCommandLineInfo& info)
{
    info.argumentCount = static_cast<int>(args.size());
    for (const CString& a : args) {
        bool isSwitch = !a.empty() && (a[0] == L'/' || a[0] == L'-');
        if (!isSwitch && info.fileName.empty()) {
            info.fileName = a;
        }
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) const
{
    int n = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &n);
    std::vector<CString> args;
    for (int i = 1; argv && i < n; ++i)
        args.emplace_back(argv[i]);
    if (argv)
        ::LocalFree(argv);
    ParseArguments(args, info);
}

bool InitRichEdit2()
{
    static HMODULE lib = ::LoadLibraryW(L"riched20.dll");
    return lib != nullptr;
}

bool InitOle()
{
    HRESULT hr = ::OleInitialize(nullptr);
    return SUCCEEDED(hr);
}

bool InitSockets()
{
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

int RunApplication(HINSTANCE instance)
{
    CWinApp* app = CWinApp::Instance();
    if (!app)
        return 1;
    app->m_hInstance = instance;
    app->InitInstance();
    return app->ExitInstance();
}
