#include "platform/largest_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace zolv::testing {
namespace {

// Sizes up to `fitsUpTo` fit; every size tried is noted in order.
struct Search {
    int fitsUpTo;
    std::vector<int> tried;
    int Run(int smallest, int largest, int guess) {
        return LargestFittingSize(smallest, largest, guess, [this](int size) {
            tried.push_back(size);
            return size <= fitsUpTo;
        });
    }
};

TEST(LargestFittingSize, FindsTheLargestSizeThatFitsFromAnyGuessTryingEachSizeOnce) {
    const struct {
        int fitsUpTo, guess, found;
        std::vector<int> tried;
    } cases[] = {
        {12, 12, 12, {12, 13}},  // the guess, and the size above it to show it is the largest
        {14, 12, 14, {12, 13, 14, 15}},      // a guess too small steps up until a size does not fit
        {10, 12, 10, {12, 11, 10}},          // a guess too large steps down to the first that fits
        {16, 12, 16, {12, 13, 14, 15, 16}},  // at the top of the range nothing larger is tried
        {16, 16, 16, {16}},                  // a guess of the top is the plain step down
        {11, 16, 11, {16, 15, 14, 13, 12, 11}},
        {3, 12, 7, {12, 11, 10, 9, 8}},  // nothing fits: one below the range
        {20, 40, 16, {16}},              // a guess out of the range is taken at its end
        {9, 2, 9, {8, 9, 10}},
    };
    for (const auto& c : cases) {
        Search search{c.fitsUpTo, {}};
        EXPECT_EQ(search.Run(8, 16, c.guess), c.found) << "fits up to " << c.fitsUpTo;
        EXPECT_EQ(search.tried, c.tried) << "fits up to " << c.fitsUpTo << ", guess " << c.guess;
    }
    Search empty{20, {}};
    EXPECT_EQ(empty.Run(8, 7, 8), 7);
    EXPECT_TRUE(empty.tried.empty());
}

TEST(SizeForNeed, ScalesTheSizeDownByTheNeedAndAlwaysBelowASizeThatDoesNotFit) {
    EXPECT_EQ(SizeForNeed(13, 1.3), 10);
    EXPECT_EQ(SizeForNeed(11, 1.2), 9);      // 9.17
    EXPECT_EQ(SizeForNeed(16, 1.0001), 15);  // 15.998 is still below 16
    EXPECT_EQ(SizeForNeed(16, 1.0), 16);     // it fits as it is
    EXPECT_EQ(SizeForNeed(16, 1e300), 0);    // no room at all: the search starts at its bottom
    EXPECT_EQ(SizeForNeed(16, HUGE_VAL), 0);
}

}  // namespace
}  // namespace zolv::testing
