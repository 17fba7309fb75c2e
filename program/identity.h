// The title on the windows and message boxes, and the version, which app/zolvload.rc carries too.
#pragma once

#include <cstdint>

namespace zolv {

constexpr const wchar_t* kTitle = L"ZOLV Loader";
constexpr std::int16_t kVersionMajor = 0;
constexpr std::int16_t kVersionMinor = 5;
constexpr std::int16_t kVersionRevision = 0;

}  // namespace zolv
