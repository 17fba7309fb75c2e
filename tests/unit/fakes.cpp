#include "tests/unit/fakes.h"

#include <algorithm>
#include <cwctype>

#include "launcher/directory_list.h"
#include "platform/paths.h"

namespace zolv::testing {

namespace {

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t ch) { return static_cast<wchar_t>(std::towlower(ch)); });
    return text;
}

std::wstring Parent(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 == path.size()) return std::wstring();
    return slash == 2 ? path.substr(0, 3) : path.substr(0, slash);
}

using Kind = PlatformError::Kind;

std::optional<std::string> Utf8(const std::wstring& text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned long code = static_cast<unsigned long>(text[i]);
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) +
                   (static_cast<unsigned long>(text[++i]) - 0xDC00);
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            return std::nullopt;  // a lone surrogate has no form
        }
        const int extra = code < 0x80 ? 0 : code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
        const unsigned char lead[] = {0x00, 0xC0, 0xE0, 0xF0};
        bytes += static_cast<char>(lead[extra] | (code >> (6 * extra)));
        for (int k = extra - 1; k >= 0; --k) {
            bytes += static_cast<char>(0x80 | ((code >> (6 * k)) & 0x3F));
        }
    }
    return bytes;
}

}  // namespace

std::optional<std::string> FakeCodePage::ToConsole(const std::wstring& text) {
    if (utf8) return Utf8(text);
    static const std::map<wchar_t, std::string> kBeyondAscii = {
        {L'\u00e9', "\x82"},      // e acute
        {L'\u00fc', "\x81"},      // u diaeresis
        {L'\u0393', "\xe2"},      // capital gamma, which code page 1252 lacks
        {L'\u4e00', "\x88\xea"},  // "one", as code page 932 writes it
    };
    std::string bytes;
    for (wchar_t ch : text) {
        if (static_cast<unsigned long>(ch) < 0x80) {
            bytes += static_cast<char>(ch);
        } else if (const auto found = kBeyondAscii.find(ch); found != kBeyondAscii.end()) {
            bytes += found->second;
        } else {
            return std::nullopt;
        }
    }
    return bytes;
}

// Latin-1 stands in for code page 1252, with the one double-byte character
// of the console's. Windows' UTF-8 option makes both code pages UTF-8.
std::optional<std::string> FakeCodePage::ToAnsi(const std::wstring& text) {
    if (utf8) return Utf8(text);
    std::string bytes;
    for (wchar_t ch : text) {
        if (ch == L'\u4e00') {
            bytes += "\x88\xea";
        } else if (static_cast<unsigned long>(ch) < 0x100) {
            bytes += static_cast<char>(ch);
        } else {
            return std::nullopt;
        }
    }
    return bytes;
}

std::wstring FakeCodePage::FromAnsi(const std::string& bytes) {
    std::wstring text;
    for (char ch : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(ch));
    return text;
}

void FakeFileSystem::AddDirectory(const std::wstring& path) {
    for (std::wstring p = Lower(path); !p.empty(); p = Parent(p)) directories.insert(p);
}

void FakeFileSystem::AddFile(const std::wstring& path, const std::string& bytes, bool hidden) {
    files[Lower(path)] = bytes;
    if (hidden) hidden_.insert(Lower(path));
}

void FakeFileSystem::RemoveDirectory(const std::wstring& path) {
    const std::wstring p = Lower(path);
    for (auto it = directories.begin(); it != directories.end();) {
        it = it->rfind(p, 0) == 0 ? directories.erase(it) : std::next(it);
    }
    for (auto it = files.begin(); it != files.end();) {
        it = it->first.rfind(p + L"\\", 0) == 0 ? files.erase(it) : std::next(it);
    }
}

void FakeFileSystem::ChangeDrive(wchar_t letter) {
    const wchar_t drive = static_cast<wchar_t>(std::towlower(letter));
    if (unreadableDrives.count(drive) || !driveCurrent.count(drive)) {
        throw PlatformError(L"The device is not ready.");
    }
    current = driveCurrent[drive];
}

void FakeFileSystem::ChangeDirectory(const std::wstring& path) {
    const std::wstring p = Lower(path);
    if (!directories.count(p)) {
        throw PlatformError(L"The system cannot find the file specified.", Kind::NoSuchDirectory);
    }
    current = p;
    driveCurrent[p[0]] = p;
}

void FakeFileSystem::CreateScript(const std::wstring& name) {
    target_ = InDirectory(current, Lower(name));
    work_ = target_ + L".saving";
    if (directories.count(target_)) {
        throw PlatformError(L"Access is denied.", Kind::FolderInTheWay);
    }
    if (readOnly.count(target_)) throw PlatformError(L"Access is denied.", Kind::ReadOnly);
    if (notAllowed.count(current)) throw PlatformError(L"Access is denied.", Kind::AccessDenied);
    files[work_].clear();
    open_ = true;
}

void FakeFileSystem::WriteScript(const std::string& bytes) {
    if (diskFull) {
        files[work_] += bytes.substr(0, bytes.size() / 2);
        throw PlatformError(L"There is not enough space on the disk.", Kind::DiskFull);
    }
    if (!writeFailure.empty()) throw PlatformError(writeFailure);
    files[work_] += bytes;
}

void FakeFileSystem::CommitScript() {
    if (inUse.count(target_)) {
        throw PlatformError(L"Access is denied.", Kind::InUse);
    }
    files[target_] = files[work_];
    files.erase(work_);
    open_ = false;
}

void FakeFileSystem::CloseScript() {
    log_.Add(L"close script");
    if (!open_) return;
    files.erase(work_);
    open_ = false;
}

std::wstring FakeFileSystem::ResolveDirectory(const std::wstring& path) {
    std::wstring p = Lower(path);
    if (p.size() == 2 && p[1] == L':') {
        if (unreadableDrives.count(p[0]) || !driveCurrent.count(p[0]))
            throw PlatformError(L"The device is not ready.");
        p = driveCurrent[p[0]];
    }
    if (!directories.count(p)) throw PlatformError(L"The system cannot find the file specified.");
    return p;
}

std::vector<std::wstring> FakeFileSystem::Subdirectories(const std::wstring& path) {
    std::vector<std::wstring> names;
    for (const std::wstring& d : directories) {
        if (Parent(d) == Lower(path)) names.push_back(d.substr(d.find_last_of(L'\\') + 1));
    }
    return names;
}

std::wstring FakeFileSystem::FindFile(const std::wstring& path) {
    const std::wstring p = Lower(path);
    if (p.size() >= 2 && p[1] == L':' && unreadableDrives.count(p[0])) {
        throw PlatformError(L"The device is not ready.");
    }
    if (!files.count(p) || hidden_.count(p)) return std::wstring();
    return path.substr(path.find_last_of(L'\\') + 1);
}

void FakeDirList::SetPath(const std::wstring& text) {
    DirectoryList list(files_);
    list.SetPath(text);
    path = list.Path();
}

}  // namespace zolv::testing
