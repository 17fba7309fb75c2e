// The colours a text is drawn in, chosen so that it can be read in any colour
// scheme: portable, so that the choice is tested without a window.
#pragma once

#include <cstdint>

namespace zolv {

// A colour as Windows keeps it (COLORREF): 0x00BBGGRR.
using Colour = std::uint32_t;

struct TextColours {
    Colour ink;    // the text
    Colour paper;  // what it is drawn on
};

// How far two colours stand apart, by their relative luminance as the web's
// accessibility guidelines measure it: from 1 (the same) to 21 (black on white).
double ContrastRatio(Colour a, Colour b);

// The least ratio at which a text counts as readable (the guidelines' AA level).
constexpr double kReadableContrast = 4.5;

// The design's colours where they can be read; the system's under high contrast, which every
// text must then follow, or where the ink would not stand out (black on a dark scheme's face).
TextColours ChooseTextColours(TextColours design, TextColours system, bool highContrast);

}  // namespace zolv
