#include "Dialog.h"

#include "DataExchange.h"
#include "MessageLoop.h"

namespace {
HINSTANCE g_resourceModule = nullptr;
}

BEGIN_MESSAGE_TABLE(CDialog, CWnd)
    OnCommand<&CDialog::OnOkCommand>(IDOK, BN_CLICKED),
    OnCommand<&CDialog::OnCancelCommand>(IDCANCEL, BN_CLICKED),
END_MESSAGE_TABLE()

HINSTANCE CDialog::ResourceModule()
{
    return g_resourceModule ? g_resourceModule : ::GetModuleHandleW(nullptr);
}

void CDialog::SetResourceModule(HINSTANCE module)
{
    g_resourceModule = module;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam)
{
    if (msg != WM_INITDIALOG)
        return FALSE;  // everything else reached the object through the subclass
    auto* dlg = reinterpret_cast<CDialog*>(lParam);
    if (!dlg || !dlg->SubclassWindow(hwnd))
        return TRUE;
    return dlg->OnInitDialog();
}

bool CDialog::Create(int templateId, CWnd* parent)
{
    if (m_hWnd)
        return false;
    m_templateId = templateId;
    HWND h = ::CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(templateId), parent ? parent->m_hWnd : nullptr,
                                  &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return h != nullptr && m_hWnd == h;
}

bool CDialog::IsChildPanel() const
{
    return m_hWnd && (::GetWindowLongW(m_hWnd, GWL_STYLE) & WS_CHILD);
}

INT_PTR CDialog::DoModal(CWnd* owner)
{
    // A dialog opened from a panel belongs to the panel's top-level window:
    // that is the window to disable.
    HWND top = owner && owner->m_hWnd ? ::GetAncestor(owner->m_hWnd, GA_ROOT) : nullptr;
    m_result = -1;
    m_endRequested = false;
    HWND created = ::CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(m_templateId), top,
                                        &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!created || m_hWnd != created)
        return -1;
    bool reenable = top && ::IsWindowEnabled(top);
    if (reenable)
        ::EnableWindow(top, FALSE);
    m_modalRunning = true;
    if (!m_endRequested)
        ::ShowWindow(m_hWnd, SW_SHOW);

    // Ends when EndDialog is called or the window disappears.
    RunMessageLoop([this] { return m_endRequested || !m_hWnd; });
    m_modalRunning = false;
    if (reenable) {
        ::EnableWindow(top, TRUE);
        ::SetActiveWindow(top);
    }
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    return m_result;
}

void CDialog::EndDialog(INT_PTR result)
{
    m_result = result;
    m_endRequested = true;
    if (m_modalRunning)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the loop
    else if (m_hWnd)
        ::ShowWindow(m_hWnd, SW_HIDE);  // a modeless dialog stays, hidden
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

bool CDialog::UpdateData(bool save)
{
    CDataExchange dx(this, save);
    DoDataExchange(&dx);
    return !dx.failed;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::OnOkCommand()
{
    if (!IsChildPanel())
        OnOK();
}

void CDialog::OnCancelCommand()
{
    if (!IsChildPanel())
        OnCancel();
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // Navigation belongs to the top-level dialog (it covers the child
    // panels too), so keys in a panel travel on up the chain.
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd && !IsChildPanel())
        return ::IsDialogMessageW(m_hWnd, msg);
    return FALSE;
}
