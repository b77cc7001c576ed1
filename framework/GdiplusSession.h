// GDI+ start-up and shut-down. The owner of the session must be destroyed
// after every GDI+ object of the program: the main dialog holds it as its
// first member, so it goes after every panel and control. Images released
// when no session runs are counted (LateReleases) instead of touching a
// library that is already shut down.
#pragma once

#include <windows.h>

class CGdiplusSession {
public:
    CGdiplusSession();
    ~CGdiplusSession();
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;

    bool Started() const { return m_token != 0; }
    // A session is running somewhere in the process.
    static bool Running();
    // Releases of GDI+ objects that came after the last shut-down.
    static int LateReleases();
    static void NoteLateRelease();

private:
    ULONG_PTR m_token = 0;
};
