// The colours a text is drawn in, readable in any colour scheme; portable, so
// that the choice is tested without a window.
#pragma once

#include <cstdint>

namespace zolv {

using Colour = std::uint32_t;  // as Windows keeps it (COLORREF): 0x00BBGGRR

struct TextColours {
    Colour ink;    // the text
    Colour paper;  // what it is drawn on
};

// By relative luminance as the web's accessibility guidelines measure it: 1 to 21.
double ContrastRatio(Colour a, Colour b);
constexpr double kReadableContrast = 4.5;  // the guidelines' AA level

// The design's colours, or the system's where high contrast is on or the
// design's ink would not stand out from its paper (as on a dark scheme's face).
TextColours ChooseTextColours(TextColours design, TextColours system, bool highContrast);

}  // namespace zolv
