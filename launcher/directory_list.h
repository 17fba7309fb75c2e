// The directory list's model: the open directory's ancestors from the root
// down, then its subdirectories. It never touches the process's current directory.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ports.h"

namespace zolv {

struct DirEntry {
    std::wstring name;  // what the list shows: "C:\" for the root, else the folder's name
    std::wstring path;  // the full path that opening the entry opens
    int level = 0;      // indentation: 0 for the root
    bool open = false;  // part of the open path rather than a subdirectory of it
};

class DirectoryList {
public:
    explicit DirectoryList(FileSystem& files) : files_(files) {}

    // A drive list's text ("d: [label]") opens that drive's current directory.
    // Throws PlatformError, keeping the old directory, where the place cannot be read.
    void SetPath(const std::wstring& text);
    // Where the entry cannot be read, the open directory is read again, to show
    // it as it now is, and the entry's path returned for the user to be told.
    std::optional<std::wstring> Open(std::size_t index);
    const std::wstring& Path() const { return path_; }
    const std::vector<DirEntry>& Entries() const { return entries_; }
    // Index of the open directory's own entry, the last of the open path.
    int OpenIndex() const;

private:
    FileSystem& files_;
    std::wstring path_;
    std::vector<DirEntry> entries_;
};

// The path a text names for the list: a drive list's text becomes the bare drive.
std::wstring PathFromListText(const std::wstring& text);

}  // namespace zolv
