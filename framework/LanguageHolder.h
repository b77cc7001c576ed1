// The user-interface language and the loading of every text the user sees:
// string id N is English, N + 1000 Simplified and N + 2000 Traditional
// Chinese. A missing string gives an empty text, never another language.
#pragma once

#include "WString.h"

class CDlgFileList;
class CDlgPlayBack;

class LanguageHolder {
public:
    int languageIndex = 1;  // 0 English, 1 Simplified, 2 Traditional
    CDlgFileList* fileList = nullptr;
    CDlgPlayBack* playbackPage = nullptr;

    void LoadString(CString& out, int id) const;
    CString Text(int id) const
    {
        CString s;
        LoadString(s, id);
        return s;
    }
    void SetLanguage(int index) { languageIndex = index; }
};

// The text of string id `id` in the language of `language`; an empty text
// without a holder.
CString TextIn(const LanguageHolder* language, int id);
// The same in the program's current language (g_Settings.language).
CString CurrentText(int id);
