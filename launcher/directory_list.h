// The directory list's model: which directory is open and which entries the
// list shows for it. The open directory's ancestors come first, from the
// root down, then its subdirectories; only opening an entry changes the path.
// Nothing here touches the process's current directory.
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

    // Opens a directory. A drive list's text ("d:" with perhaps a label after
    // it) opens that drive's current directory. Throws PlatformError and
    // keeps the old directory when the place cannot be read.
    void SetPath(const std::wstring& text);
    // Opens an entry the user chose. Where it has vanished or cannot be read,
    // the open directory is read again, to show it as it now is, and the
    // entry's path is returned for the user to be told.
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
