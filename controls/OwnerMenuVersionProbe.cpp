// A program for the owner-drawn menu's tests: its exit code is the menu's
// Windows version code as a fresh process finds it (the tests run it with
// Wine told to report other Windows versions).
#include "OwnerMenu.h"

int main()
{
    return COwnerMenu::WindowsVersionCode();
}
