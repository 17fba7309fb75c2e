#include "platform/win32/ui.h"

#include "platform/win32/newer_windows.h"

namespace zolv {

LRESULT CALLBACK BoundWindow::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self =
            static_cast<BoundWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<BoundWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg != WM_NCDESTROY) return self->HandleMessage(msg, wp, lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->HandleMessage(msg, wp, lp);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool BoundWindow::RegisterClassOnce(HINSTANCE instance, const wchar_t* className, HICON icon) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, className, &wc)) return true;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
}

HWND BoundWindow::Create(DWORD exStyle, const wchar_t* className, const wchar_t* caption,
                         DWORD style, int width, int height, HMENU menu, HINSTANCE instance) {
    // The creation parameter is this base, whatever else the object derives from.
    return CreateWindowExW(exStyle, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, width,
                           height, nullptr, menu, instance, static_cast<BoundWindow*>(this));
}

namespace {

HFONT FontOfHeight(const wchar_t* face, int pixels, bool bold, BYTE charset) {
    return CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, charset,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

int TextWidth(HDC dc, const std::wstring& text) {
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

// The fonts do not grow in step with the layout: a face comes in few sizes, or
// its letters widen faster than its height. At some DPIs a caption that fits
// at 96 would be cut at the control's edge.
bool TextsFit(HDC dc, const std::vector<HWND>& controls, int dpi) {
    wchar_t kind[16] = {};
    for (HWND control : controls) {
        RECT client;
        GetClientRect(control, &client);
        GetClassNameW(control, kind, 16);
        std::vector<std::wstring> texts;
        int room = client.right;
        if (lstrcmpiW(kind, L"ComboBox") == 0) {
            COMBOBOXINFO info = {};
            info.cbSize = sizeof(info);
            if (!GetComboBoxInfo(control, &info)) continue;
            room = info.rcItem.right - info.rcItem.left;
            if (info.hwndItem && info.hwndItem != control) {
                const LRESULT margins = SendMessageW(info.hwndItem, EM_GETMARGINS, 0, 0);
                room -= LOWORD(margins) + HIWORD(margins);
            }
            const auto count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                std::wstring item(
                    static_cast<std::size_t>(SendMessageW(control, CB_GETLBTEXTLEN, i, 0)) + 1,
                    L'\0');
                item.resize(static_cast<std::size_t>(
                    SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
                texts.push_back(item);
            }
        } else {
            std::wstring caption;
            for (wchar_t c : WindowText(control)) {
                if (c != L'&') caption += c;
            }
            texts.push_back(caption);
            if (lstrcmpiW(kind, L"Button") == 0) {
                const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
                if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) {
                    // The box grows with the DPI; the gap after it is half a digit.
                    room -= MulDiv(12, dpi, 96) + 1 + TextWidth(dc, L"0") / 2;
                } else {
                    room -= 4 * SystemMetricForDpi(SM_CXEDGE, dpi);
                }
            }
        }
        for (const std::wstring& text : texts) {
            if (TextWidth(dc, text) > room) return false;
        }
    }
    return true;
}

}  // namespace

HFONT MakeFont(const wchar_t* face, int hundredthsOfPoint, bool bold, BYTE charset, int dpi) {
    return FontOfHeight(face, MulDiv(hundredthsOfPoint, dpi, 7200), bold, charset);
}

HFONT SmallerFontToFit(const std::vector<HWND>& controls, const wchar_t* face,
                       int hundredthsOfPoint, bool bold, BYTE charset, int dpi) {
    if (controls.empty()) return nullptr;
    HDC dc = GetDC(nullptr);
    HFONT current = reinterpret_cast<HFONT>(SendMessageW(controls[0], WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, current ? current : GetStockObject(SYSTEM_FONT));
    HFONT found = nullptr;
    if (current && !TextsFit(dc, controls, dpi)) {
        const int asked = MulDiv(hundredthsOfPoint, dpi, 7200);
        for (int pixels = asked - 1; pixels >= asked * 3 / 4 && !found; --pixels) {
            HFONT font = FontOfHeight(face, pixels, bold, charset);
            if (!font) continue;
            SelectObject(dc, font);
            if (TextsFit(dc, controls, dpi)) found = font;
            SelectObject(dc, current);
            if (!found) DeleteObject(font);
        }
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return found;
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

namespace {

// One run of a wrapped text, placed: a word, or blanks within a line.
struct PlacedRun {
    std::size_t start, length;
    int x, y, width;
    bool blank;
};

// The one wrapping rule of DrawWrapped and WrappedFits. Lines are the DC's
// font's height apart; the last line's bottom is in `bottom`.
std::vector<PlacedRun> Wrap(HDC dc, const std::wstring& text, int width, int* bottom) {
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    std::vector<PlacedRun> runs;
    int x = 0, y = 0;
    for (std::size_t start = 0; start < text.size();) {
        const bool blank = text[start] == L' ';
        std::size_t end = start;
        while (end < text.size() && (text[end] == L' ') == blank) ++end;
        SIZE extent;
        GetTextExtentPoint32W(dc, text.data() + start, static_cast<int>(end - start), &extent);
        if (x > 0 && x + extent.cx > width) {
            x = 0;
            y += metrics.tmHeight;
            if (blank) {
                start = end;
                continue;
            }
        }
        runs.push_back({start, end - start, x, y, static_cast<int>(extent.cx), blank});
        x += extent.cx;
        start = end;
    }
    *bottom = y + metrics.tmHeight;
    return runs;
}

}  // namespace

void DrawWrapped(HDC dc, const std::wstring& text, const RECT& box) {
    int bottom = 0;
    for (const PlacedRun& run : Wrap(dc, text, box.right - box.left, &bottom)) {
        if (run.blank) continue;
        ExtTextOutW(dc, box.left + run.x, box.top + run.y, ETO_CLIPPED, &box,
                    text.data() + run.start, static_cast<UINT>(run.length), nullptr);
    }
}

bool WrappedFits(HDC dc, const std::wstring& text, const RECT& box) {
    const int width = box.right - box.left;
    int bottom = 0;
    for (const PlacedRun& run : Wrap(dc, text, width, &bottom)) {
        if (!run.blank && run.width > width) return false;  // a word wider than the box is cut
    }
    return bottom <= box.bottom - box.top;
}

void SizeFrameToClient(HWND window, int width, int height, int dpi, const RECT* suggested) {
    RECT frame = {0, 0, width, height};
    AdjustWindowRectForDpi(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)),
                           GetMenu(window) != nullptr,
                           static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)), dpi);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE);
    SetWindowPos(window, nullptr, suggested ? suggested->left : 0, suggested ? suggested->top : 0,
                 frame.right - frame.left, frame.bottom - frame.top, flags);
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT client, outer;
        GetClientRect(window, &client);
        const int dw = width - client.right, dh = height - client.bottom;
        if (!dw && !dh) break;
        GetWindowRect(window, &outer);
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dw,
                     outer.bottom - outer.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace zolv
