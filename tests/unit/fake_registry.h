// The fakes the About window's tests add to fakes.h: an in-memory registry
// that answers as HKEY_LOCAL_MACHINE\SOFTWARE does a standard user's 32-bit
// program on 64-bit Windows and keeps count of its open keys, and a view that
// records what the handlers show. Also the value cases that the reader is checked with, both
// against this fake and, in the Windows build, against the real registry.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "about/about.h"
#include "tests/unit/fakes.h"

namespace zolv::testing {

// The Win32 codes and types the fake answers with.
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;
constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeyRead = 0x20019;
constexpr std::uint32_t kKeyWow64_64 = 0x0100, kKeyWow64_32 = 0x0200;
constexpr long kMoreData = 234;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

class FakeRegistry : public Registry {
public:
    struct Value {
        std::uint32_t type;
        std::string bytes;
    };

    // Setting up the world. Names are matched without regard to case, as Windows does.
    void SetValue(std::uint32_t root, const std::wstring& key, const std::wstring& name,
                  std::uint32_t type, std::string bytes) {
        keys_[{root, Lower(key)}][Lower(name)] = Value{type, std::move(bytes)};
    }

    // Looking at what was asked of it.
    int opens = 0;                        // successful opens
    int closes = 0;                       // closes of a key that was open
    int badCloses = 0;                    // closes of a key that was never opened, or closed twice
    std::vector<std::wstring> keysAsked;  // every key name an open was tried with
    std::set<std::uint32_t> options;
    // A faulty registry that, after a read, claims more bytes than the buffer holds.
    bool overstateLength = false;
    bool allClosed() const { return open_.empty() && badCloses == 0 && opens == closes; }

    long OpenKey(std::uint32_t root, const std::wstring& keyName, std::uint32_t option,
                 std::uint32_t mask, RegistryKey* key) override {
        keysAsked.push_back(keyName);
        options.insert(option);
        *key = 0;
        const auto found = keys_.find({root, Lower(keyName)});
        // The keys are in the 64-bit view, which a 32-bit program sees only when it asks.
        if (found == keys_.end() || !(mask & kKeyWow64_64)) return kFileNotFound;
        // A standard user may only read them.
        if (mask & ~(kKeyRead | kKeyWow64_64 | kKeyWow64_32)) return kAccessDenied;
        *key = ++lastHandle_;
        open_[*key] = {&found->second, mask};
        ++opens;
        return 0;
    }

    long QueryValue(RegistryKey key, const std::wstring& valueName, std::uint32_t* type,
                    unsigned char* data, std::uint32_t* length) override {
        const auto open = open_.find(key);
        if (open == open_.end()) return kInvalidHandle;
        if (!(open->second.second & kKeyQueryValue)) return kAccessDenied;
        const auto value = open->second.first->find(Lower(valueName));
        if (value == open->second.first->end()) return kFileNotFound;
        const std::string& bytes = value->second.bytes;
        *type = value->second.type;
        const std::uint32_t capacity = *length;
        *length = static_cast<std::uint32_t>(bytes.size());
        if (bytes.size() > capacity) return kMoreData;
        std::memcpy(data, bytes.data(), bytes.size());
        if (overstateLength) *length = capacity + 1;
        return 0;
    }

    void CloseKey(RegistryKey key) override {
        if (key == 0) return;  // the handle of a failed open, which the adapter skips too
        if (open_.erase(key)) {
            ++closes;
        } else {
            ++badCloses;
        }
    }

private:
    using Values = std::map<std::wstring, Value>;
    static std::wstring Lower(std::wstring text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](wchar_t ch) { return static_cast<wchar_t>(std::towlower(ch)); });
        return text;
    }

    std::map<std::pair<std::uint32_t, std::wstring>, Values> keys_;
    std::map<RegistryKey, std::pair<Values*, std::uint32_t>> open_;  // with the access asked
    RegistryKey lastHandle_ = 0;
};

class FakeAboutView : public AboutView {
public:
    explicit FakeAboutView(Recorder& log) : log_(log) {}
    void SetCaption(const std::wstring& text) override { log_.Add(L"caption: " + text); }
    void SetTitle(const std::wstring& text) override { log_.Add(L"title: " + text); }
    void SetVersion(const std::wstring& text) override { log_.Add(L"version: " + text); }
    void Unload() override { log_.Add(L"unload"); }

private:
    Recorder& log_;
};

// An About window over fakes, with nothing installed.
struct AboutWorld {
    Recorder log;
    FakeRegistry registry;
    FakeFileSystem files{log};
    FakeCodePage codePage;
    FakeShell shell{log};
    FakeMessages messages{log};
    FakeAboutView view{log};
    frmAbout about{view, {files, registry, codePage, shell, messages}};
};

// A value as stored, and what the reader makes of it. `expected` is in the
// ANSI code page; each test turns it into text with the code page it runs with.
struct ValueCase {
    const char* name;  // also the value's name in the registry
    std::uint32_t type;
    std::string bytes;
    bool read;
    std::string expected;
};

inline void PrintTo(const ValueCase& c, std::ostream* out) { *out << c.name; }

inline std::vector<ValueCase> ValueCases() {
    using namespace std::string_literals;
    const std::string text20 = "C:\\Tools\\SysInfo.exe";
    return {
        {"Text20WithZero", kRegSz, text20 + '\0', true, text20},
        {"Text20WithoutZero", kRegSz, text20, true, text20},
        {"Text1023WithZero", kRegSz, std::string(1023, 'a') + '\0', true, std::string(1023, 'a')},
        {"Text1024WithoutZero", kRegSz, std::string(1024, 'b'), true, std::string(1024, 'b')},
        {"Text1024WithZero", kRegSz, std::string(1024, 'c') + '\0', false, ""},
        {"Text1025WithoutZero", kRegSz, std::string(1025, 'd'), false, ""},
        {"SingleZero", kRegSz, "\0"s, true, ""},
        {"TwoZeros", kRegSz, "dir\0\0"s, true, "dir\0"s},
        {"Empty", kRegSz, "", false, ""},
        {"AnsiText", kRegSz, "caf\xE9\0"s, true, "caf\xE9"},
        {"Expandable", kRegExpandSz, "%SystemRoot%\0"s, false, ""},
        {"Binary", kRegBinary, "\x01\x02\x03"s, false, ""},
        {"Multiple", kRegMultiSz, "one\0two\0\0"s, false, ""},
        {"Dword0", kRegDword, "\0\0\0\0"s, true, "0"},
        {"Dword1", kRegDword, "\x01\0\0\0"s, true, "1"},
        {"DwordHighByte", kRegDword, "\0\0\0\x80"s, true, "2147483648"},
        {"DwordMax", kRegDword, "\xFF\xFF\xFF\xFF"s, true, "4294967295"},
    };
}

}  // namespace zolv::testing
