// Small pieces both windows use.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/text_colours.h"

namespace zolv {

// A top-level window whose state belongs to an object: the object is bound to
// its HWND once, on WM_NCCREATE, and gets every message from then on through
// HandleMessage, up to and including WM_NCDESTROY, the window's last. After
// that the binding is gone, so nothing reaches the object once its window is,
// and hwnd() is null again.
class BoundWindow {
public:
    HWND hwnd() const { return hwnd_; }

protected:
    BoundWindow() = default;
    ~BoundWindow() = default;
    BoundWindow(const BoundWindow&) = delete;
    BoundWindow& operator=(const BoundWindow&) = delete;

    // Registers the class of such windows, once: the bound window procedure,
    // the arrow cursor, the dialog face colour and the given icon. True when
    // the class is there, registered now or before.
    static bool RegisterClassOnce(HINSTANCE instance, const wchar_t* className, HICON icon);
    // Creates the window bound to this object, owned by `owner` where one is
    // given, with its top left at `at` or at the default place; null when
    // Windows refuses.
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

// Draws text wrapped at word boundaries within the rectangle, in the DC's font
// and colours. A run of blanks that does not fit on its line ends the line and
// is dropped, so a long run pushes what follows onto a line of its own.
void DrawWrapped(HDC dc, const std::wstring& text, const RECT& box);

// Whether DrawWrapped shows all of a text in the DC's font within the
// rectangle: no word wider than it, no line below it.
bool WrappedFits(HDC dc, const std::wstring& text, const RECT& box);
// How many times the rectangle's width its widest word needs, or its height
// the lines, whichever is more: at most 1 exactly where WrappedFits.
double WrappedNeed(HDC dc, const std::wstring& text, const RECT& box);

// Layout is kept in twips; 1440 to the inch, so 15 a pixel at 96 DPI.
inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// The outer size of a window whose client area is this many pixels at a DPI:
// with the frame, caption and one line of menu bar that Windows gives its
// style there.
SIZE FrameAround(HWND window, SIZE client, int dpi);

// Sizes a window's frame so that its client area is exactly this many pixels
// at its DPI, moved to the top left of a suggested rectangle where one is
// given. The frame is FrameAround's, then measured by what it leaves: a menu
// bar that wraps differs from it, and so does the frame of a window told of
// another DPI from inside, as the window tests tell it under Wine, which the
// system still draws at the DPI of the monitor it is on.
void SizeFrameToClient(HWND window, SIZE client, int dpi, const RECT* suggested);

// The colours for a text drawn in the design's on the dialog face: those, or
// the system's text on the face where they would not be read or the user has
// high contrast on (ChooseTextColours).
TextColours ReadableColours(TextColours design);

// Draws a window and its controls again, as after a change of colour scheme.
void Repaint(HWND window);

// The top left at which a window of this size opens beside another window,
// within the work area of that window's monitor: on its right where the area
// has room, else on its left, its top level with the other's; where neither
// side has room, centred over it. Either way moved where needed within the
// area, its top left kept on it where it is larger. Both are placed by their
// frames as the eye sees them (VisibleFrame): `borders` are the placed
// window's invisible ones, by how far its visible frame lies within its
// window rectangle on each side.
POINT BesideOrOver(HWND window, SIZE size, const RECT& borders = {});
// A window's invisible borders, as BesideOrOver takes them.
RECT InvisibleBorders(HWND window);

// The wait cursor for as long as a handler keeps the window busy: reading a
// drive or a directory (a network drive whose server is away may take half
// a minute to fail), or a save waiting for another program to let go of the
// script. The cursor before it comes back afterwards, or the arrow where the
// thread had set none (to put none back would hide the pointer until it moved).
class WaitCursor {
public:
    WaitCursor() : before_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(before_ ? before_ : LoadCursorW(nullptr, IDC_ARROW)); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR before_;
};

// The system's DPI: what a window is made at, before it learns its monitor's
// (DpiOfWindow in newer_windows.h).
int SystemDpi();

}  // namespace zolv
