// CDialog: a dialog built from a dialog resource of the program.
//
// Create() makes a modeless dialog (the panels, as children of their owner);
// DoModal() runs the framework's own modal loop. In that loop every queued
// message is first offered to PreTranslateMessage of the window it is for
// and of each parent up to the top-level window; only when none of them
// takes it is it translated and dispatched. CDialog's own PreTranslateMessage
// does the dialog manager's keyboard navigation (IsDialogMessage) for
// top-level dialogs; a dialog that overrides it without calling the base
// turns that off. Child panels leave keys to their parents.
//
// The dialog window is subclassed during WM_INITDIALOG, so WindowProc sees
// every later message and results go straight back to the sender (WM_NOTIFY
// and WM_CTLCOLOR need no DWLP_MSGRESULT).
#pragma once

#include "Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(int templateId) : m_templateId(templateId) {}

    int TemplateId() const { return m_templateId; }

    // Modeless: the dialog's window as a child (or owned popup) of parent.
    bool Create(int templateId, CWnd* parent);
    bool Create(CWnd* parent) { return Create(m_templateId, parent); }

    // Modal: owner disabled while the dialog runs; returns the EndDialog
    // value, or -1 when the dialog could not be made.
    INT_PTR DoModal(CWnd* owner = nullptr);
    // Ends a modal dialog (its loop returns), or destroys a modeless one.
    void EndDialog(INT_PTR result);
    bool IsModalRunning() const { return m_modalRunning; }

    // Exchanges data between controls and members through DoDataExchange.
    // save = true reads the controls; false fills them. false when a value
    // did not convert.
    bool UpdateData(bool save = true);

    // Offers msg to PreTranslateMessage along the window chain from msg's
    // window up to the first top-level window. true = taken.
    static bool PreTranslateChain(MSG* msg);

    // The resource module dialogs, strings and images are loaded from.
    static HINSTANCE ResourceModule();
    static void SetResourceModule(HINSTANCE module);

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) {}
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* msg) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    int m_templateId;
    bool m_modalRunning = false;
    bool m_endRequested = false;
    INT_PTR m_result = -1;
};
