#include "about/about.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/unit/fake_registry.h"

namespace zolv::testing {
namespace {

constexpr std::uint32_t kLocalMachine = 0x80000002;
const std::wstring kToolKey = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::wstring kLocationKey = L"SOFTWARE\\Microsoft\\Shared Tools Location";
const std::wstring kUnavailable = L"System Information Is Unavailable At This Time";

class About : public AboutWorld, public ::testing::Test {};

TEST_F(About, LoadShowsCaptionVersionAndTitleInThatOrder) {
    about.Form_Load();
    EXPECT_EQ(log.events, (Events{L"caption: About ZOLV Loader", L"version: Version 0.5.0",
                                  L"title: ZOLV Loader"}));
}

TEST(VersionText, IsPlainDecimal) {
    EXPECT_EQ(VersionText(0, 5, 0), L"Version 0.5.0");
    EXPECT_EQ(VersionText(1, 12, 3), L"Version 1.12.3");
    EXPECT_EQ(VersionText(32767, 10, 100), L"Version 32767.10.100");
    EXPECT_EQ(VersionText(-1, 0, 0), L"Version 65535.0.0");  // as the version record holds it
}

TEST_F(About, OkUnloadsTheWindow) {
    about.cmdOK_Click();
    EXPECT_EQ(log.events, Events{L"unload"});
}

TEST_F(About, SysInfoButtonOnlyStartsTheTool) {
    registry.SetValue(kLocalMachine, kToolKey, L"PATH", kRegSz, "c:\\tools\\msinfo32.exe");
    about.cmdSysInfo_Click();
    EXPECT_EQ(log.events, Events{Program(kNormalFocus, L"c:\\tools\\msinfo32.exe")});
}

// Exactly `count` blanks end just before `at`.
bool BlanksBefore(const std::wstring& text, std::size_t at, std::size_t count) {
    return at > count && text.compare(at - count, count, std::wstring(count, L' ')) == 0 &&
           text[at - count - 1] != L' ';
}

TEST(AboutTexts, BlankRunsPutTheAddressAndWarningOnLinesOfTheirOwn) {
    const std::wstring description = kAboutDescription;
    const std::size_t at = description.find(L"@example.org");
    ASSERT_NE(at, std::wstring::npos);
    EXPECT_TRUE(BlanksBefore(description, description.rfind(L' ', at) + 1, 11));
    EXPECT_NE(description.find(L"http://www.example.org/"), std::wstring::npos);

    const std::wstring disclaimer = kAboutDisclaimer;
    EXPECT_TRUE(BlanksBefore(disclaimer, disclaimer.find(L"Warning:"), 77));
}

class SysInfo : public About {
public:
    void SetPath(const std::string& path, std::uint32_t type = kRegSz) {
        registry.SetValue(kLocalMachine, kToolKey, L"PATH", type, path + '\0');
    }
    void SetLocation(const std::string& directory) {
        registry.SetValue(kLocalMachine, kLocationKey, L"MSINFO", kRegSz, directory + '\0');
    }
    void ExpectStarted(const std::wstring& path) {
        EXPECT_EQ(log.events, Events{Program(kNormalFocus, path)});
        EXPECT_TRUE(registry.allClosed());
    }
    void ExpectUnavailable() {
        EXPECT_EQ(log.events, Events{Box(kPlainBox, kUnavailable)});  // and no beep
        EXPECT_TRUE(registry.allClosed());
    }
};

TEST_F(SysInfo, ToolKeyStartsItsProgramUnlookedAt) {
    SetPath("c:\\Program Files\\Common Files\\msinfo32.exe");
    SetLocation("c:\\tools");
    about.StartSysInfo();
    ExpectStarted(L"c:\\Program Files\\Common Files\\msinfo32.exe");
    EXPECT_EQ(registry.keysAsked, std::vector<std::wstring>{kToolKey});
}

TEST_F(SysInfo, LocationKeyStartsTheToolInItsDirectory) {
    SetLocation("c:\\Program Files\\Tools");
    files.AddFile(L"c:\\Program Files\\Tools\\MSINFO32.EXE", "MZ");
    about.StartSysInfo();
    ExpectStarted(L"c:\\Program Files\\Tools\\MSINFO32.EXE");
    EXPECT_EQ(registry.keysAsked, (std::vector<std::wstring>{kToolKey, kLocationKey}));
}

TEST_F(SysInfo, ToolKeyOfAnotherTypeFallsBackToTheLocation) {
    SetPath("%CommonProgramFiles%\\msinfo32.exe", kRegExpandSz);
    SetLocation("c:\\tools");
    files.AddFile(L"c:\\tools\\MSINFO32.EXE", "MZ");
    about.StartSysInfo();
    ExpectStarted(L"c:\\tools\\MSINFO32.EXE");
}

TEST_F(SysInfo, EachPressStartsTheToolAgain) {
    SetPath("c:\\tools\\msinfo32.exe");
    about.cmdSysInfo_Click();
    about.cmdSysInfo_Click();
    EXPECT_EQ(log.events, Events(2, Program(kNormalFocus, L"c:\\tools\\msinfo32.exe")));
    EXPECT_EQ(registry.opens, 2);
    EXPECT_TRUE(registry.allClosed());
}

struct Unavailable {
    const char* name;
    std::function<void(SysInfo&)> arrange;
};

void PrintTo(const Unavailable& u, std::ostream* out) { *out << u.name; }

class SysInfoUnavailable : public SysInfo, public ::testing::WithParamInterface<Unavailable> {};

TEST_P(SysInfoUnavailable, TellsTheUserAndKeepsTheWindow) {
    GetParam().arrange(*this);
    about.StartSysInfo();
    ExpectUnavailable();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SysInfoUnavailable,
    ::testing::Values(Unavailable{"NeitherKey", [](SysInfo&) {}},
                      Unavailable{"DirectoryWithoutTheTool",
                                  [](SysInfo& t) {
                                      t.SetLocation("c:\\tools");
                                      t.files.AddDirectory(L"c:\\tools");
                                      t.files.AddFile(L"c:\\tools\\other.exe", "MZ");
                                  }},
                      Unavailable{"ToolNameIsAFolder",
                                  [](SysInfo& t) {
                                      t.SetLocation("c:\\tools");
                                      t.files.AddDirectory(L"c:\\tools\\MSINFO32.EXE");
                                  }},
                      Unavailable{"ToolIsHidden",
                                  [](SysInfo& t) {
                                      t.SetLocation("c:\\tools");
                                      t.files.AddFile(L"c:\\tools\\MSINFO32.EXE", "MZ", true);
                                  }},
                      Unavailable{"EmptyLocation",  // not the root of the current drive
                                  [](SysInfo& t) {
                                      t.SetLocation("");
                                      t.files.AddFile(L"\\MSINFO32.EXE", "MZ");
                                  }},
                      Unavailable{"LocationOnUnreadableDrive",
                                  [](SysInfo& t) {
                                      t.SetLocation("e:\\tools");
                                      t.files.unreadableDrives.insert(L'e');
                                  }},
                      Unavailable{"ToolKeyNamesAMissingProgram",
                                  [](SysInfo& t) {
                                      t.SetPath("c:\\gone\\msinfo32.exe");
                                      t.shell.missingPrograms.insert(L"c:\\gone\\msinfo32.exe");
                                  }},
                      Unavailable{"EmptyToolPath", [](SysInfo& t) { t.SetPath(""); }},
                      Unavailable{"ExpandableToolKeyAndNoLocation",
                                  [](SysInfo& t) {
                                      t.SetPath("%CommonProgramFiles%\\x.exe", kRegExpandSz);
                                  }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zolv::testing
