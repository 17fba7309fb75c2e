#include "platform/text_colours.h"

#include <gtest/gtest.h>

namespace zolv::testing {
namespace {

constexpr Colour MakeColour(int red, int green, int blue) {
    return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 |
           static_cast<Colour>(blue) << 16;
}

constexpr Colour kBlack = MakeColour(0, 0, 0), kWhite = MakeColour(255, 255, 255);
constexpr Colour kYellow = MakeColour(255, 255, 0), kFace = MakeColour(212, 208, 200);

TEST(ContrastRatio, MeasuresByLuminanceEitherWayRound) {
    EXPECT_NEAR(ContrastRatio(kBlack, kWhite), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(kWhite, kBlack), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(kFace, kFace), 1.0, 1e-9);
    // Green weighs most and blue least: pure blue on black is hard to read.
    EXPECT_GT(ContrastRatio(MakeColour(0, 255, 0), kBlack), 15.0);
    EXPECT_LT(ContrastRatio(MakeColour(0, 0, 255), kBlack), 2.5);
    // The grey that is just readable on white, and the one just lighter that is not.
    EXPECT_GE(ContrastRatio(MakeColour(0x76, 0x76, 0x76), kWhite), kReadableContrast);
    EXPECT_LT(ContrastRatio(MakeColour(0x77, 0x77, 0x77), kWhite), kReadableContrast);
}

TEST(ChooseTextColours, KeepsTheDesignWhereItReadsAndTheSystemsWhereItDoesNotOrHighContrastIsOn) {
    const TextColours blackOnFace = {kBlack, kFace}, yellowOnBlack = {kYellow, kBlack};
    const TextColours classic = {kBlack, kFace}, highContrastBlack = {kWhite, kBlack};
    const TextColours darkScheme = {kWhite, MakeColour(32, 32, 32)};
    const TextColours blackOnDark = {kBlack, darkScheme.paper};
    const struct {
        TextColours design, system;
        bool highContrast;
        TextColours chosen;
    } cases[] = {
        {blackOnFace, classic, false, blackOnFace},
        {yellowOnBlack, classic, false, yellowOnBlack},
        // A dark face that the user chose: black ink gives way, yellow on its own black stays.
        {blackOnDark, darkScheme, false, darkScheme},
        {yellowOnBlack, darkScheme, false, yellowOnBlack},
        // High contrast: the system's colours, even where the design's would read.
        {yellowOnBlack, highContrastBlack, true, highContrastBlack},
        {blackOnFace, {kBlack, kWhite}, true, {kBlack, kWhite}},
        // Ink hardly apart from its paper.
        {{MakeColour(0x77, 0x77, 0x77), kWhite}, classic, false, classic},
    };
    for (const auto& c : cases) {
        const TextColours chosen = ChooseTextColours(c.design, c.system, c.highContrast);
        EXPECT_EQ(chosen.ink, c.chosen.ink) << std::hex << c.design.ink << " on " << c.design.paper;
        EXPECT_EQ(chosen.paper, c.chosen.paper) << std::hex << c.design.ink;
    }
}

}  // namespace
}  // namespace zolv::testing
