// The search for the largest size at which something fits, apart from what
// is measured, so that it can be checked without a screen.
#pragma once

#include <algorithm>

namespace zolv {

// The largest size from `smallest` to `largest` at which `fits` holds, or
// `smallest - 1` where it holds at none. A larger size is taken never to fit
// where a smaller one does not, so the search starts at `guess` (a size
// worked out from a measurement, clamped to the range) and steps from there
// only as far as it must: up while the next size fits too, else down to the
// first that fits. Each size is tried at most once; the answer is always one
// that was tried and fitted, and, below `largest`, the size above it was
// tried and did not. A guess of `largest` is the plain step down from the top.
template <typename Fits>
int LargestFittingSize(int smallest, int largest, int guess, Fits&& fits) {
    if (smallest > largest) return smallest - 1;
    int size = std::clamp(guess, smallest, largest);
    if (fits(size)) {
        while (size < largest && fits(size + 1)) ++size;
        return size;
    }
    while (--size >= smallest) {
        if (fits(size)) return size;
    }
    return smallest - 1;
}

// The size at which a measure that grows in step with the size comes to at
// most 1, from its value `need` at `size`: where the texts need 1.3 times
// their room at 13 pixels, 10. At least 1 below `size` for a need above 1.
inline int SizeForNeed(int size, double need) {
    if (!(need > 1.0)) return size;
    const double scaled = size / need;
    return std::min(size - 1, static_cast<int>(scaled));
}

}  // namespace zolv
