#include "app/WindowsVersion.h"

#include "app/MainLayout.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>

// What the system's own registry says it is, read apart from the call under
// test: "6.1" under the test prefix's default Windows 7.
TEST(WindowsVersion, DetectedCodeIsTheOneTheSystemReports)
{
    wchar_t text[32] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    ASSERT_EQ(::RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                             L"CurrentVersion", RRF_RT_REG_SZ, nullptr, text, &size),
              ERROR_SUCCESS);
    unsigned major = 0, minor = 0;
    ASSERT_EQ(swscanf(text, L"%u.%u", &major, &minor), 2) << "CurrentVersion " << text;
    EXPECT_EQ(DetectWindowsVersion(), WindowsVersionCode(major, minor)) << "CurrentVersion " << text;
    // Under Wine's default (Windows 7) the code is 5: the system caption.
    if (major == 6 && minor == 1) {
        EXPECT_EQ(DetectWindowsVersion(), 5);
    }
}
