// CDlgDelayNotiFy: a modeless notice that closes itself after a countdown
// shown on its close button ("CLOSE(nn)"), with a button that opens the
// folders the notice is about. Its owner creates it once and then only
// shows it (ShowNotice) and lets it hide; Cancel, Esc and the close box
// hide it at once.
#pragma once

#include "Dialog.h"
#include "Gdi.h"
#include "resource.h"

#include <functional>
#include <string>
#include <vector>

class LanguageHolder;

class CDlgDelayNotiFy : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    CDlgDelayNotiFy();

    static const UINT_PTR kCountdownTimer = 0;
    static const UINT kCountdownMs = 1000;

    // What the open-folder button opens (each once); empty: nothing.
    std::vector<std::wstring> folders;
    int secondsLeft = 0;  // 0: not counting
    // The owner's language (the program's when null).
    LanguageHolder* language = nullptr;
    CWnd messageEdit;
    CWnd closeButton;
    // Starts a command line; WinExec unless a test replaces it.
    std::function<void(const std::string&)> launch;

    // Title, text and folders, then a countdown of `seconds` that starts
    // with one tick at once (which shows the notice); restarts a running
    // one.
    void ShowNotice(const std::wstring& title, const std::wstring& text, const std::vector<std::wstring>& folders,
                    int seconds);
    // Button 1: an explorer on every folder; the notice stays.
    void OnOpenFolder();
    // Button 1's text in the current language.
    void RelabelButtons();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnCancel() override;

private:
    void OnTimer(Message& m);
    void Tick();
    // The dialog's font, heavier: the thin default strokes read as the
    // grey of a disabled control.
    CFont m_textFont;
};
