// Every text the save, the launch, the drive list and the directory list show:
// each names what the user knows (never the file the script is written in first).
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/ports.h"

namespace zolv {

constexpr const wchar_t* kNoGameMessage = L"you must select a game directory!!";
constexpr const wchar_t* kSaveFirstMessage = L"You must click Save Settings first";
constexpr const wchar_t* kNoDiskMessage =
    L"You must not have a disk in the drive, specify a different drive";

// The save's refusals, which come before anything is touched.
std::wstring ControlCharacterRefusal(const std::wstring& text);
enum class CharacterSet { Console, Ansi };
// Names each character of the text that does not fit the set.
std::wstring CharacterRefusal(CharacterSet set, const std::wstring& text,
                              const std::function<bool(const std::wstring&)>& fits);
std::wstring LineTooLongRefusal(std::size_t length, std::size_t longest, bool doubleBytes);
std::wstring NetworkFolderRefusal(const std::wstring& directory);
std::wstring NoDriveRefusal();
std::wstring TooDeepRefusal(const std::wstring& directory, std::size_t longest);

// The save's failures after it began: why, and whether the last script is kept.
std::wstring UnreadableDriveCause(wchar_t letter);
std::wstring FailureCause(const PlatformError& error, const std::wstring& directory);
std::wstring SaveFailure(const std::wstring& cause, const std::wstring& directory, bool kept);

std::wstring LaunchFailure(const PlatformError& error, const std::wstring& command);
std::wstring DirectoryUnreadable(const std::wstring& path);

}  // namespace zolv
