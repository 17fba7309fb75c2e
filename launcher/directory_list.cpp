#include "launcher/directory_list.h"

#include <algorithm>

#include "platform/paths.h"

namespace zolv {

std::wstring PathFromListText(const std::wstring& text) {
    // "d:" or "d: [label]" is a drive, not a path relative to one.
    const bool drive = text.size() >= 2 && text[1] == L':' && (text.size() == 2 || text[2] == L' ');
    return drive ? text.substr(0, 2) : text;
}

void DirectoryList::SetPath(const std::wstring& text) {
    std::wstring path = files_.ResolveDirectory(PathFromListText(text));
    // One spelling of a drive however it was reached: upper case, as Windows writes paths.
    if (path.size() >= 2 && path[1] == L':' && path[0] >= L'a' && path[0] <= L'z')
        path[0] = static_cast<wchar_t>(path[0] - L'a' + L'A');
    std::vector<std::wstring> children = files_.Subdirectories(path);

    // Split "C:\games\zolv" into "C:\", "games", "zolv".
    const std::wstring root = path.substr(0, std::min(path.find_first_of(L"\\/"), path.size()) + 1);
    std::vector<DirEntry> entries{{root, root, 0, true}};
    for (std::size_t start = root.size(), end; start < path.size(); start = end + 1) {
        end = std::min(path.find_first_of(L"\\/", start), path.size());
        if (end > start)
            entries.push_back({path.substr(start, end - start), path.substr(0, end),
                               static_cast<int>(entries.size()), true});
    }
    const std::wstring open = entries.back().path;
    const int level = static_cast<int>(entries.size());
    entries.reserve(entries.size() + children.size());
    for (const std::wstring& child : children)
        entries.push_back({child, InDirectory(open, child), level, false});
    path_ = path;
    entries_ = std::move(entries);
}

std::optional<std::wstring> DirectoryList::Open(std::size_t index) {
    if (index >= entries_.size()) return std::nullopt;
    const std::wstring path = entries_[index].path;
    try {
        SetPath(path);
        return std::nullopt;
    } catch (const PlatformError&) {
        try {
            SetPath(path_);
        } catch (const PlatformError&) {
            // The open directory is gone too: the list stays, and the user climbs above it.
        }
    }
    return path;
}

int DirectoryList::OpenIndex() const {
    const auto children = std::find_if(entries_.begin(), entries_.end(),
                                       [](const DirEntry& entry) { return !entry.open; });
    return static_cast<int>(children - entries_.begin()) - 1;
}

}  // namespace zolv
