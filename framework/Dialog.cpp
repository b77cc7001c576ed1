#include "Dialog.h"

#include "DataExchange.h"

namespace {
HINSTANCE g_resourceModule = nullptr;
}

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

INT_PTR CDialog::DoModal(CWnd* owner)
{
    HWND ownerWnd = owner ? owner->m_hWnd : nullptr;
    m_result = -1;
    m_endRequested = false;
    if (!Create(m_templateId, owner))
        return -1;
    bool reenable = ownerWnd && ::IsWindowEnabled(ownerWnd);
    if (reenable)
        ::EnableWindow(ownerWnd, FALSE);
    m_modalRunning = true;
    if (!m_endRequested)
        ::ShowWindow(m_hWnd, SW_SHOW);

    MSG msg;
    // Ends when EndDialog is called or the window disappears; WM_QUIT is put
    // back for the outer loop.
    while (!m_endRequested && m_hWnd) {
        BOOL r = ::GetMessageW(&msg, nullptr, 0, 0);
        if (r == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (r == -1)
            break;
        if (!PreTranslateChain(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    m_modalRunning = false;
    if (reenable) {
        ::EnableWindow(ownerWnd, TRUE);
        ::SetActiveWindow(ownerWnd);
    }
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    return m_result;
}

void CDialog::EndDialog(INT_PTR result)
{
    m_result = result;
    if (m_modalRunning) {
        m_endRequested = true;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the loop
    } else if (m_hWnd) {
        // A modeless dialog (or a DoModal still in OnInitDialog) ends by
        // going away.
        m_endRequested = true;
        ::DestroyWindow(m_hWnd);
    }
}

bool CDialog::PreTranslateChain(MSG* msg)
{
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* w = FromHandlePermanent(h))
            if (w->PreTranslateMessage(msg))
                return true;
        if (!(::GetWindowLongW(h, GWL_STYLE) & WS_CHILD))
            break;  // top-level: its owner is not its parent
    }
    return false;
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

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // Navigation belongs to the top-level dialog (it covers the child
    // panels too), so keys in a panel travel on up the chain.
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd &&
        !(::GetWindowLongW(m_hWnd, GWL_STYLE) & WS_CHILD))
        return ::IsDialogMessageW(m_hWnd, msg);
    return FALSE;
}

bool CDialog::OnCommand(UINT id, UINT code, HWND control)
{
    if (control == nullptr || code == BN_CLICKED) {
        if (id == IDOK) {
            OnOK();
            return true;
        }
        if (id == IDCANCEL) {
            OnCancel();
            return true;
        }
    }
    return CWnd::OnCommand(id, code, control);
}
