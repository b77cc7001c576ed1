// The stream information of the selected pane, as the main window's box
// shows it: five labelled lines read from the recording's file name.
#pragma once

#include "WString.h"

#include <functional>
#include <string>

// text(id) loads a string in the current language. A path without a
// backslash, a name that is not 32 characters long, or name fields that
// give no useful text: "Unknown Information".
CString StreamInfoText(const std::wstring& path, const std::function<CString(int)>& text);
