// What panels may ask of the main window, through g_Settings.mainDlg,
// without knowing the main dialog's class or the other panels.
#pragma once

#include <string>

class IMainWindow {
public:
    // Every panel's texts again, in the current language.
    virtual void UpdateTexts() = 0;
    // Folds the map pane away, or shows it again (the GPS panel's map
    // switch).
    virtual void ToggleMap() = 0;
    // The GPS panel's and the legend bar's button images in the current
    // language (the search panel's language switch).
    virtual void LoadLanguageImages() = 0;
    // The map track takes the colour the GPS panel's radios chose.
    virtual void ApplyTrackColour() = 0;
    // The stream-information box shows text.
    virtual void ShowStreamInfo(const std::wstring& text) = 0;
    // After full screen: the search panel, the recording list and the
    // stream-information box again, and the side panels (scope, GPS,
    // legend, map) unless they are folded away.
    virtual void ShowPanelsAfterFullScreen(bool sidePanelsHidden) = 0;
    // Full screen: the search panel, the recording list, the side panels
    // (scope, GPS, legend, map) and the stream-information box go away.
    virtual void HidePanelsForFullScreen() = 0;
    // The side panels (scope, GPS, legend; the map when the GPS panel's map
    // switch is on) shown again, or all four hidden.
    virtual void ShowSidePanels(bool show) = 0;
    // The search panel's path box shows path (the search root was chosen
    // elsewhere).
    virtual void ShowSearchRoot(const std::wstring& path) = 0;

protected:
    ~IMainWindow() = default;
};
