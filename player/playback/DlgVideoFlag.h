// The small red box with a white "R" each video pane owns (created hidden;
// nothing shows it yet).
#pragma once

#include "Dialog.h"
#include "Gdi.h"
#include "resource.h"

class CDlgVideoFlag : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    CDlgVideoFlag();

private:
    void OnPaint();
    void OnCtlColor(Message& m);

    CBrush m_brush;
};
