// CScopeMenu: the 17-pixel legend bar under the strip charts: two buttons
// that switch between the speed chart and the acceleration chart (the
// scope panel, g_hScopeWnd), and the legends of the curves shown.
#pragma once

#include "Dialog.h"
#include "Gdi.h"
#include "ImageButton.h"
#include "resource.h"

class CScopeMenu : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    CScopeMenu();
    ~CScopeMenu() override;

    // 456 speed, 457 acceleration, 458-460 spare (hidden).
    CImageButton buttons[5];
    CBrush brush;
    int speedShown = 1;  // the speed chart is the one shown

    void UpdateTexts();
    // Button 456 gets a while the speed chart is shown, else b; button 457
    // c while the speed chart is shown, else d.
    void SetButtonImages(int a, int b, int c, int d);
    // The two buttons in the current language.
    void LoadLanguageImages();
    void LayoutButtons();
    void OnShowSpeed();
    void OnShowAcceleration();

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    void OnSize(Message& m);
    void OnCtlColor(Message& m);
};
