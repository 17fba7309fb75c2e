#include "launcher/win32/main_layout.h"

#include <cwctype>
#include <iterator>

#include "launcher/drive_list.h"
#include "platform/win32/newer_windows.h"

namespace zolv {

namespace {

// The divider, the rules between the check boxes and the rule above the buttons.
constexpr RECT kLines[] = {
    {2400, 120, 2400, 3720}, {120, 480, 2280, 480},   {120, 960, 2280, 960},
    {120, 1440, 2280, 1440}, {120, 1920, 2280, 1920}, {120, 2400, 2280, 2400},
    {120, 2880, 2280, 2880}, {120, 3360, 2280, 3360}, {2520, 2760, 4560, 2760}};

// By GetDriveType's number, which comes from the system's own table and touches no drive.
constexpr DriveKind kKinds[] = {DriveKind::Unknown, DriveKind::NoRoot,  DriveKind::Removable,
                                DriveKind::Fixed,   DriveKind::Network, DriveKind::CdRom,
                                DriveKind::RamDisk};

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
    return result == NO_ERROR ? name.c_str() : L"";
}

std::wstring DriveText(wchar_t letter) {
    const wchar_t root[] = {letter, L':', L'\\', L'\0'};
    const UINT type = GetDriveTypeW(root);
    const DriveKind kind = type < std::size(kKinds) ? kKinds[type] : DriveKind::Unknown;
    const DriveName ask = NameToAsk(kind);
    return DriveListText(letter, kind,
                         ask == DriveName::VolumeLabel  ? VolumeLabel(root)
                         : ask == DriveName::RemoteName ? RemoteName(std::wstring(root, 2).c_str())
                                                        : L"");
}

constexpr FontRole kSystemFont = {L"System", 975, true, DEFAULT_CHARSET};
constexpr FontRole kLabelFont = {L"MS Sans Serif", 975, false, DEFAULT_CHARSET};
constexpr FontRole kButtonFont = {L"Terminal", 900, true, OEM_CHARSET};
constexpr FontRole kDefaultFont = {L"MS Sans Serif", 800, false, DEFAULT_CHARSET};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kDrives = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
// The directory list draws its own folders.
constexpr DWORD kFolders = kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                           LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kLabel = kChild | SS_LEFT | SS_NOPREFIX;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCombo = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;

}  // namespace

const FormDesign kMainForm = {
    L"ZOLVLoaderMain",
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
    0,
    {4710, 3825},
    {
        {IDC_EXECUTE, L"BUTTON", L"Run the Game!", kButton, 2520, 3360, 2055, 400, kButtonRole},
        {IDC_SAVE, L"BUTTON", L"Save Settings", kButton, 2520, 2880, 2055, 400, kButtonRole},
        {IDC_DRIVE, L"COMBOBOX", L"", kDrives, 2520, 480, 2055, 315, kDefaultRole},
        {IDC_DIR, L"LISTBOX", L"", kFolders, 2520, 840, 2055, 990, kDefaultRole},
        {IDC_SKIP, L"BUTTON", L"Skip code analys", kCheck, 120, 2040, 2175, 360, kSystemRole},
        {IDC_NOSOUND, L"BUTTON", L"No sound", kCheck, 120, 1560, 2175, 360, kSystemRole},
        {IDC_FRAME, L"BUTTON", L"Frameskip", kCheck, 120, 1080, 2175, 360, kSystemRole},
        {IDC_ENABLEV, L"BUTTON", L"Enable vsync", kCheck, 120, 600, 2175, 360, kSystemRole},
        {IDC_SCAN, L"BUTTON", L"No scanlines", kCheck, 120, 120, 2175, 360, kSystemRole},
        {IDC_JOYSTICK, L"BUTTON", L"JoyStick Support", kCheck, 120, 2520, 2175, 360, kSystemRole},
        {IDC_FM, L"BUTTON", L"FM address 388H", kCheck, 120, 3000, 2175, 360, kSystemRole},
        {IDC_ROTATE, L"BUTTON", L"Rotate screen", kCheck, 120, 3480, 2175, 360, kSystemRole},
        {IDC_RES, L"COMBOBOX", L"", kCombo, 2520, 1920, 2055, 315, kChoicesRole},
        {IDC_GAMEDIR, L"COMBOBOX", L"", kCombo, 2520, 2280, 2055, 315, kChoicesRole},
        {IDC_TINDRELDIR, L"STATIC", L"Select Tindrel Dir", kLabel, 2520, 120, 1935, 255,
         kLabelRole},
    },
    {kSystemFont, kLabelFont, kButtonFont, kDefaultFont, kDefaultFont},
    IDC_EXECUTE,
};

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

void DrawMainLines(HDC dc, int dpi) {
    HGDIOBJ old = SelectObject(dc, GetStockObject(DC_PEN));
    SetDCPenColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    for (const RECT& line : kLines) {
        // LineTo stops one pixel short; a drawn line includes both ends.
        MoveToEx(dc, TwipsToPixels(line.left, dpi), TwipsToPixels(line.top, dpi), nullptr);
        LineTo(dc, TwipsToPixels(line.right, dpi) + (line.right > line.left),
               TwipsToPixels(line.bottom, dpi) + (line.bottom > line.top));
    }
    SelectObject(dc, old);
}

void FillDriveLetters(HWND combo) {
    const std::wstring current = CurrentDirectoryOrEmpty();
    const wchar_t currentLetter = current.empty() ? 0 : static_cast<wchar_t>(towlower(current[0]));

    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i))) continue;
        const wchar_t letter = static_cast<wchar_t>(L'a' + i);
        const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0,
                                           reinterpret_cast<LPARAM>(DriveText(letter).c_str()));
        if (letter == currentLetter) SendMessageW(combo, CB_SETCURSEL, index, 0);
    }
}

}  // namespace zolv
