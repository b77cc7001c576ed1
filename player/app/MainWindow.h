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
    // Places the playback page and shows or hides the other panels for
    // the page's full-screen flag, the control bar's side-panel switch and
    // the GPS panel's map switch, as they stand now.
    virtual void ApplyScreenLayout() = 0;
    // The search panel's path box shows path (the search root was chosen
    // elsewhere).
    virtual void ShowSearchRoot(const std::wstring& path) = 0;

protected:
    ~IMainWindow() = default;
};
