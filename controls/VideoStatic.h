// CVideoStatic: what a video pane shows while no picture covers it, a dark
// field with "CAM<n>" centred along its top edge.
#pragma once

#include "Wnd.h"
#include "WString.h"

// Implemented by the video pane that holds the placeholder.
class CVideoChannelSource {
public:
    virtual ~CVideoChannelSource() = default;
    virtual int VideoChannelIndex() const = 0;  // 0-based
};

// "CAM1" for channel 0.
CString VideoCaption(int channelIndex);
// Fill colour: black in the dark scheme, else RGB(88,92,95).
COLORREF VideoBackground(int bkColor);

class CVideoStatic : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    ~CVideoStatic() override;

private:
    void OnPaint();
};
