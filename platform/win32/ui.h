// Small pieces both windows use.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zolv {

// A font of a size in hundredths of a point, at the window's DPI.
HFONT MakeFont(const wchar_t* face, int hundredthsOfPoint, bool bold, BYTE charset, int dpi);

std::wstring WindowText(HWND hwnd);

// For controls that share a font as MakeFont made it: a smaller one where
// their texts would not fit them on one line (a check box's caption beside its
// box, a push button's within its edges, a label's within it, a combo box's
// items in its selection field), the largest that fits, down to three quarters
// of the size asked for. Null where the font they have fits, or nothing does.
HFONT SmallerFontToFit(const std::vector<HWND>& controls, const wchar_t* face,
                       int hundredthsOfPoint, bool bold, BYTE charset, int dpi);

// Draws text wrapped at word boundaries within the rectangle, in the DC's font
// and colours. A run of blanks that does not fit on its line ends the line and
// is dropped, so a long run pushes what follows onto a line of its own.
void DrawWrapped(HDC dc, const std::wstring& text, const RECT& box);

// Layout is kept in twips; 1440 to the inch, so 15 a pixel at 96 DPI.
inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// The DPI the windows are laid out for: the system's, as the program is
// system DPI aware.
int SystemDpi();

}  // namespace zolv
