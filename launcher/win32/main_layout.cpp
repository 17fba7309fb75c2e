#include "launcher/win32/main_layout.h"

#include <cwctype>
#include <string>

#include "launcher/drive_list.h"
#include "platform/win32/newer_windows.h"
#include "platform/win32/ui.h"
#include "platform/win32/win32_platform.h"

namespace zolv {

namespace {

struct Line {
    int x1, y1, x2, y2;  // twips
};

constexpr std::array<Line, 9> kLines = {{
    {2400, 120, 2400, 3720},
    {120, 480, 2280, 480},
    {120, 960, 2280, 960},
    {120, 1440, 2280, 1440},
    {120, 1920, 2280, 1920},
    {120, 2400, 2280, 2400},
    {120, 2880, 2280, 2880},
    {120, 3360, 2280, 3360},
    {2520, 2760, 4560, 2760},
}};

constexpr int kDroppedListTwips = 2400;  // how far the combo lists drop down

DriveKind KindOf(UINT type) {
    switch (type) {
        case DRIVE_NO_ROOT_DIR:
            return DriveKind::NoRoot;
        case DRIVE_REMOVABLE:
            return DriveKind::Removable;
        case DRIVE_FIXED:
            return DriveKind::Fixed;
        case DRIVE_REMOTE:
            return DriveKind::Network;
        case DRIVE_CDROM:
            return DriveKind::CdRom;
        case DRIVE_RAMDISK:
            return DriveKind::RamDisk;
        default:
            return DriveKind::Unknown;
    }
}

std::wstring VolumeLabel(const wchar_t* root) {
    wchar_t label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
        return {};
    return label;
}

std::wstring RemoteName(const wchar_t* drive) {
    DWORD length = MAX_PATH;
    std::wstring name(length, L'\0');
    DWORD result = GetNetworkConnection(drive, name.data(), &length);
    if (result == ERROR_MORE_DATA) {  // length is now what the name needs
        name.assign(length, L'\0');
        result = GetNetworkConnection(drive, name.data(), &length);
    }
    if (result != NO_ERROR) return {};
    const std::size_t end = name.find(L'\0');
    if (end != std::wstring::npos) name.resize(end);
    return name;
}

std::wstring DriveText(wchar_t letter) {
    const wchar_t root[] = {letter, L':', L'\\', L'\0'};
    const wchar_t drive[] = {letter, L':', L'\0'};
    // The type alone comes from the system's own table and touches no drive.
    const DriveKind kind = KindOf(GetDriveTypeW(root));
    switch (NameToAsk(kind)) {
        case DriveName::VolumeLabel:
            return DriveListText(letter, kind, VolumeLabel(root));
        case DriveName::RemoteName:
            return DriveListText(letter, kind, RemoteName(drive));
        case DriveName::None:
            break;
    }
    return DriveListText(letter, kind, L"");
}

}  // namespace

HMENU BuildMainMenu() {
    HMENU bar = CreateMenu();
    HMENU program = CreatePopupMenu();
    HMENU help = CreatePopupMenu();
    AppendMenuW(program, MF_STRING, IDM_END, L"&End Program");
    AppendMenuW(help, MF_STRING, IDM_ABOUT, L"&About");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(program), L"&Program");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    return bar;
}

namespace {

bool IsCombo(const ControlLayout& c) { return std::wstring(c.kind) == L"COMBOBOX"; }

// A combo box's height in the table is its closed box's; the window's
// height takes in its dropped list.
int WindowHeight(const ControlLayout& c) {
    return IsCombo(c) ? c.height + kDroppedListTwips : c.height;
}

}  // namespace

HWND CreateLayoutControl(const ControlLayout& c, DWORD style, HWND parent, HINSTANCE instance,
                         int dpi) {
    // Combo boxes draw their own sunken edge; the list needs one.
    return CreateWindowExW(c.kind == std::wstring(L"LISTBOX") ? WS_EX_CLIENTEDGE : 0, c.kind,
                           c.caption, style, TwipsToPixels(c.left, dpi), TwipsToPixels(c.top, dpi),
                           TwipsToPixels(c.width, dpi), TwipsToPixels(WindowHeight(c), dpi), parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
}

void MoveLayoutCombo(HWND combo, const ControlLayout& c, int dpi) {
    RECT now;
    GetWindowRect(combo, &now);
    MapWindowPoints(nullptr, GetParent(combo), reinterpret_cast<POINT*>(&now), 2);
    const int left = TwipsToPixels(c.left, dpi), top = TwipsToPixels(c.top, dpi);
    const int width = TwipsToPixels(c.width, dpi);
    if (now.left == left && now.top == top && now.right - now.left == width) return;  // made there
    SetWindowPos(combo, nullptr, left, top, width, now.bottom - now.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceLayoutControl(HWND control, const ControlLayout& c, int dpi, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (IsCombo(c)) {
        // The closed height follows the font; size the selection field so
        // that the closed box is as tall as the layout says. Wine's combo
        // box reports two pixels more than the height set for its field, so
        // the box it has now is had by setting two less than it reports;
        // from there the closed height moves pixel for pixel with the
        // height set. Where a system reports otherwise, the next try
        // corrects it.
        const int wanted = TwipsToPixels(c.height, dpi);
        LRESULT item = SendMessageW(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0) - 2;
        for (int attempt = 0; attempt < 3; ++attempt) {
            RECT closed;
            GetWindowRect(control, &closed);
            const int off = wanted - (closed.bottom - closed.top);
            if (off == 0) break;
            item += off;
            SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item);
        }
    }
    // Last: a combo box takes the height beyond its closed box for its
    // dropped list, so it drops as far as the layout says only when its
    // closed box already has its height. Any other control made at its
    // place is there already, and this changes nothing.
    SetWindowPos(control, nullptr, TwipsToPixels(c.left, dpi), TwipsToPixels(c.top, dpi),
                 TwipsToPixels(c.width, dpi), TwipsToPixels(WindowHeight(c), dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void DrawMainLines(HDC dc, int dpi) {
    for (const Line& line : kLines) {
        // LineTo stops one pixel short; a drawn line includes both ends.
        const int x2 = TwipsToPixels(line.x2, dpi) + (line.x2 > line.x1 ? 1 : 0);
        const int y2 = TwipsToPixels(line.y2, dpi) + (line.y2 > line.y1 ? 1 : 0);
        MoveToEx(dc, TwipsToPixels(line.x1, dpi), TwipsToPixels(line.y1, dpi), nullptr);
        LineTo(dc, x2, y2);
    }
}

void FillDriveLetters(HWND combo) {
    const std::wstring current = CurrentDirectoryOrEmpty();
    const wchar_t currentLetter = current.empty() ? 0 : static_cast<wchar_t>(towlower(current[0]));

    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i))) continue;
        const wchar_t letter = static_cast<wchar_t>(L'a' + i);
        const std::wstring text = DriveText(letter);
        const LRESULT index =
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (letter == currentLetter) SendMessageW(combo, CB_SETCURSEL, index, 0);
    }
}

}  // namespace zolv
