// Paths for the libraries that take texts in the system's ANSI code page
// (the engine, the AVI converter).
#pragma once

#include <string>

// The path in the ANSI code page. A path the code page cannot spell goes
// by its short form where the file system has one; false when neither
// works (the library cannot reach that file then).
bool AnsiPath(const std::wstring& path, std::string& out);

// The same for a file that need not exist yet: its folder may go by its
// short form, its name must be spelt as it is.
bool AnsiPathOfNewFile(const std::wstring& path, std::string& out);
