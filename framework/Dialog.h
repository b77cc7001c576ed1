// CDialog: a dialog built from a dialog resource of the program.
//
// Create() makes a modeless dialog: the panels, as children of their owner,
// or a tool window owned by a top-level window. DoModal() runs the program's
// message loop (MessageLoop.h) until EndDialog; while it runs, the top-level
// window the owner belongs to is disabled (a dialog opened from a panel
// disables the whole main window, not only the panel).
//
// IDOK and IDCANCEL (Enter and Esc in the dialog manager, the OK and Cancel
// buttons) call OnOK / OnCancel, which end the dialog; a child panel ignores
// both, so that Enter in a panel never makes it vanish. Ending a modeless
// dialog hides it, as the system's own dialogs do.
//
// CDialog's PreTranslateMessage does the dialog manager's keyboard
// navigation (IsDialogMessage) for top-level dialogs; a dialog that
// overrides it without calling the base turns that off. Child panels leave
// keys to their parents.
//
// The dialog window is subclassed during WM_INITDIALOG, so WindowProc sees
// every later message and results go straight back to the sender (WM_NOTIFY
// and WM_CTLCOLOR need no DWLP_MSGRESULT).
#pragma once

#include "Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    explicit CDialog(int templateId) : m_templateId(templateId) {}

    int TemplateId() const { return m_templateId; }

    // Modeless: the dialog's window as a child (or owned popup) of parent.
    bool Create(int templateId, CWnd* parent);
    bool Create(CWnd* parent) { return Create(m_templateId, parent); }

    // Modal: the owner's top-level window is disabled while the dialog
    // runs; returns the EndDialog value, or -1 when the dialog could not be
    // made.
    INT_PTR DoModal(CWnd* owner = nullptr);
    // Ends a modal dialog (its loop returns), or hides a modeless one.
    void EndDialog(INT_PTR result);
    bool IsModalRunning() const { return m_modalRunning; }
    // A child panel (WS_CHILD), as opposed to a top-level dialog.
    bool IsChildPanel() const;

    // Exchanges data between controls and members through DoDataExchange.
    // save = true reads the controls; false fills them. false when a value
    // did not convert.
    bool UpdateData(bool save = true);

    // The resource module dialogs, strings and images are loaded from.
    static HINSTANCE ResourceModule();
    static void SetResourceModule(HINSTANCE module);

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) {}
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnOkCommand();
    void OnCancelCommand();

    int m_templateId;
    bool m_modalRunning = false;
    bool m_endRequested = false;
    INT_PTR m_result = -1;
};
