#include "platform/win32/ui.h"

#include <algorithm>
#include <cstdlib>

#include "platform/win32/newer_windows.h"

namespace zolv {

namespace {

// Above this DPI a face that cannot be had at the size gives way to an outline one.
constexpr int kMostDpiInNamedFaces = 120;

// A bitmap face and its outline stand-ins, which XP to 11 all have. Wine lacks Microsoft Sans
// Serif but has Tahoma; Arial Bold is within a few per cent of bold System's widths (Wine's
// Tahoma Bold is spaced apart).
constexpr const wchar_t* kStandIns[][3] = {
    {L"MS Sans Serif", L"Microsoft Sans Serif", L"Tahoma"},
    {L"System", L"Arial", nullptr},
    {L"Terminal", L"Lucida Console", L"Courier New"},
};

struct Face {
    const wchar_t* name;
    BYTE charset, precision;
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

// Whether the font in the DC shows at a character height: a bitmap face only at
// its own sizes; scaled, it is blocky on Windows and letter-spaced under Wine.
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

bool IsOutlineFace(HDC dc, const wchar_t* name) {
    TEXTMETRICW metrics;
    wchar_t got[LF_FACESIZE] = {};
    return GetTextMetricsW(dc, &metrics) && IsOutline(metrics) &&
           GetTextFaceW(dc, LF_FACESIZE, got) && lstrcmpiW(got, name) == 0;
}

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

// The named face, or above 120 DPI where it cannot be had at the height, the
// first stand-in this system has, else what the mapper gives for the first.
Face FaceFor(const FontRole& role, int pixels, int dpi) {
    const Face named = {role.face, role.charset, OUT_DEFAULT_PRECIS, false};
    if (dpi <= kMostDpiInNamedFaces) return named;
    const wchar_t* const* standIns = nullptr;
    for (const auto& entry : kStandIns)
        if (lstrcmpiW(entry[0], role.face) == 0) standIns = entry;
    if (!standIns || Holds(named, pixels, role.bold, [&](HDC dc) { return ShowsAt(dc, pixels); }))
        return named;
    for (int i = 1; i < 3 && standIns[i]; ++i) {
        const Face standIn = {standIns[i], DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS, true};
        if (Holds(standIn, pixels, role.bold,
                  [&](HDC dc) { return IsOutlineFace(dc, standIns[i]); }))
            return standIn;
    }
    return {standIns[1], DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS, true};
}

int TextWidth(HDC dc, const std::wstring& text) {
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

struct PlacedWord {
    std::size_t start, length;
    int x, y, width;
};

// The words of a text placed by the one wrapping rule; the last line's bottom is in `bottom`.
std::vector<PlacedWord> Wrap(HDC dc, const std::wstring& text, int width, int* bottom) {
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    std::vector<PlacedWord> words;
    int x = 0, y = 0;
    for (std::size_t start = 0, end = 0; start < text.size(); start = end) {
        const bool blank = text[start] == L' ';
        for (end = start; end < text.size() && (text[end] == L' ') == blank;) ++end;
        const int extent = TextWidth(dc, text.substr(start, end - start));
        if (x > 0 && x + extent > width) {
            x = 0;
            y += metrics.tmHeight;
            if (blank) continue;
        }
        if (!blank) words.push_back({start, end - start, x, y, extent});
        x += extent;
    }
    *bottom = y + metrics.tmHeight;
    return words;
}

bool ShowsWrapped(HDC dc, const std::wstring& text, const RECT& box) {
    int bottom = 0;
    for (const PlacedWord& word : Wrap(dc, text, box.right - box.left, &bottom))
        if (word.width > box.right - box.left) return false;
    return bottom <= box.bottom - box.top;
}

}  // namespace

bool TextsShow(HWND control, const std::vector<std::wstring>& texts, HFONT font, int dpi) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT client;
    GetClientRect(control, &client);
    wchar_t kind[16] = {};
    GetClassNameW(control, kind, 16);
    const bool wrapped = lstrcmpiW(kind, L"Static") == 0 &&
                         (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_OWNERDRAW;
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
        fits = fits && (wrapped ? ShowsWrapped(dc, text, client) : TextWidth(dc, text) <= room);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return fits;
}

void DrawWrapped(HDC dc, const std::wstring& text, const RECT& box) {
    int bottom = 0;
    std::vector<int> advances;
    for (const PlacedWord& word : Wrap(dc, text, box.right - box.left, &bottom)) {
        // Each letter where it was measured: a font may draw wider than it
        // measures (Wine's Tahoma at small sizes), past the room found for it.
        const int length = static_cast<int>(word.length);
        advances.assign(word.length, 0);
        SIZE extent;
        GetTextExtentExPointW(dc, text.data() + word.start, length, 0, nullptr, advances.data(),
                              &extent);
        for (int i = length - 1; i > 0; --i) advances[i] -= advances[i - 1];  // ends to widths
        ExtTextOutW(dc, box.left + word.x, box.top + word.y, ETO_CLIPPED, &box,
                    text.data() + word.start, static_cast<UINT>(word.length), advances.data());
    }
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

POINT BesideOrOver(HWND window, SIZE size, HWND placed) {
    RECT outer = {}, borders = {};
    if (placed) {
        GetWindowRect(placed, &outer);
        const RECT seen = VisibleFrame(placed);
        borders = {seen.left - outer.left, seen.top - outer.top, outer.right - seen.right,
                   outer.bottom - seen.bottom};
    }
    const RECT over = VisibleFrame(window);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const SIZE seen = {size.cx - borders.left - borders.right,
                       size.cy - borders.top - borders.bottom};
    // Over its owner, an owned window kept in front would hide the owner's controls.
    POINT at = {over.left + (over.right - over.left - seen.cx) / 2,
                over.top + (over.bottom - over.top - seen.cy) / 2};
    if (area.right - over.right >= seen.cx) {
        at = {over.right, over.top};
    } else if (over.left - area.left >= seen.cx) {
        at = {over.left - seen.cx, over.top};
    }
    // The right and bottom edges first: a window larger than the area keeps its caption on it.
    at.x = std::max<LONG>(area.left, std::min<LONG>(at.x, area.right - seen.cx));
    at.y = std::max<LONG>(area.top, std::min<LONG>(at.y, area.bottom - seen.cy));
    return {at.x - borders.left, at.y - borders.top};
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

}  // namespace zolv
