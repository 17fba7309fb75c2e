// What only newer Windows has, and its stand-ins for Windows XP.
#include "platform/win32/newer_windows.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zolv::testing {
namespace {

// The directory list's order without regard to case: the key made by
// locale name (Windows Vista on) and by LCID (Windows XP's way) must be the
// same wherever Windows has both, or a folder would move in the list.
// Names where two case tables would part: case, accents, digits of other
// scripts, letters outside the ANSI code page, and the letters whose case
// is odd (ß, the Turkish i's, the long s, the final sigma, title case, the
// Kelvin sign, a letter outside the BMP, letters added to Unicode late).
const std::vector<std::wstring> kNames = {
    L"abc",
    L"ABD",
    L"Abc",
    L"\u00e9t\u00e9",
    L"\u00c9T\u00c9",
    L"\u00e4",
    L"\u00ff",
    L"\u0178",
    L"10",
    L"9",
    L"\u0661\u0662",
    L"\uff11",
    L"\u00b2",
    L"\u03b1\u03b2\u03b3",
    L"\u03c2",
    L"\u03a3",
    L"\u00b5",
    L"\u0436\u0443\u043a",
    L"\u0451",
    L"\u6587\u5b57",
    L"\uff41",
    L"stra\u00dfe",
    L"STRASSE",
    L"\u1e9e",
    L"i",
    L"I",
    L"\u0131",
    L"\u0130",
    L"\u01c5",
    L"\u01c6",
    L"\u017f",
    L"\u212a",
    L"\u212b",
    L"\u0561",
    L"\u10d0",
    L"\u13a0",
    L"\uab70",
    L"\u2c30",
    L"\u2c65",
    L"\u2170",
    L"\u24d0",
    L"\U00010428",
};

std::vector<std::wstring> SortedBy(std::wstring (*key)(const std::wstring&)) {
    std::vector<std::pair<std::wstring, std::wstring>> keyed;
    for (const std::wstring& name : kNames) keyed.emplace_back(key(name), name);
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::wstring> names;
    for (const auto& entry : keyed) names.push_back(entry.second);
    return names;
}

// The key is made by the invariant LCID, which XP has: it must map and order
// names as the invariant locale by name does from Vista on.
std::wstring UpperByLocaleName(const std::wstring& text) {
    std::wstring upper(text);
    const int length = static_cast<int>(text.size());
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(), length, upper.data(), length,
                  nullptr, nullptr, 0);
    return upper;
}

TEST(CaseKey, TheKeyOrdersNamesAsTheInvariantLocaleByNameDoes) {
    for (const std::wstring& name : kNames) {
        EXPECT_EQ(InvariantUpperCase(name), UpperByLocaleName(name));
    }
    EXPECT_EQ(SortedBy(InvariantUpperCase), SortedBy(UpperByLocaleName));
}

TEST(CaseKey, UpperCaseIsTheInvariantLocales) {
    // Not the user's language's: the Turkish "i" would become a dotted capital.
    EXPECT_EQ(InvariantUpperCase(L"i\u00e4\u03b1\u0436\uff41z9"), L"I\u00c4\u0391\u0416\uff21Z9");
    EXPECT_EQ(InvariantUpperCase(L""), L"");
}

TEST(TickCount64, TheThreadingRuntimesImportReachesWindowsOwn) {
    // The import is newer_windows.cpp's stand-in, which hands on to kernel32's.
    const ULONGLONG before = GetTickCount64();
    const DWORD ticks = GetTickCount();
    const ULONGLONG after = GetTickCount64();
    EXPECT_LE(before, after);
    EXPECT_LE(static_cast<DWORD>(ticks - static_cast<DWORD>(before)), 1000u);
    EXPECT_LE(static_cast<DWORD>(static_cast<DWORD>(after) - ticks), 1000u);
}

}  // namespace
}  // namespace zolv::testing
