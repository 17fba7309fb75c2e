// The start-up benchmark's true limit: ZOLVLOAD's main window with nothing
// behind it. ZOLVLOAD's form with the same menu, the same fifteen controls at
// the same places in the same fonts, the drive list filled as ZOLVLOAD fills it,
// a plain list box filled with the current directory's subdirectories in the
// order the file system gives them, the nine lines painted. No settings, no logic
// but one: Enter in the list fills it anew from the highlighted directory,
// as a plain list box would be filled, so that opening can be timed too.
#include <windows.h>

#include "launcher/win32/main_layout.h"
#include "platform/win32/newer_windows.h"
#include "platform/win32/ui.h"
#include "program/resource.h"

namespace {

constexpr wchar_t kCaption[] = L"ZOLV Same Window";

void FillPlainList(HWND list) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileExW(L"*", zolv::FindInfoLevelForListing(), &found,
                                   FindExSearchLimitToDirectories, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    do {
        const bool dots =
            found.cFileName[0] == L'.' &&
            (!found.cFileName[1] || (found.cFileName[1] == L'.' && !found.cFileName[2]));
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) && !dots)
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
    } while (FindNextFileW(find, &found));
    FindClose(find);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

// ZOLVLOAD's form, its class of its own and its directory list a plain one.
zolv::FormDesign SameDesign() {
    zolv::FormDesign design = zolv::kMainForm;
    design.className = L"ZolvSameWindow";
    for (zolv::FormControl& c : design.controls) {
        if (c.id == IDC_DIR)
            c.style = (c.style & ~(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS)) | LBS_WANTKEYBOARDINPUT;
    }
    return design;
}
const zolv::FormDesign kSameDesign = SameDesign();

class SameWindow : public zolv::Form {
public:
    explicit SameWindow(HINSTANCE instance) : Form(instance, kSameDesign) {}
    ~SameWindow() { Destroy(); }
    bool Start(int show) {
        if (!Open(kCaption, zolv::BuildMainMenu(), nullptr, {CW_USEDEFAULT, CW_USEDEFAULT},
                  L"class", L"window"))
            return false;
        ShowWindow(hwnd_, show);
        SetFocus(Control(IDC_EXECUTE));
        return true;
    }

private:
    void Paint(HDC dc) override { zolv::DrawMainLines(dc, dpi()); }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_CREATE:
                zolv::FillDriveLetters(Control(IDC_DRIVE));
                FillPlainList(Control(IDC_DIR));
                return 0;
            case WM_VKEYTOITEM: {  // the list's keys; Enter opens the highlighted directory
                if (LOWORD(wParam) != VK_RETURN) return -1;
                const auto list = reinterpret_cast<HWND>(lParam);
                const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
                wchar_t name[MAX_PATH] = {};
                if (index < 0 || SendMessageW(list, LB_GETTEXTLEN, index, 0) >= MAX_PATH) return -2;
                SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(name));
                if (SetCurrentDirectoryW(name)) {
                    SendMessageW(list, LB_RESETCONTENT, 0, 0);
                    FillPlainList(list);
                }
                return -2;
            }
            case WM_CTLCOLORSTATIC:  // the label's yellow on black
                if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_TINDRELDIR) break;
                SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 0));
                SetBkColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
                SetDCBrushColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
                return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
        }
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    SameWindow window(instance);
    if (!window.Start(showCommand)) return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window.hwnd(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
