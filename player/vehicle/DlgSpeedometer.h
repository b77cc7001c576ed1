// CSpeedometer: the GPS and speed panel under the map pane. It shows the
// position and speed the information frames give it (the playback control
// sets them, VehicleDisplay.h), a gauge by speed bands, and lets the user
// pick the track's colour, fold the map away or show it again, open the
// About box, switch the GPS correction and choose the map provider (which
// restarts the program).
#pragma once

#include "ComboBoxBT.h"
#include "Dialog.h"
#include "Gdi.h"
#include "ImageButton.h"
#include "resource.h"

class CSpeedometer : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    CSpeedometer();
    ~CSpeedometer() override;

    CString longitudeText = L"0.0000";  // edit 305
    CString latitudeText = L"0.0000";   // edit 306
    int speedValue = 0;                 // edit 308, in the shown unit
    int gaugeBitmap = 0;                // the gauge's image now
    CComboBoxBT mapProvider;
    CImageButton mapButton, aboutButton;
    CBrush brush;
    int mapHidden = 0;   // the map pane is folded away; the panel sizes the page itself
    // The main dialog's windows the map switch moves and hides.
    CWnd* playbackPage = nullptr;
    CWnd* mapPane = nullptr;

    void SetLongitude(const CString& text) { longitudeText = text; }
    void SetLatitude(const CString& text) { latitudeText = text; }
    // The speed box's number, and the gauge by it.
    void SetSpeed(int speed);
    void SetGaugeBySpeed(int speed);
    // Shows the values set: each edit whose value changed since it was last
    // shown is written, the others are left as they are.
    void Refresh();
    void UpdateTexts();
    void SetButtonImages(int mapImage, int aboutImage);
    // The map and About buttons in the current language, the map button
    // as the map is now.
    void LoadLanguageImages();
    // Folds the map pane away or shows it again.
    void OnToggleMap();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    void OnSize(Message& m);
    void OnCtlColor(Message& m);
    void OnTrackRed() { OnTrackColor(0); }
    void OnTrackGreen() { OnTrackColor(1); }
    void OnTrackBlue() { OnTrackColor(2); }
    void OnTrackBlack() { OnTrackColor(3); }
    void OnTrackColor(int k);
    void OnGpsFix();
    void OnMapProviderChanged();
    void OnAbout();
    void SetGaugeImage(int bitmapId);

    // What the three edits show now (Refresh writes only what differs).
    CString shownLongitude, shownLatitude;
    int shownSpeed = 0;

    HBITMAP m_gauge = nullptr;
    HBITMAP m_separator = nullptr;
};

// The track colour of radio k (0 red, 1 green, 2 blue, 3 black).
COLORREF TrackColour(int k);
