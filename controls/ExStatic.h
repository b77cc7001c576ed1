// CExStatic: a label that shows one of its state images (normal, hover,
// selected) or paints its caption in one of three colour pairs. Its caption
// comes from the string table in the current language when it is attached.
#pragma once

#include "Wnd.h"

class GResource;

class CExStatic : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    CExStatic();
    ~CExStatic() override;

    int mode = 0;          // 0 image, 1 text, 2 text without hover tracking
    int hover = 0;
    int selected = 0;
    int stringId = 0;      // English numbering; 0 = no text
    unsigned textFormat = DT_CENTER | DT_VCENTER;
    unsigned imageCount = 0;
    GResource** images = nullptr;  // slot 0 normal, 1 hover, 2 selected
    COLORREF textNormal = 0, backNormal = 0, textHover = 0, backHover = 0, textSelected = 0, backSelected = 0;

    // Frees every image held and makes count empty slots.
    void SetImageCount(unsigned count);
    // The text-button look of the playback control panel.
    void TextModePreset(int id);
    // Slot 0 = a fresh image from "JPG" resource id (nothing without slots).
    void ReloadJpgResource(int id, HMODULE module);

protected:
    void PreSubclassWindow() override;

private:
    void OnMouseMove(Message& m);
    void OnMouseHover();
    void OnMouseLeave();
    void OnDestroy(Message& m);
    void Paint();
};

// The colour pair a text-mode label paints with: hover wins over selected.
struct TextColours {
    COLORREF text, back;
};
TextColours ChooseTextColours(const CExStatic& s);
