#include "playback/DlgDelayNotiFy.h"

#include "AppSettings.h"
#include "DataExchange.h"
#include "LanguageHolder.h"
#include "playback/NoticeCountdown.h"
#include "AnsiPath.h"
#include "recordings/UnreachablePath.h"
#include "StringIds.h"

BEGIN_MESSAGE_TABLE(CDlgDelayNotiFy, CDialog)
    OnMessage<&CDlgDelayNotiFy::OnTimer>(WM_TIMER),
    OnCommand<&CDlgDelayNotiFy::OnOpenFolder>(IDOK, BN_CLICKED),
END_MESSAGE_TABLE()

CDlgDelayNotiFy::CDlgDelayNotiFy() : CDialog(IDD_NOTICE)
{
    launch = [](const std::string& command) { ::WinExec(command.c_str(), SW_SHOWNORMAL); };
}

void CDlgDelayNotiFy::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_NOTICE_TEXT, messageEdit);
    DDX_Control(dx, IDCANCEL, closeButton);
}

BOOL CDlgDelayNotiFy::OnInitDialog()
{
    CDialog::OnInitDialog();
    LOGFONTW face = {};
    if (HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)))
        ::GetObjectW(font, sizeof face, &face);
    face.lfWeight = FW_BOLD;
    m_textFont.m_hObject = ::CreateFontIndirectW(&face);
    for (int id : {IDC_NOTICE_TEXT, IDOK, IDCANCEL})
        if (HWND c = GetDlgItem(id); c && m_textFont.m_hObject)
            ::SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_textFont)), FALSE);
    RelabelButtons();
    SetTimer(kCountdownTimer, kCountdownMs);  // for the notice's whole life
    return TRUE;
}

void CDlgDelayNotiFy::RelabelButtons()
{
    LanguageHolder* lang = language ? language : g_Settings.language;
    if (m_hWnd && lang)
        ::SetDlgItemTextW(m_hWnd, IDOK, lang->Text(IDS_OPEN_FOLDER).c_str());
}

void CDlgDelayNotiFy::ShowNotice(const std::wstring& title, const std::wstring& text,
                                 const std::vector<std::wstring>& folderList, int seconds)
{
    if (!m_hWnd)
        return;
    RelabelButtons();
    SetWindowText(title.c_str());
    messageEdit.SetWindowText(text.c_str());
    folders = folderList;
    secondsLeft = seconds;
    // A fresh second for the first step of the count.
    SetTimer(kCountdownTimer, kCountdownMs);
    Tick();
}

void CDlgDelayNotiFy::Tick()
{
    std::wstring closeText;
    if (CountdownTick(secondsLeft, closeText)) {
        closeButton.SetWindowText(closeText.c_str());
        // Shown once; a notice already up is not activated again each second.
        if (!::IsWindowVisible(m_hWnd))
            ShowWindow(SW_SHOWNORMAL);
    } else {
        OnCancel();
    }
}

void CDlgDelayNotiFy::OnTimer(Message& m)
{
    if (m.wParam != kCountdownTimer) {
        m.handled = false;
        return;
    }
    Tick();
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
}

void CDlgDelayNotiFy::OnCancel()
{
    secondsLeft = 0;
    if (::IsWindowVisible(m_hWnd))
        ShowWindow(SW_HIDE);
}

void CDlgDelayNotiFy::OnOpenFolder()
{
    std::vector<std::wstring> unreachable;
    for (const std::wstring& folder : folders) {
        std::string ansi;
        if (!AnsiPath(folder, ansi)) {
            unreachable.push_back(folder);
            continue;
        }
        const std::string command = ExplorerCommand(ansi);
        if (!command.empty() && launch)
            launch(command);
    }
    ShowUnreachablePaths(m_hWnd, unreachable);
}
