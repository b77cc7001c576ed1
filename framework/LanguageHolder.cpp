#include "LanguageHolder.h"

#include "AppSettings.h"
#include "Dialog.h"

void LanguageHolder::LoadString(CString& out, int id) const
{
    out = CString::Load(CDialog::ResourceModule(), static_cast<UINT>(id + 1000 * languageIndex));
}

CString TextIn(const LanguageHolder* language, int id)
{
    return language ? language->Text(id) : CString();
}

CString CurrentText(int id)
{
    return TextIn(g_Settings.language, id);
}
