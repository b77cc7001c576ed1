#include "GdiplusSession.h"

#include "GdiplusInclude.h"

namespace {
int g_sessions = 0;
int g_lateReleases = 0;
}

CGdiplusSession::CGdiplusSession()
{
    Gdiplus::GdiplusStartupInput input;  // version 1, no callbacks, no codecs
    if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok)
        ++g_sessions;
    else
        m_token = 0;
}

CGdiplusSession::~CGdiplusSession()
{
    if (m_token) {
        Gdiplus::GdiplusShutdown(m_token);
        --g_sessions;
    }
}

bool CGdiplusSession::Running() { return g_sessions > 0; }
int CGdiplusSession::LateReleases() { return g_lateReleases; }
void CGdiplusSession::NoteLateRelease() { ++g_lateReleases; }
