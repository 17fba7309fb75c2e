#include "platform/win32/ui.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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
                         DWORD style, int width, int height, HMENU menu, HINSTANCE instance,
                         HWND owner, POINT at) {
    // The creation parameter is this base, whatever else the object derives from.
    return CreateWindowExW(exStyle, className, caption, style, at.x, at.y, width, height, owner,
                           menu, instance, static_cast<BoundWindow*>(this));
}

namespace {

// At and below this DPI the windows are drawn in the faces and sizes they
// always had. Above it a face that cannot be had at the size asked gives way
// to an outline face of the same design.
constexpr int kMostDpiInNamedFaces = 120;

// The outline faces that stand in for a bitmap face, in order of preference;
// XP to 11 have them all. Wine lacks Microsoft Sans Serif but has Tahoma, a
// later form of it. Arial Bold is within a few per cent of bold System's
// widths (Wine's Tahoma Bold is spaced apart). Terminal's keep its fixed pitch.
struct StandIns {
    const wchar_t* face;
    const wchar_t* outlines[2];  // a null one ends the list
};
constexpr StandIns kStandIns[] = {
    {L"MS Sans Serif", {L"Microsoft Sans Serif", L"Tahoma"}},
    {L"System", {L"Arial", nullptr}},
    {L"Terminal", {L"Lucida Console", L"Courier New"}},
};

// A face as the font mapper is asked for it.
struct Face {
    const wchar_t* name;
    BYTE charset;
    BYTE precision;
    bool standIn;
};

HFONT FontOfHeight(const Face& face, int pixels, bool bold) {
    return CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       face.charset, face.precision, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face.name);
}

bool IsOutline(const TEXTMETRICW& metrics) {
    return (metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) != 0;
}

int CALLBACK NoteOwnSize(const LOGFONTW*, const TEXTMETRICW* metrics, DWORD type, LPARAM lp) {
    auto* height = reinterpret_cast<LONG*>(lp);
    if ((type & RASTER_FONTTYPE) && metrics->tmHeight == *height) *height = 0;
    return *height != 0;
}

// Whether the font in the DC shows its face at a character height: an
// outline face at any, a bitmap face only at the sizes it has. The mapper
// gives a bitmap face at its nearest size, or scaled by a whole factor, which
// is blocky on Windows and letter-spaced under Wine.
bool ShowsAt(HDC dc, int pixels) {
    TEXTMETRICW metrics;
    if (!GetTextMetricsW(dc, &metrics)) return false;
    const int height = metrics.tmHeight - metrics.tmInternalLeading;
    if (std::abs(height - pixels) * 16 > pixels) return false;
    if (IsOutline(metrics)) return true;
    LOGFONTW own = {};
    own.lfCharSet = metrics.tmCharSet;
    GetTextFaceW(dc, LF_FACESIZE, own.lfFaceName);
    LONG unseen = metrics.tmHeight;
    EnumFontFamiliesExW(dc, &own, NoteOwnSize, reinterpret_cast<LPARAM>(&unseen), 0);
    return unseen == 0;
}

// Whether the font in the DC is an outline font of that face, not one the
// mapper chose in its place.
bool IsOutlineFace(HDC dc, const wchar_t* name) {
    TEXTMETRICW metrics;
    wchar_t got[LF_FACESIZE] = {};
    return GetTextMetricsW(dc, &metrics) && IsOutline(metrics) &&
           GetTextFaceW(dc, LF_FACESIZE, got) && lstrcmpiW(got, name) == 0;
}

// Whether a test holds for a font of a face at a height, in a screen DC.
template <typename Test>
bool Holds(const Face& face, int pixels, bool bold, Test test) {
    HFONT font = FontOfHeight(face, pixels, bold);
    if (!font) return false;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    const bool holds = test(dc);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return holds;
}

// The face a font of a height is made in: the named one, or above 120 DPI,
// where that cannot be had at the height, the first of its stand-ins that
// this system has, else what the mapper gives in outline for the first name.
Face FaceFor(const FontRole& role, int pixels, int dpi) {
    const Face named = {role.face, role.charset, OUT_DEFAULT_PRECIS, false};
    if (dpi <= kMostDpiInNamedFaces) return named;
    const StandIns* standIns = nullptr;
    for (const StandIns& entry : kStandIns) {
        if (lstrcmpiW(entry.face, role.face) == 0) standIns = &entry;
    }
    if (!standIns || Holds(named, pixels, role.bold, [&](HDC dc) { return ShowsAt(dc, pixels); }))
        return named;
    for (const wchar_t* outline : standIns->outlines) {
        if (!outline) break;
        const Face standIn = {outline, DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS, true};
        if (Holds(standIn, pixels, role.bold, [&](HDC dc) { return IsOutlineFace(dc, outline); }))
            return standIn;
    }
    return {standIns->outlines[0], DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS, true};
}

// How many times its room a width needs: at most 1 exactly where it fits.
double Need(int width, int room) {
    if (room <= 0) return width <= room ? 0.0 : HUGE_VAL;
    return static_cast<double>(width) / room;
}

int TextWidth(HDC dc, const std::wstring& text) {
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

}  // namespace

