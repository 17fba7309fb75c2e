// The value reader against the real registry, through the Win32 adapters.
// Each test writes its values under a key of its own in HKEY_CURRENT_USER
// and deletes the key afterwards, pass or fail.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "about/about.h"
#include "platform/win32/win32_platform.h"
#include "tests/unit/fake_registry.h"

namespace zolv::testing {
namespace {

constexpr std::uint32_t kCurrentUser = 0x80000001;
const std::string kTestsKey = "Software\\ZOLVLoader tests";

// The real registry, counted, so a test can see every opened key closed once.
class CountingRegistry : public Registry {
public:
    long OpenKey(std::uint32_t root, const std::wstring& name, std::uint32_t options,
                 std::uint32_t access, RegistryKey* key) override {
        const long result = real_.OpenKey(root, name, options, access, key);
        if (result == 0) ++opens;
        return result;
    }
    long QueryValue(RegistryKey key, const std::wstring& name, std::uint32_t* type,
                    unsigned char* data, std::uint32_t* length) override {
        return real_.QueryValue(key, name, type, data, length);
    }
    void CloseKey(RegistryKey key) override {
        ++closes;
        real_.CloseKey(key);
    }
    int opens = 0, closes = 0;

private:
    Win32Registry real_;
};

class RealRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        static int count = 0;
        keyName_ = kTestsKey + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
                   std::to_string(++count);
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyName_.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }

    void TearDown() override {
        if (key_) RegCloseKey(key_);
        RegDeleteTreeA(HKEY_CURRENT_USER, keyName_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kTestsKey.c_str());  // only once no test uses it
        HKEY left = nullptr;
        EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, keyName_.c_str(), 0, KEY_READ, &left),
                  ERROR_SUCCESS);
        if (left) RegCloseKey(left);
    }

    void Write(const ValueCase& c) {
        // Wine's RegSetValueExA counts a text's terminating zero for a caller
        // who seems to have left it out: when the byte after the data is zero.
        // A non-zero byte there stores exactly the bytes given.
        const std::string buffer = c.bytes + 'X';
        ASSERT_EQ(
            RegSetValueExA(key_, c.name, 0, c.type, reinterpret_cast<const BYTE*>(buffer.data()),
                           static_cast<DWORD>(c.bytes.size())),
            ERROR_SUCCESS);
        DWORD stored = 0;
        ASSERT_EQ(RegQueryValueExA(key_, c.name, nullptr, nullptr, nullptr, &stored),
                  ERROR_SUCCESS);
        ASSERT_EQ(stored, c.bytes.size());
    }

    std::wstring KeyName() const { return std::wstring(keyName_.begin(), keyName_.end()); }

    Recorder log;
    CountingRegistry registry;
    Win32CodePage codePage;
    FakeFileSystem files{log};
    FakeShell shell{log};
    FakeMessages messages{log};
    FakeAboutView view{log};
    frmAbout about{view, {files, registry, codePage, shell, messages}};

private:
    std::string keyName_;
    HKEY key_ = nullptr;
};

class RealValueReading : public RealRegistry, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(RealValueReading, ReadsAsTheFakeDoes) {
    const ValueCase& c = GetParam();
    Write(c);
    const std::wstring name(c.name, c.name + std::strlen(c.name));
    std::wstring value = L"left from before";
    EXPECT_EQ(about.GetKeyValue(kCurrentUser, KeyName(), name, value), c.read);
    EXPECT_EQ(value, codePage.FromAnsi(c.expected));
    EXPECT_EQ(registry.opens, 1);
    EXPECT_EQ(registry.closes, 1);
}

INSTANTIATE_TEST_SUITE_P(Wine, RealValueReading, ::testing::ValuesIn(ValueCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RealRegistry, MissingKeyOrValueEmptiesTheResult) {
    std::wstring value = L"left from before";
    EXPECT_FALSE(about.GetKeyValue(kCurrentUser, KeyName() + L"\\absent", L"PATH", value));
    EXPECT_EQ(value, L"");
    EXPECT_EQ(registry.opens, 0);

    value = L"left from before";
    EXPECT_FALSE(about.GetKeyValue(kCurrentUser, KeyName(), L"absent", value));
    EXPECT_EQ(value, L"");
    EXPECT_EQ(registry.opens, 1);
    EXPECT_EQ(registry.closes, 1);
}

// The tool is registered in the 64-bit view of HKEY_LOCAL_MACHINE\SOFTWARE. A
// 32-bit build on 64-bit Windows sees the 32-bit view unless it asks for the
// other, so a value written only there must still be found.
TEST_F(RealRegistry, AValueInThe64BitViewIsFoundByEitherBuild) {
    const std::string name = "SOFTWARE\\ZOLVLoader tests " + std::to_string(GetCurrentProcessId());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::string path = "c:\\tools\\msinfo32.exe";
    RegSetValueExA(key, "PATH", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>(path.size() + 1));
    RegCloseKey(key);

    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    HKEY plain = nullptr;
    const LONG plainOpen = RegOpenKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), 0, KEY_READ, &plain);
    if (plain) RegCloseKey(plain);

    std::wstring value;
    const bool found =
        about.GetKeyValue(0x80000002, std::wstring(name.begin(), name.end()), L"PATH", value);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), KEY_WOW64_64KEY, 0);

    if (wow64) {
        EXPECT_NE(plainOpen, ERROR_SUCCESS) << "a 32-bit process sees the 64-bit view unasked";
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(value, L"c:\\tools\\msinfo32.exe");
    EXPECT_EQ(registry.closes, 1);
}

}  // namespace
}  // namespace zolv::testing
