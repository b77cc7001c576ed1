// CComboBoxBT: a combo box whose edit field and drop-down list are painted
// on a white background of its own, whatever its parent answers.
#pragma once

#include "Gdi.h"
#include "Wnd.h"

class CComboBoxBT : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    CComboBoxBT();
    ~CComboBoxBT() override;

    CBrush brush;  // the background of the edit field and the list

private:
    void OnCtlColor(Message& m);
};
