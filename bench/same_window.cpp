// The start-up benchmark's true limit: ZOLVLOAD's main window with nothing
// behind it. One class, the same menu, the same fifteen controls at the same
// places in the same four fonts, the drive list filled as ZOLVLOAD fills it,
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

using zolv::Font;

constexpr wchar_t kClassName[] = L"ZolvSameWindow";
constexpr wchar_t kCaption[] = L"ZOLV Same Window";

struct Window {
    int dpi = 96;
    HFONT fonts[4] = {};  // by Font
    HBRUSH labelBrush = nullptr;
};
Window state;

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

void Create(HWND window, HINSTANCE instance) {
    // The four fonts of ZOLVLOAD's main window.
    state.fonts[static_cast<int>(Font::System)] = zolv::MakeFont(zolv::kSystemFont, state.dpi);
    state.fonts[static_cast<int>(Font::Label)] = zolv::MakeFont(zolv::kLabelFont, state.dpi);
    state.fonts[static_cast<int>(Font::Button)] = zolv::MakeFont(zolv::kButtonFont, state.dpi);
    state.fonts[static_cast<int>(Font::Default)] = zolv::MakeFont(zolv::kDefaultFont, state.dpi);
    state.labelBrush = CreateSolidBrush(RGB(0, 0, 0));
    for (const zolv::ControlLayout& c : zolv::kMainLayout) {
        const DWORD style =
            c.id == IDC_DIR ? (c.style & ~zolv::kOwnerDrawnList) | LBS_WANTKEYBOARDINPUT : c.style;
        zolv::PlaceLayoutControl(zolv::CreateLayoutControl(c, style, window, instance, state.dpi),
                                 c, state.dpi, state.fonts[static_cast<int>(c.font)]);
    }
    zolv::FillDriveLetters(GetDlgItem(window, IDC_DRIVE));
    FillPlainList(GetDlgItem(window, IDC_DIR));
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            Create(window, reinterpret_cast<CREATESTRUCTW*>(lParam)->hInstance);
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
            return reinterpret_cast<LRESULT>(state.labelBrush);
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
            HGDIOBJ old = SelectObject(dc, pen);
            zolv::DrawMainLines(dc, state.dpi);
            SelectObject(dc, old);
            DeleteObject(pen);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass)) return 1;

    state.dpi = zolv::SystemDpi();
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    HMENU menu = zolv::BuildMainMenu();
    RECT frame = {0, 0, zolv::TwipsToPixels(zolv::kMainClientWidth, state.dpi),
                  zolv::TwipsToPixels(zolv::kMainClientHeight, state.dpi)};
    AdjustWindowRectEx(&frame, style, TRUE, 0);
    HWND window = CreateWindowExW(0, kClassName, kCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, menu,
                                  instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, showCommand);
    SetFocus(GetDlgItem(window, IDC_EXECUTE));

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    for (HFONT font : state.fonts) DeleteObject(font);
    DeleteObject(state.labelBrush);
    return static_cast<int>(message.wParam);
}