bool FitsOnOneLine(HWND control, const std::vector<std::wstring>& texts, HFONT font, int dpi) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT client;
    GetClientRect(control, &client);
    wchar_t kind[16] = {};
    GetClassNameW(control, kind, 16);
    int room = client.right;
    bool prefixed = false;  // '&' marks an access key and is not shown
    if (lstrcmpiW(kind, L"ComboBox") == 0) {
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        if (GetComboBoxInfo(control, &info)) room = info.rcItem.right - info.rcItem.left;
        if (info.hwndItem && info.hwndItem != control) {
            // The edit field's margins follow its font.
            SendMessageW(info.hwndItem, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            const LRESULT margins = SendMessageW(info.hwndItem, EM_GETMARGINS, 0, 0);
            room -= LOWORD(margins) + HIWORD(margins);
        }
    } else if (lstrcmpiW(kind, L"Button") == 0) {
        prefixed = true;
        const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
        if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) {
            // The box grows with the DPI; the gap after it is half a digit.
            room -= MulDiv(12, dpi, 96) + 1 + TextWidth(dc, L"0") / 2;
        } else {
            room -= 4 * SystemMetricForDpi(SM_CXEDGE, dpi);
        }
    }
    bool fits = true;
    for (std::wstring text : texts) {
        if (prefixed) text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
        fits = fits && TextWidth(dc, text) <= room;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return fits;
}

HFONT MakeFont(const FontRole& role, int dpi) {
    const int pixels = MulDiv(role.hundredthsOfPoint, dpi, 7200);
    return FontOfHeight(FaceFor(role, pixels, dpi), pixels, role.bold);
}

HFONT FittedFont(const FontRole& role, int dpi, const std::function<bool(HFONT)>& fits) {
    const int asked = MulDiv(role.hundredthsOfPoint, dpi, 7200);
    const Face atAsked = FaceFor(role, asked, dpi);
    HFONT font = FontOfHeight(atAsked, asked, role.bold);
    if (!font || fits(font)) return font;
    for (int pixels = asked - 1; pixels >= asked * 3 / 4; --pixels) {
        // A stand-in, once needed, stays: the texts shrink in one face.
        const Face face = atAsked.standIn ? atAsked : FaceFor(role, pixels, dpi);
        const Face faces[] = {face, {role.smallerOutline, DEFAULT_CHARSET, OUT_TT_PRECIS, true}};
        for (int i = 0; i < (role.smallerOutline && !face.standIn ? 2 : 1); ++i) {
            HFONT smaller = FontOfHeight(faces[i], pixels, role.bold);
            if (smaller && fits(smaller)) {
                DeleteObject(font);
                return smaller;
            }
            if (smaller) DeleteObject(smaller);
        }
    }
    return font;
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
    std::vector<int> ends, advances;
    for (const PlacedRun& run : Wrap(dc, text, box.right - box.left, &bottom)) {
        if (run.blank) continue;
        // Each letter at the place measured for it: a font may draw wider than
        // it measures (Wine's Tahoma at small sizes), which would run a word
        // into the next and past where WrappedFits found room for it.
        const int length = static_cast<int>(run.length);
        ends.assign(run.length, 0);
        advances.assign(run.length, 0);
        SIZE extent;
        GetTextExtentExPointW(dc, text.data() + run.start, length, 0, nullptr, ends.data(),
                              &extent);
        for (int i = 0; i < length; ++i) advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
        ExtTextOutW(dc, box.left + run.x, box.top + run.y, ETO_CLIPPED, &box,
                    text.data() + run.start, static_cast<UINT>(run.length), advances.data());
    }
}

double WrappedNeed(HDC dc, const std::wstring& text, const RECT& box) {
    const int width = box.right - box.left;
    int bottom = 0;
    double need = 0.0;
    for (const PlacedRun& run : Wrap(dc, text, width, &bottom)) {
        if (!run.blank) need = std::max(need, Need(run.width, width));  // a wider word is cut
    }
    return std::max(need, Need(bottom, box.bottom - box.top));
}

bool WrappedFits(HDC dc, const std::wstring& text, const RECT& box) {
    return WrappedNeed(dc, text, box) <= 1.0;
}

SIZE FrameAround(HWND window, SIZE client, int dpi) {
    RECT frame = {0, 0, client.cx, client.cy};
    AdjustWindowRectForDpi(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)),
                           GetMenu(window) != nullptr,
                           static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)), dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

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

POINT BesideOrOver(HWND window, SIZE size, const RECT& borders) {
    const RECT over = VisibleFrame(window);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const SIZE seen = {size.cx - borders.left - borders.right,
                       size.cy - borders.top - borders.bottom};
    // Windows keeps an owned window in front of its owner: over it, it would
    // hide the owner's controls until the user moved it away.
    POINT at = {over.left + (over.right - over.left - seen.cx) / 2,
                over.top + (over.bottom - over.top - seen.cy) / 2};
    if (area.right - over.right >= seen.cx) {
        at = {over.right, over.top};
    } else if (over.left - area.left >= seen.cx) {
        at = {over.left - seen.cx, over.top};
    }
    // The right and bottom edges first, so that a window larger than the
    // area keeps its caption on it.
    at.x = std::max<LONG>(area.left, std::min<LONG>(at.x, area.right - seen.cx));
    at.y = std::max<LONG>(area.top, std::min<LONG>(at.y, area.bottom - seen.cy));
    return {at.x - borders.left, at.y - borders.top};
}

RECT InvisibleBorders(HWND window) {
    RECT outer;
    GetWindowRect(window, &outer);
    const RECT seen = VisibleFrame(window);
    return {seen.left - outer.left, seen.top - outer.top, outer.right - seen.right,
            outer.bottom - seen.bottom};
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

TextColours ReadableColours(TextColours design) {
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof(contrast);
    const bool high = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
                      (contrast.dwFlags & HCF_HIGHCONTRASTON);
    return ChooseTextColours(design, {GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNFACE)},
                             high);
}

void Repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace zolv
