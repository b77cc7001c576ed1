// The ".h264" file association, written under root (HKEY_CLASSES_ROOT in
// the program). Key names and the command are built with sized formatting.
#pragma once

#include <windows.h>

extern const char kDisplayName[];

void RegisterFileAssociation(HKEY root, const char* iconPath, const char* exePath);
