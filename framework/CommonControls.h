// Thin wrappers over two common controls the panels use: the tool-tip
// control and the image list. Each frees what it made.
#pragma once

#include "WString.h"

#include <windows.h>
#include <commctrl.h>

// A tool-tip window with tools that are child windows of one owner. Tool
// records are passed at the size every version of the control accepts (the
// one without the trailing reserved field, which a control without visual
// styles rejects).
class CToolTipCtrl {
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl();
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    // A tool-tip window owned by owner (its top-level window shows it).
    bool Create(HWND owner, DWORD style = TTS_ALWAYSTIP);
    void Destroy();
    HWND m_hWnd = nullptr;

    // The child window tool becomes a tool with text (subclassed, so that
    // the tip follows the mouse over it); a second call changes the text.
    bool AddTool(HWND tool, const wchar_t* text);
    bool UpdateTipText(HWND tool, const wchar_t* text);
    void DelTool(HWND tool);
    // The text of tool, empty when it is none.
    CString GetText(HWND tool) const;
    int ToolCount() const;
    void Activate(bool on);
    void SetMaxTipWidth(int width);
    void SetDelayTime(DWORD which, int ms);

    // The record size the calls use.
    static UINT ToolRecordSize();

private:
    HWND m_owner = nullptr;
};

// An image list: images of one size, with or without a mask.
class CImageList {
public:
    CImageList() = default;
    ~CImageList() { Destroy(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // flags: ILC_COLOR24, ILC_COLOR32, ILC_MASK ...
    bool Create(int cx, int cy, UINT flags, int initial, int grow);
    void Destroy();
    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }

    // Adds the bitmap's images (its width / cx of them), with mask colour
    // key when the list has a mask. The index of the first, or -1.
    int Add(HBITMAP bitmap, COLORREF key);
    int Add(HBITMAP bitmap, HBITMAP mask);
    int AddIcon(HICON icon);
    int Count() const;
    SIZE ImageSize() const;
    bool Draw(int index, HDC dc, int x, int y, UINT style = ILD_NORMAL) const;
    HICON ExtractIcon(int index) const;
};
