#include "tests/ui/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "program/control_ids.h"
#include "tests/ui/probe.h"

namespace zolv::ui {

namespace {

Programs g_programs;

struct Search {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && IsWindowVisible(hwnd)) search->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND hwnd, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

}  // namespace

const Programs& TestPrograms() { return g_programs; }
void SetTestPrograms(Programs programs) { g_programs = std::move(programs); }

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds) return false;
        Sleep(50);
    }
    return true;
}

std::wstring Text(HWND hwnd) {
    wchar_t buffer[4096] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                        5000, &length);
    return std::wstring(buffer, length);
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::string Hex(COLORREF colour) {
    char text[16];
    snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(colour), GetGValue(colour),
             GetBValue(colour));
    return text;
}

std::vector<std::string> StandInRuns(const std::wstring& directory) {
    const std::string bytes = ReadFileBytes(directory + L"\\runs.txt");
    std::vector<std::string> lines;
    if (bytes == "<missing>") return lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    return lines;
}

::testing::AssertionResult StandInStarted(const std::wstring& directory, std::size_t times,
                                          DWORD milliseconds) {
    WaitFor([&] { return StandInRuns(directory).size() >= times; }, milliseconds);
    Sleep(200);
    const std::size_t runs = StandInRuns(directory).size();
    if (runs == times) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the stand-in in " << Narrow(directory)
                                         << " was started " << runs << " times, not " << times;
}

std::wstring ComboItem(HWND combo, LRESULT index) {
    if (index < 0) index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    wchar_t text[300] = {};
    if (SendMessageW(combo, CB_GETLBTEXTLEN, index, 0) < 300)
        SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring ListItem(HWND list, LRESULT index) {
    wchar_t text[MAX_PATH] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, index, 0) < MAX_PATH)
        SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

void ExpectMessage(const Box& box, const std::wstring& text, bool icon, HWND owner) {
    EXPECT_EQ(box.title, L"ZOLV Loader");
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.hasIcon, icon);
    EXPECT_EQ(box.buttons, (std::vector<std::wstring>{L"OK"}));
    if (owner) {
        EXPECT_EQ(box.owner, owner);
    }
}

bool PutStandIn(const std::wstring& path) {
    return CopyFileW(TestPrograms().standIn.c_str(), path.c_str(), FALSE) != FALSE;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

TempDir::TempDir() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"zolv-ui-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount());
    if (!path_.empty() && path_.back() == L'\\') path_.pop_back();
    // Never one that is there already, left by a test before in the same tick.
    const std::wstring named = path_;
    for (int n = 2; !CreateDirectoryW(path_.c_str(), nullptr); ++n) {
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "no temporary directory could be made, error " << error;
            break;
        }
        path_ = named + L"-" + std::to_wstring(n);
    }
}

TempDir::~TempDir() { RemoveTree(path_); }

std::wstring TempDir::Make(const std::wstring& name) const {
    const std::wstring path = path_ + L"\\" + name;
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

RECT ClientRectIn(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// --- the program ---------------------------------------------------------------------------------

Loader::Loader(const std::wstring& workingDirectory, const std::wstring& arguments) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    std::wstring commandLine =
        L"\"" + TestPrograms().loader + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    if (!CreateProcessW(TestPrograms().loader.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        0, nullptr, workingDirectory.c_str(), &startup, &process_)) {
        const DWORD error = GetLastError();
        ADD_FAILURE() << "ZOLVLOAD.exe could not be started, error " << error;
        return;
    }
    WaitFor([this] { return (main_ = FindWindowByCaption(L"ZOLV Loader")) != nullptr; }, 30000);
    WaitForInputIdle(process_.hProcess, 5000);
    // The window is shown before its first control is given the focus.
    if (main_) WaitFor([this] { return Focus() && GetAncestor(Focus(), GA_ROOT) == main_; }, 5000);
}

Loader::~Loader() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        for (HWND hwnd : VisibleWindows()) {
            if (ClassOf(hwnd) == L"#32770") PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
        }
        if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 10000) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

std::vector<HWND> Loader::VisibleWindows() const {
    Search search{process_.dwProcessId, {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Loader::FindWindowByCaption(const std::wstring& caption) const {
    for (HWND hwnd : VisibleWindows()) {
        if (ClassOf(hwnd) != L"#32770" && Text(hwnd) == caption) return hwnd;
    }
    return nullptr;
}

HWND Loader::Focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return info.hwndFocus;
}

void Loader::Idle() const {
    WaitForInputIdle(process_.hProcess, 5000);
    Sleep(150);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

void Loader::MakeForeground(HWND window) const {
    SetForegroundWindow(window);
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == window; }, 3000))
        << "the window could not be brought to the front";
    Idle();
}

