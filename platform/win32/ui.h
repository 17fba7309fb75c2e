// Small pieces both windows use.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/text_colours.h"

namespace zolv {

// A font as the design names it; above 120 DPI an outline face stands in for a
// bitmap face that lacks the size, and `smallerOutline` below the asked size.
struct FontRole {
    const wchar_t* face;
    int hundredthsOfPoint;
    bool bold;
    BYTE charset;
    const wchar_t* smallerOutline = nullptr;
};

// The role's font at a DPI, or where the texts do not `fit`, the largest down to 3/4 that does.
HFONT FittedFont(const FontRole& role, int dpi, const std::function<bool(HFONT)>& fits);
// Whether the texts show whole: wrapped in an owner-drawn label, else on one
// line beside a check box's box, within a button's edges, in a combo's field.
bool TextsShow(HWND control, const std::vector<std::wstring>& texts, HFONT font, int dpi);

std::wstring WindowText(HWND hwnd);

// Draws text wrapped at words; a run of blanks that overflows its line ends it and is dropped.
void DrawWrapped(HDC dc, const std::wstring& text, const RECT& box);

// Layout is kept in twips: 1440 to the inch.
inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// The design's colours, or the system's where they would not be read or high contrast is on.
TextColours ReadableColours(TextColours design);

// Where a window of this size opens beside another, in its work area: on its right, else its
// left, else centred over it, by the visible frames of both where the `placed` window is there.
POINT BesideOrOver(HWND window, SIZE size, HWND placed = nullptr);

// The wait cursor while a handler is busy (a network drive whose server is away may take half
// a minute); then the one before, or the arrow where there was none (else the pointer hides).
class WaitCursor {
public:
    WaitCursor() : before_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(before_ ? before_ : LoadCursorW(nullptr, IDC_ARROW)); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR before_;
};

// The system's DPI, at which a window is made before it learns its monitor's.
int SystemDpi();

}  // namespace zolv
