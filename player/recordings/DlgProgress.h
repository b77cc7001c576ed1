// The small progress box the recording list shows while it searches: a
// fixed text over a progress bar (control 387), 0..100.
#pragma once

#include "Dialog.h"
#include "resource.h"

class CDlgProgress : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    CDlgProgress() : CDialog(IDD_PROGRESS) {}
    CWnd progressBar;

    void SetPos(int percent);
    int GetPos() const;

protected:
    void DoDataExchange(CDataExchange* dx) override;

private:
    void OnSize(Message& m);
};