HWND Loader::OpenAbout() const {
    PostMessageW(main_, WM_COMMAND, IDM_ABOUT, 0);
    Idle();
    HWND about = nullptr;
    WaitFor([&] { return (about = FindWindowByCaption(L"About ZOLV Loader")) != nullptr; }, 5000);
    return about;
}

void Loader::PutBeside(HWND window, int gap) const {
    RECT frame;
    GetWindowRect(main_, &frame);
    SetWindowPos(window, nullptr, frame.right + gap, frame.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Idle();
}

void Loader::Click(HWND button) {
    // Posted, not sent: the press may open a modal box that this test must
    // then read and dismiss.
    PostMessageW(button, BM_CLICK, 0, 0);
    Idle();
}

void Loader::PressKeys(const std::vector<WORD>& keys, bool shift, bool alt) {
    auto key = [](WORD vk, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        return input;
    };
    std::vector<INPUT> inputs;
    if (shift) inputs.push_back(key(VK_SHIFT, false));
    if (alt) inputs.push_back(key(VK_MENU, false));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        inputs.push_back(key(keys[i], false));
        inputs.push_back(key(keys[i], true));
        // Alt is let go after the first key: Alt+P, then E alone chooses the item.
        if (alt && i == 0) inputs.push_back(key(VK_MENU, true));
    }
    if (shift) inputs.push_back(key(VK_SHIFT, true));
    const UINT count = static_cast<UINT>(inputs.size());

    // All in one call while the program is held still, so that the foreground
    // and focus stay as read until the keys are in: each focus change Wine's
    // X11 driver takes in resets the keyboard's state, and Alt pressed before
    // the activation was taken in came up before H, which opened no menu.
    const auto inFront = [](HWND focus) {
        return focus && GetForegroundWindow() == GetAncestor(focus, GA_ROOT);
    };
    UINT sent = 0;
    const bool pressed = WaitFor([&] {
        const HWND focus = Focus();
        if (!inFront(focus)) {
            // Not from a window of its own, which the program is still activating.
            DWORD front = 0;
            GetWindowThreadProcessId(GetForegroundWindow(), &front);
            if (front != pid()) SetForegroundWindow(GetAncestor(focus ? focus : main_, GA_ROOT));
            return false;
        }
        return WhileHeldStill(main_, [&] {
            if (!inFront(Focus())) return false;
            sent = SendInput(count, inputs.data(), sizeof(INPUT));
            return true;
        });
    });
    if (!pressed) {
        ADD_FAILURE() << "no key was pressed: no window of the program came to the front with "
                         "the focus in it, or the program could not be held still";
    } else if (sent != count) {
        ADD_FAILURE() << "only " << sent << " of " << count << " key events went in";
    }
    // Once the program has taken every key and what they posted, such as a menu's command.
    WaitFor([this] { return !InputWaiting(main_); });
}

void Loader::SetComboText(int id, const std::wstring& text) {
    SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Loader::SelectComboItem(int id, const std::wstring& item) {
    const LRESULT index = SendMessageW(Control(id), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(Control(id), CB_SETCURSEL, index, 0);
}

void Loader::SetCheck(int id, bool checked) {
    SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Loader::OpenDirectory(const std::wstring& name) {
    HWND list = Control(IDC_DIR);
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (_wcsicmp(ListItem(list, i).c_str(), name.c_str()) == 0) {
            SendMessageW(list, LB_SETCURSEL, i, 0);
            PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
            Idle();
            return;
        }
    }
}

void Loader::SaveTheWorkedExample(const std::wstring& subdirectory) {
    OpenDirectory(subdirectory);
    SelectComboItem(IDC_GAMEDIR, L"1943");
    SelectComboItem(IDC_RES, L" -d320x240");
    Click(Control(IDC_NOSOUND));
    Click(Control(IDC_ROTATE));
    Click(Control(IDC_SAVE));
}

std::wstring Loader::DirectoryPath() const { return Text(Control(IDC_DIR)); }

Box Loader::WaitForBox(DWORD milliseconds) const {
    Box box;
    WaitFor(
        [&] {
            for (HWND hwnd : VisibleWindows()) {
                if (ClassOf(hwnd) == L"#32770") box.hwnd = hwnd;
            }
            return box.hwnd != nullptr;
        },
        milliseconds);
    if (!box.hwnd) return box;
    Sleep(100);  // the box fills its controls as it is shown
    box.title = Text(box.hwnd);
    box.owner = GetWindow(box.hwnd, GW_OWNER);
    std::vector<HWND> children;
    EnumChildWindows(box.hwnd, CollectChildren, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        const std::wstring kind = ClassOf(child);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(kind.c_str(), L"Static") == 0) {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                box.hasIcon = box.hasIcon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
            } else if (!Text(child).empty()) {
                box.text = Text(child);
            }
        } else if (_wcsicmp(kind.c_str(), L"Button") == 0 && IsWindowVisible(child)) {
            box.buttons.push_back(Text(child));
        }
    }
    return box;
}

