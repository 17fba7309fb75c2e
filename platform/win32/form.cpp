#include "platform/win32/form.h"

#include "platform/win32/newer_windows.h"
#include "program/resource.h"

namespace zolv {

namespace {

constexpr int kDroppedListTwips = 2400;  // how far a combo box's list drops down

bool IsKind(const FormControl& c, const wchar_t* kind) { return lstrcmpiW(c.kind, kind) == 0; }

int WindowHeight(const FormControl& c) {
    return IsKind(c, L"COMBOBOX") ? c.height + kDroppedListTwips : c.height;
}

// The outer size of a window whose client area is this many pixels at a DPI.
SIZE Framed(SIZE client, DWORD style, bool menu, DWORD exStyle, int dpi) {
    RECT frame = {0, 0, client.cx, client.cy};
    AdjustWindowRectForDpi(&frame, style, menu, exStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

SIZE FrameAround(HWND window, SIZE client, int dpi) {
    return Framed(client, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), GetMenu(window),
                  static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)), dpi);
}

// The client area exactly `size`, at the suggested top left where given: a menu bar
// may wrap, and a window told of a DPI from inside keeps its monitor's frame.
void SizeFrameToClient(HWND window, SIZE size, int dpi, const RECT* suggested) {
    RECT client;
    GetClientRect(window, &client);
    // A window made at the size it needs, as at start on most systems, is left alone.
    if (!suggested && client.right == size.cx && client.bottom == size.cy) return;
    const SIZE framed = FrameAround(window, size, dpi);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE);
    SetWindowPos(window, nullptr, suggested ? suggested->left : 0, suggested ? suggested->top : 0,
                 framed.cx, framed.cy, flags);
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT outer;
        GetClientRect(window, &client);
        const int dw = size.cx - client.right, dh = size.cy - client.bottom;
        if (!dw && !dh) break;
        GetWindowRect(window, &outer);
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dw,
                     outer.bottom - outer.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace

LRESULT CALLBACK Form::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg != WM_NCDESTROY) return self->HandleMessage(msg, wp, lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->HandleMessage(msg, wp, lp);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool Form::Open(const wchar_t* caption, HMENU menu, HWND owner, POINT at,
                const wchar_t* classFailure, const wchar_t* windowFailure) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_APP));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = design_.className;
    const SIZE size = OpeningSize(menu != nullptr);
    const wchar_t* failure = nullptr;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        failure = classFailure;
    } else if (!CreateWindowExW(design_.exStyle, design_.className, caption, design_.style, at.x,
                                at.y, size.cx, size.cy, owner, menu, instance_, this)) {
        failure = windowFailure;
    }
    if (!failure) return true;
    const std::wstring reason = SystemReason(GetLastError());
    if (menu) DestroyMenu(menu);
    MessageBoxW(nullptr, (std::wstring(failure) + L": " + reason).c_str(), kTitle,
                MB_OK | MB_ICONERROR);
    return false;
}

// Made at the system's DPI; laid out at creation for its monitor's.
SIZE Form::OpeningSize(bool menu) const {
    return Framed(ClientAt(SystemDpi()), design_.style, menu, design_.exStyle, SystemDpi());
}

std::vector<std::wstring> Form::TextsOf(HWND control) const {
    wchar_t kind[16] = {};
    GetClassNameW(control, kind, 16);
    if (lstrcmpiW(kind, L"Button") != 0 && lstrcmpiW(kind, L"Static") != 0) return {};
    return {WindowText(control)};
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE: {
            messages_.SetOwner(hwnd_);
            const int dpi = DpiOfWindow(hwnd_);
            for (const FormControl& c : design_.controls) {
                // Combo boxes draw their own sunken edge; the list needs one.
                CreateWindowExW(IsKind(c, L"LISTBOX") ? WS_EX_CLIENTEDGE : 0, c.kind, c.text,
                                c.style, TwipsToPixels(c.left, dpi), TwipsToPixels(c.top, dpi),
                                TwipsToPixels(c.width, dpi), TwipsToPixels(WindowHeight(c), dpi),
                                hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                instance_, nullptr);
            }
            ControlsMade();
            LayOut(dpi, nullptr);
            break;
        }
        case WM_ACTIVATE:
            // Like a dialog: the focus comes back to the control that had it.
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
            } else {  // a handle may have been reused
                SetFocus(lastFocus_ && IsChild(hwnd_, lastFocus_) ? lastFocus_
                                                                  : Control(design_.firstFocus));
            }
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            Paint(BeginPaint(hwnd_, &paint));
            EndPaint(hwnd_, &paint);
            return 0;
        }
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:  // high contrast, turned on or off
            RedrawWindow(hwnd_, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            break;
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_DRAWITEM:
            return DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        case kDpiChangedMessage:
            LayOut(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
            return 0;
        case kGetDpiScaledSizeMessage:
            // Windows chooses the monitor by the rectangle: the window's size there.
            *reinterpret_cast<SIZE*>(lp) =
                FrameAround(hwnd_, ClientAt(static_cast<int>(wp)), static_cast<int>(wp));
            return TRUE;
        case WM_NCDESTROY:
            OnMessage(msg, wp, lp);
            lastFocus_ = nullptr;
            messages_.SetOwner(nullptr);
            DeleteFonts();  // the controls that used them are gone by now
            return 0;
    }
    return OnMessage(msg, wp, lp);
}

void Form::LayOut(int dpi, const RECT* suggested) {
    dpi_ = dpi;
    // Placed first, so that the fonts are fitted to the places they have now.
    for (const FormControl& c : design_.controls) {
        SetWindowPos(Control(c.id), nullptr, Pixels(c.left), Pixels(c.top), Pixels(c.width),
                     Pixels(WindowHeight(c)), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    fonts_.resize(design_.fonts.size());
    for (std::size_t role = 0; role < fonts_.size(); ++role) Fit(static_cast<int>(role));
    for (const FormControl& c : design_.controls) {
        if (!IsKind(c, L"COMBOBOX")) continue;
        // The closed height follows the font: the field is sized to the table's
        // height, then the window again, which a combo box takes for its list.
        HWND combo = Control(c.id);
        LRESULT item = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
        for (int attempt = 0; attempt < 4; ++attempt) {
            RECT closed;
            GetWindowRect(combo, &closed);
            const int off = Pixels(c.height) - (closed.bottom - closed.top);
            if (off == 0) break;
            item += off;
            SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item);
        }
        SetWindowPos(combo, nullptr, Pixels(c.left), Pixels(c.top), Pixels(c.width),
                     Pixels(WindowHeight(c)), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LaidOut();
    SizeFrameToClient(hwnd_, ClientAt(dpi_), dpi_, suggested);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form::Fit(int role) {
    HFONT font = FittedFont(design_.fonts[role], dpi_, [&](HFONT candidate) {
        for (const FormControl& c : design_.controls) {
            if (c.font == role &&
                !TextsShow(Control(c.id), TextsOf(Control(c.id)), candidate, dpi_))
                return false;
        }
        return true;
    });
    for (const FormControl& c : design_.controls)
        if (c.font == role)
            SendMessageW(Control(c.id), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // The controls have let go of the font they had.
    if (fonts_[role]) DeleteObject(fonts_[role]);
    fonts_[role] = font;
}

}  // namespace zolv
