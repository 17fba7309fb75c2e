// How the program names itself: the title on its windows and message boxes,
// and the version the About window shows. The version record in
// app/zolvload.rc carries the same numbers.
#pragma once

#include <cstdint>

namespace zolv {

constexpr const wchar_t* kTitle = L"ZOLV Loader";
constexpr std::int16_t kVersionMajor = 0;
constexpr std::int16_t kVersionMinor = 5;
constexpr std::int16_t kVersionRevision = 0;

}  // namespace zolv