bool Loader::NoBoxFor(DWORD milliseconds) const { return !WaitForBox(milliseconds).hwnd; }

void Loader::Dismiss(const Box& box) {
    PostMessageW(box.hwnd, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindow(box.hwnd); }, 5000);
    Idle();
}

bool Loader::WaitForExit(DWORD milliseconds) const {
    return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

// --- real mouse input and screen pixels -------------------------------------------------------

void MouseClickAt(POINT screen) {
    // Wine moves the pointer after the call returns: every event carries the point.
    const auto at = [&](DWORD flags) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        input.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
        SendInput(1, &input, sizeof(INPUT));
    };
    at(0);
    WaitFor(
        [&] {
            POINT now;
            return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
        },
        2000);
    Sleep(100);
    at(0);
    Sleep(50);
    at(MOUSEEVENTF_LEFTDOWN);
    Sleep(30);
    at(MOUSEEVENTF_LEFTUP);
    Sleep(30);
}

bool FindCloseBox(HWND window, POINT* screen) {
    RECT frame, client;
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    POINT clientTop = {0, 0};
    ClientToScreen(window, &clientTop);
    // The close box is the rightmost thing between the frame's top and the client area.
    for (int y = frame.top + 1; y < clientTop.y; ++y) {
        for (int x = frame.right - 1; x > frame.right - 80 && x > frame.left; --x) {
            DWORD_PTR hit = HTNOWHERE;
            SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000,
                                &hit);
            if (hit != HTCLOSE) continue;
            // From its right edge, half a box to the left and a few lines down.
            int left = x;
            for (DWORD_PTR inside = HTCLOSE; inside == HTCLOSE && left > frame.left; --left) {
                SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(left - 1, y),
                                    SMTO_ABORTIFHUNG, 2000, &inside);
            }
            *screen = {(left + x) / 2, y + 4};
            return true;
        }
    }
    return false;
}

POINT CentreOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

ScreenShot::ScreenShot(const RECT& screen)
    : width_(screen.right - screen.left), height_(screen.bottom - screen.top) {
    if (width_ <= 0 || height_ <= 0) {
        width_ = height_ = 0;
        return;
    }
    HDC screenDc = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screenDc);
    HBITMAP bitmap = CreateCompatibleBitmap(screenDc, width_, height_);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, screenDc, screen.left, screen.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> bgrx(static_cast<std::size_t>(width_) * height_);
    GetDIBits(memory, bitmap, 0, height_, bgrx.data(), &info, DIB_RGB_COLORS);
    *this = ScreenShot(width_, height_, bgrx.data());

    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screenDc);
}

ScreenShot::ScreenShot(int width, int height, const DWORD* topDownBgrx)
    : width_(width), height_(height) {
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
        const DWORD p = topDownBgrx[i];
        pixels_.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
}

ScreenShot::ScreenShot(HWND window)
    : ScreenShot([window] {
          RECT r = {};
          GetWindowRect(window, &r);
          return r;
      }()) {}

int ScreenShot::Differing(const ScreenShot& other) const {
    int differing = 0;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) differing += At(x, y) != other.At(x, y);
    }
    return differing;
}

int ScreenShot::Differing(COLORREF colour) const {
    return static_cast<int>(
        std::count_if(pixels_.begin(), pixels_.end(), [&](COLORREF p) { return p != colour; }));
}

COLORREF ScreenShot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

bool ScreenShot::Save(const wchar_t* name) const {
    const wchar_t* directory = _wgetenv(L"ZOLV_UI_SCREENSHOTS");
    if (!directory || !*directory) return true;
    const int stride = (width_ * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width_;
    header.biHeight = height_;  // bottom row first, as every reader expects
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(stride * height_);
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + header.biSizeImage;

    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&header), sizeof(header));
    for (int y = height_ - 1; y >= 0; --y) {
        std::string row(static_cast<std::size_t>(stride), '\0');
        for (int x = 0; x < width_; ++x) {
            const COLORREF c = At(x, y);
            row[x * 3] = static_cast<char>(GetBValue(c));
            row[x * 3 + 1] = static_cast<char>(GetGValue(c));
            row[x * 3 + 2] = static_cast<char>(GetRValue(c));
        }
        bytes += row;
    }
    return WriteFileBytes(std::wstring(directory) + L"\\" + name, bytes);
}

}  // namespace zolv::ui
