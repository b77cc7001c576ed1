#include "LanguageHolder.h"

#include "Dialog.h"

void LanguageHolder::LoadString(CString& out, int id) const
{
    out = CString::Load(CDialog::ResourceModule(), static_cast<UINT>(id + 1000 * languageIndex));
}
