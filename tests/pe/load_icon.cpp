// Loads the icon from the built exe the way the program and the shell do:
// LoadIconW on icon group 1, then checks what Windows made of it.
//     load_icon_test <path of ZOLVLOAD.exe>
// Exits 0 when the icon loads as a 32x32 colour icon from image 30001.
#include <windows.h>

#include <cstdio>

#include "program/resource.h"

namespace {

int Fail(const char* what, DWORD error = GetLastError()) {
    std::fprintf(stderr, "FAIL: %s (error %lu)\n", what, static_cast<unsigned long>(error));
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: load_icon_test <exe>\n");
        return 2;
    }
    HMODULE exe =
        LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!exe) return Fail("LoadLibraryExW could not open the exe as a data file");

    // The group, and the image the system picks from it for a 32x32 icon.
    HRSRC groupInfo =
        FindResourceW(exe, MAKEINTRESOURCEW(IDI_APP), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    if (!groupInfo) return Fail("no RT_GROUP_ICON resource 1");
    HGLOBAL groupData = LoadResource(exe, groupInfo);
    auto* group = static_cast<BYTE*>(LockResource(groupData));
    if (!group) return Fail("icon group 1 could not be loaded");
    int image = LookupIconIdFromDirectoryEx(group, TRUE, 32, 32, LR_DEFAULTCOLOR);
    if (image != IDI_APP_IMAGE) {
        std::fprintf(stderr, "FAIL: LookupIconIdFromDirectoryEx: expected image %d, actual %d\n",
                     IDI_APP_IMAGE, image);
        return 1;
    }

    HICON icon = LoadIconW(exe, MAKEINTRESOURCEW(IDI_APP));
    if (!icon) return Fail("LoadIconW(exe, MAKEINTRESOURCEW(1)) returned no icon");
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return Fail("GetIconInfo");
    int status = 0;
    if (!info.fIcon) status = Fail("the resource loaded as a cursor, not an icon", 0);
    if (!info.hbmColor) status = Fail("the icon has no colour bitmap", 0);
    BITMAP bitmap{};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bitmap, &bitmap) == sizeof bitmap &&
        (bitmap.bmWidth != 32 || bitmap.bmHeight != 32)) {
        std::fprintf(stderr, "FAIL: expected a 32x32 colour bitmap, actual %ldx%ld\n",
                     bitmap.bmWidth, bitmap.bmHeight);
        status = 1;
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    FreeLibrary(exe);
    if (status == 0)
        std::printf("icon group %d loads: 32x32 colour icon from image %d\n", IDI_APP, image);
    return status;
}
