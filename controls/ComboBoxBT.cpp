#include "ComboBoxBT.h"

BEGIN_MESSAGE_TABLE(CComboBoxBT, CWnd)
    // The colour requests of the combo's own edit field and list.
    OnMessages<&CComboBoxBT::OnCtlColor>(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC),
END_MESSAGE_TABLE()

CComboBoxBT::CComboBoxBT()
{
    brush.CreateSolidBrush(RGB(255, 255, 255));
}

CComboBoxBT::~CComboBoxBT()
{
    // The window goes before the brush it paints with.
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

void CComboBoxBT::OnCtlColor(Message& m)
{
    // The usual answer (the parent's colours for the text) still runs; the
    // background is ours.
    DefWindowProc(m.id, m.wParam, m.lParam);
    m.result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(brush));
}
