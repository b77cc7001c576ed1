// Control exchange of a dialog (CDialog::UpdateData -> DoDataExchange).
//   DDX_Control  binds a control object to a dialog item (subclassing it the
//                first time)
//   DDX_Text     moves a wide string or an int between a member and an item
// With saveAndValidate the controls are read; otherwise they are filled.
// A number that does not convert marks the exchange failed and leaves the
// member as it was.
#pragma once

#include "WString.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dlg, bool save) : dialog(dlg), saveAndValidate(save) {}
    CWnd* dialog;
    bool saveAndValidate;
    bool failed = false;
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
