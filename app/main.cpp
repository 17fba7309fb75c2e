// ZOLV Loader starts into its main window and runs until that window closes.
// It reads no argument, environment variable or setting at start.

#include "launcher/win32/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    // A drive without a medium gives our own message, not the system's "insert a disk" box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    zolv::MainWindow window(instance);
    if (!window.Start(show)) return 1;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (window.TranslateDialogKeys(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
