#include "platform/text_colours.h"

#include <algorithm>
#include <cmath>

namespace zolv {

namespace {

// A channel of sRGB, 0 to 255, as linear light.
double Linear(unsigned channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(Colour colour) {
    return 0.2126 * Linear(colour & 0xFF) + 0.7152 * Linear(colour >> 8 & 0xFF) +
           0.0722 * Linear(colour >> 16 & 0xFF);
}

}  // namespace

double ContrastRatio(Colour a, Colour b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TextColours ChooseTextColours(TextColours design, TextColours system, bool highContrast) {
    if (highContrast || ContrastRatio(design.ink, design.paper) < kReadableContrast) return system;
    return design;
}

}  // namespace zolv
