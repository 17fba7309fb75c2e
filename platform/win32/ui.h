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

// A font of a size in hundredths of a point, at a DPI. At and below 120 DPI
// in the face named; above, where that face cannot be had at the size (a
// bitmap face comes in a few sizes), in an outline face of the same design
// that stands in for it (MS Sans Serif, System and Terminal have one).
HFONT MakeFont(const wchar_t* face, int hundredthsOfPoint, bool bold, BYTE charset, int dpi);

std::wstring WindowText(HWND hwnd);

// A control and the texts it is to show whole on one line.
struct TextsToFit {
    HWND control;
    std::vector<std::wstring> texts;
};

// For controls that share a font as MakeFont made it: a smaller one where
// their texts would not fit them on one line (a check box's caption beside its
// box, a push button's within its edges, a label's within it, a combo box's
// items in its selection field), the largest that fits, down to three quarters
// of the size asked for. Null where the font they have fits, or nothing does.
// Controls that are to be given their font only once it is known are measured
// as if in `in`, MakeFont's font for them.
HFONT SmallerFontToFit(const std::vector<TextsToFit>& targets, const wchar_t* face,
                       int hundredthsOfPoint, bool bold, BYTE charset, int dpi, HFONT in = nullptr);
// The same for the captions the controls show now.
HFONT SmallerFontToFit(const std::vector<HWND>& controls, const wchar_t* face,
                       int hundredthsOfPoint, bool bold, BYTE charset, int dpi);

// The same search for any measure of fit: the largest font below the size
// asked, down to three quarters of it, in which the texts `need` at most
// their room (a need of 1.2: a fifth more than it). `neededAsked` is their
// need at the size asked, above 1, from which the size that should fit is
// worked out and tried first; the sizes next to it show whether a larger
// one fits, or whether to go on down. Where the face may differ from one
// size to another, every size is tried from the top down. Either way the
// font is the one a step down one size at a time would find. Its face is
// chosen as MakeFont chooses it, except that where the size asked needed a
// stand-in, every smaller one is in that stand-in too. Where the chosen face
// is the named one, `outlineFace` (if any) is tried after it at each height,
// for a bitmap face that has no smaller size. Null where nothing fits.
HFONT SmallerFontWhere(const std::function<double(HFONT)>& need, double neededAsked,
                       const wchar_t* face, int hundredthsOfPoint, bool bold, BYTE charset, int dpi,
                       const wchar_t* outlineFace = nullptr);

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
