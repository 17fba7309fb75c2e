#include "launcher/directory_list.h"

#include "platform/paths.h"

namespace zolv {

std::wstring PathFromListText(const std::wstring& text) {
    // "d:" or "d: [label]" is a drive, not a path relative to one.
    if (text.size() >= 2 && text[1] == L':' && (text.size() == 2 || text[2] == L' ')) {
        return text.substr(0, 2);
    }
    return text;
}

void DirectoryList::SetPath(const std::wstring& text) {
    std::wstring path = files_.ResolveDirectory(PathFromListText(text));
    // One spelling of a drive however it was reached, the start directory's
    // or a drive list's lower-case letter: upper case, as Windows writes paths.
    if (path.size() >= 2 && path[1] == L':' && path[0] >= L'a' && path[0] <= L'z') {
        path[0] = static_cast<wchar_t>(path[0] - L'a' + L'A');
    }
    std::vector<std::wstring> children = files_.Subdirectories(path);

    // Split "C:\games\zolv" into "C:\", "games", "zolv".
    std::vector<DirEntry> entries;
    std::size_t root = path.find_first_of(L"\\/");
    if (root == std::wstring::npos) root = path.size();
    entries.push_back({path.substr(0, root + 1), path.substr(0, root + 1), 0, true});
    std::size_t start = root + 1;
    while (start < path.size()) {
        std::size_t end = path.find_first_of(L"\\/", start);
        if (end == std::wstring::npos) end = path.size();
        if (end > start) {
            const int level = static_cast<int>(entries.size());
            entries.push_back({path.substr(start, end - start), path.substr(0, end), level, true});
        }
        start = end + 1;
    }
    const std::wstring open = entries.back().path;
    const int level = static_cast<int>(entries.size());
    entries.reserve(entries.size() + children.size());
    for (std::wstring& child : children) {
        std::wstring childPath = InDirectory(open, child);
        entries.push_back({std::move(child), std::move(childPath), level, false});
    }
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
    int index = -1;
    for (std::size_t i = 0; i < entries_.size() && entries_[i].open; ++i) {
        index = static_cast<int>(i);
    }
    return index;
}

}  // namespace zolv
