// COwnerMenuData: what an owner-drawn menu item carries as its item data:
// its caption, its images and the flags it was registered with.
#pragma once

#include "CommonControls.h"
#include "WString.h"

#include <windows.h>

class COwnerMenuData {
public:
    COwnerMenuData() = default;
    ~COwnerMenuData();
    COwnerMenuData(const COwnerMenuData&) = delete;
    COwnerMenuData& operator=(const COwnerMenuData&) = delete;

    // Replaces the caption with a copy of text (UTF-16 throughout, so that
    // any language's caption survives); null text, or no memory, leaves no
    // caption.
    void SetText(const wchar_t* text);
    // The caption; empty when there is none.
    CString GetText() const;

    wchar_t* text = nullptr;  // a tab may separate the label from the accelerator
    int imageOffset = -1;        // the item's image within images
    int sharedImageOffset = -1;  // the command's first image in COwnerMenu::SharedImages
    int imageId = -1;            // -1: no image
    UINT flags = 0;              // the MF_ flags the item was registered with
    UINT_PTR commandId = 0;      // command id; the sub-menu for a popup item; 0 for a separator
    int synced = 0;              // claimed while the records are matched to the menu again
    CImageList* images = nullptr;
};
