// ZOLV Loader's entry point.
#include <windows.h>

#include "app/identity.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MessageBoxW(nullptr, L"The main window is not built yet.", zolv::kTitle, MB_OK);
    return 0;
}
