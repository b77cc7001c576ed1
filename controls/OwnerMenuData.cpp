#include "OwnerMenuData.h"

#include <cwchar>
#include <new>

COwnerMenuData::~COwnerMenuData()
{
    delete images;
    delete[] text;
}

void COwnerMenuData::SetText(const wchar_t* value)
{
    wchar_t* copy = nullptr;
    if (value) {
        size_t n = std::wcslen(value) + 1;
        copy = new (std::nothrow) wchar_t[n];
        if (copy)
            std::wmemcpy(copy, value, n);
    }
    delete[] text;
    text = copy;
}

CString COwnerMenuData::GetText() const
{
    return CString(text);
}
