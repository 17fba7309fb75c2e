#include "launcher/directory_list.h"

namespace zolv {

namespace {

bool IsSeparator(wchar_t ch) { return ch == L'\\' || ch == L'/'; }

}  // namespace

std::wstring PathFromListText(const std::wstring& text) {
    // "d:" or "d: [label]" is a drive, not a path relative to one.
    if (text.size() >= 2 && text[1] == L':' && (text.size() == 2 || text[2] == L' ')) {
        return text.substr(0, 2);
    }
    return text;
}

void DirectoryList::SetPath(const std::wstring& text) {
    const std::wstring path = files_.ResolveDirectory(PathFromListText(text));
    std::vector<std::wstring> children = files_.Subdirectories(path);

    // Split "c:\games\zolv" into "c:\", "games", "zolv".
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
    const std::wstring& open = entries.back().path;
    const std::wstring prefix = IsSeparator(open.back()) ? open : open + L"\\";
    const int level = static_cast<int>(entries.size());
    entries.reserve(entries.size() + children.size());
    for (std::wstring& child : children) {
        std::wstring childPath = prefix + child;
        entries.push_back({std::move(child), std::move(childPath), level, false});
    }
    path_ = path;
    entries_ = std::move(entries);
}

int DirectoryList::OpenIndex() const {
    int index = -1;
    for (std::size_t i = 0; i < entries_.size() && entries_[i].open; ++i) {
        index = static_cast<int>(i);
    }
    return index;
}

}  // namespace zolv
