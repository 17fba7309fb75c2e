// ui_tests LOADER [STAND-IN-EMULATOR] [STAND-IN-TOOL]: the window tests
// against the real exe. Paths may be given the Unix way; z: is the root.
#include <gtest/gtest.h>

#include "tests/ui/driver.h"

namespace {

std::wstring WindowsPath(const char* path) {
    std::wstring text;
    for (const char* p = path; *p; ++p) text += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path[0] == '/' ? L"Z:" + text : text;
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Measures in the same pixels as the loader, which is system DPI aware.
    SetProcessDPIAware();
    if (argc < 2) {
        fprintf(stderr, "usage: ui_tests ZOLVLOAD.exe [stand-in zolv.exe] [stand-in tool]\n");
        return 2;
    }
    zolv::ui::SetTestPrograms({WindowsPath(argv[1]), argc > 2 ? WindowsPath(argv[2]) : L"",
                               argc > 3 ? WindowsPath(argv[3]) : L""});
    return RUN_ALL_TESTS();
}
