// Small pieces both windows use.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/text_colours.h"

namespace zolv {

// A top-level window whose state belongs to an object, bound to its HWND on
// WM_NCCREATE; it gets every message up to WM_NCDESTROY, then hwnd() is null.
class BoundWindow {
public:
    HWND hwnd() const { return hwnd_; }

protected:
    BoundWindow() = default;
    ~BoundWindow() = default;
    BoundWindow(const BoundWindow&) = delete;
    BoundWindow& operator=(const BoundWindow&) = delete;

    // The class of such windows, with the dialog face colour and the icon;
    // true when it is there, registered now or before.
    static bool RegisterClassOnce(HINSTANCE instance, const wchar_t* className, HICON icon);
    // The window bound to this object; null when Windows refuses.
    HWND Create(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style,
                int width, int height, HMENU menu, HINSTANCE instance, HWND owner = nullptr,
                POINT at = {CW_USEDEFAULT, CW_USEDEFAULT});
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

// A font as the design names it, in hundredths of a point. Above 120 DPI,
// where the face cannot be had at the size (a bitmap face comes in a few),
// an outline face of the same design stands in for it. `smallerOutline` is
// tried after the face at each size smaller than asked, for a bitmap face
// that has no smaller size.
struct FontRole {
    const wchar_t* face;
    int hundredthsOfPoint;
    bool bold;
    BYTE charset;
    const wchar_t* smallerOutline = nullptr;
};

HFONT MakeFont(const FontRole& role, int dpi);
// The role's font at a DPI; where the texts do not `fit` in it, the largest
// smaller one in which they do, down to three quarters of its size; where
// none does, the role's own.
HFONT FittedFont(const FontRole& role, int dpi, const std::function<bool(HFONT)>& fits);
// Whether the texts show whole on one line of the control in a font: beside
// a check box's box, within a push button's edges, in a combo box's field.
bool FitsOnOneLine(HWND control, const std::vector<std::wstring>& texts, HFONT font, int dpi);

std::wstring WindowText(HWND hwnd);

// Draws text wrapped at word boundaries within the rectangle. A run of blanks
// that does not fit on its line ends it and is dropped.
void DrawWrapped(HDC dc, const std::wstring& text, const RECT& box);

// Whether DrawWrapped shows all of a text in the DC's font within the
// rectangle: no word wider than it, no line below it.
bool WrappedFits(HDC dc, const std::wstring& text, const RECT& box);
// How many times the rectangle's width its widest word needs, or its height
// the lines, whichever is more: at most 1 exactly where WrappedFits.
double WrappedNeed(HDC dc, const std::wstring& text, const RECT& box);

// Layout is kept in twips; 1440 to the inch, so 15 a pixel at 96 DPI.
inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// The outer size of a window whose client area is this many pixels at a DPI.
SIZE FrameAround(HWND window, SIZE client, int dpi);

// Sizes a window's frame so that its client area is exactly this many pixels,
// at a suggested rectangle's top left where one is given. FrameAround's
// frame, then corrected by what it leaves: a menu bar may wrap, and a window
// told of another DPI from inside keeps its monitor's frame.
void SizeFrameToClient(HWND window, SIZE client, int dpi, const RECT* suggested);

// The design's colours for a text, or the system's where they would not be
// read or high contrast is on (ChooseTextColours).
TextColours ReadableColours(TextColours design);

// Draws a window and its controls again, as after a change of colour scheme.
void Repaint(HWND window);

// The top left at which a window of this size opens beside another, in that
// one's work area: on its right, else its left, else centred over it; kept
// within the area. Both by their visible frames (VisibleFrame): `borders` are
// the placed window's invisible ones.
POINT BesideOrOver(HWND window, SIZE size, const RECT& borders = {});
// A window's invisible borders, as BesideOrOver takes them.
RECT InvisibleBorders(HWND window);

// The wait cursor while a handler keeps the window busy (a network drive whose
// server is away may take half a minute). Then the cursor before it, or the
// arrow where there was none: none would hide the pointer until it moved.
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
