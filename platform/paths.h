// Windows paths as text, for the logic and the Win32 layer alike.
#pragma once

#include <string>

namespace zolv {

inline bool IsSeparator(wchar_t ch) { return ch == L'\\' || ch == L'/'; }

// A name in a directory, with no second separator after a root's ("C:\").
inline std::wstring InDirectory(const std::wstring& directory, const std::wstring& name) {
    const bool separated = !directory.empty() && IsSeparator(directory.back());
    return directory + (separated ? L"" : L"\\") + name;
}

inline std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

}  // namespace zolv
