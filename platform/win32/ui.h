// Small pieces both windows use.
#pragma once

#include <windows.h>

#include <string>

namespace zolv {

// A font of a size in hundredths of a point, at the window's DPI.
HFONT MakeFont(const wchar_t* face, int hundredthsOfPoint, bool bold, BYTE charset, int dpi);

std::wstring WindowText(HWND hwnd);

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
