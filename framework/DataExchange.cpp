#include "DataExchange.h"

#include "Wnd.h"

#include <cwchar>
#include <cerrno>
#include <climits>

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    if (!control.SubclassDlgItem(id, dx->dialog))
        dx->failed = true;
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND item = dx->dialog->GetDlgItem(id);
    if (!item) {
        dx->failed = true;
        return;
    }
    if (dx->saveAndValidate)
        value = CString::WindowText(item);
    else
        ::SetWindowTextW(item, value.c_str());
}

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    HWND item = dx->dialog->GetDlgItem(id);
    if (!item) {
        dx->failed = true;
        return;
    }
    if (!dx->saveAndValidate) {
        CString text;
        text.Format(L"%d", value);
        ::SetWindowTextW(item, text.c_str());
        return;
    }
    CString text = CString::WindowText(item);
    const wchar_t* begin = text.c_str();
    while (*begin == L' ')
        ++begin;
    wchar_t* end = nullptr;
    errno = 0;
    long v = std::wcstol(begin, &end, 10);
    while (end && *end == L' ')
        ++end;
    if (end == begin || (end && *end) || errno == ERANGE || v < INT_MIN || v > INT_MAX) {
        dx->failed = true;
        return;
    }
    value = static_cast<int>(v);
}
