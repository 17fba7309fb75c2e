// The About window's "&System Info..." button end to end: the registry of the
// test's own Wine prefix says where the tool is, and a stand-in of ours
// records each start.
#include <gtest/gtest.h>

#include "program/control_ids.h"
#include "tests/ui/driver.h"

namespace zolv::ui {
namespace {

constexpr const wchar_t* kToolKey = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const wchar_t* kToolValue = L"PATH";
constexpr const wchar_t* kLocationKey = L"SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const wchar_t* kLocationValue = L"MSINFO";
constexpr const wchar_t* kUnavailable = L"System Information Is Unavailable At This Time";

// A value under HKEY_LOCAL_MACHINE (64-bit view) that the test changes and
// puts back as it was: a fresh prefix may define its own, pointing at a tool
// that opens a window.
class MachineValue {
public:
    MachineValue(const wchar_t* key, const wchar_t* name) : key_(key), name_(name) {
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &opened) !=
            ERROR_SUCCESS) {
            return;
        }
        keyExisted_ = true;
        DWORD size = 0;
        if (RegQueryValueExW(opened, name, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
            data_.resize(size);
            valueExisted_ = RegQueryValueExW(opened, name, nullptr, &type_, data_.data(), &size) ==
                            ERROR_SUCCESS;
            data_.resize(size);
        }
        RegCloseKey(opened);
    }

    ~MachineValue() {
        if (valueExisted_) {
            Write(type_, data_.data(), static_cast<DWORD>(data_.size()));
        } else {
            Remove();
            if (!keyExisted_) RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), KEY_WOW64_64KEY, 0);
        }
    }

    MachineValue(const MachineValue&) = delete;
    MachineValue& operator=(const MachineValue&) = delete;

    bool Set(const std::wstring& text) {
        return Write(REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    void Remove() {
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                          &opened) == ERROR_SUCCESS) {
            RegDeleteValueW(opened, name_.c_str());
            RegCloseKey(opened);
        }
    }

private:
    bool Write(DWORD type, const BYTE* data, DWORD size) {
        HKEY opened = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &opened,
                            nullptr) != ERROR_SUCCESS) {
            return false;
        }
        const bool written =
            RegSetValueExW(opened, name_.c_str(), 0, type, data, size) == ERROR_SUCCESS;
        RegCloseKey(opened);
        return written;
    }

    std::wstring key_, name_;
    bool keyExisted_ = false, valueExisted_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
};

class SystemInformation : public ::testing::Test {
protected:
    MachineValue toolPath{kToolKey, kToolValue};
    MachineValue toolLocation{kLocationKey, kLocationValue};
    TempDir temp;
    // Blanks in both parts of the path: it must be neither split nor searched for.
    std::wstring tools = temp.Make(L"zolv sys info");
    std::wstring toolDir = temp.Make(L"zolv sys info\\Tool Dir");
    std::wstring tool = toolDir + L"\\MSINFO32.EXE";
    std::wstring started = temp.Make(L"started here");
    Loader app{started};
    HWND about = nullptr;

    void SetUp() override {
        ASSERT_NE(app.main(), nullptr) << "the main window did not appear";
        ASSERT_FALSE(TestPrograms().standInTool.empty()) << "no stand-in tool given";
        ASSERT_TRUE(CopyFileW(TestPrograms().standInTool.c_str(), tool.c_str(), FALSE))
            << "could not copy the stand-in tool";
        toolPath.Remove();
        toolLocation.Remove();
        about = app.OpenAbout();
        ASSERT_NE(about, nullptr) << "no About window";
    }

    void PressSystemInfo() { app.Click(GetDlgItem(about, IDC_SYSINFO)); }
    static ::testing::AssertionResult StartedTimes(const std::wstring& directory,
                                                   std::size_t times) {
        return StandInStarted(directory, times, 5000);
    }
};

TEST_F(SystemInformation, ThePathValueNamesTheToolStartedOnEachPressByClickOrAltS) {
    ASSERT_TRUE(toolPath.Set(tool));
    PressSystemInfo();
    EXPECT_TRUE(StartedTimes(toolDir, 1));
    EXPECT_TRUE(app.NoBoxFor(300)) << "a box appeared although the tool started";
    app.PressKeys({'S'}, false, /*alt=*/true);
    EXPECT_TRUE(StartedTimes(toolDir, 2)) << "Alt+S did not press \"&System Info...\"";
    EXPECT_TRUE(IsWindowVisible(about)) << "the About window must stay open";

    // Nothing is passed, and the tool starts where the loader is.
    for (const std::string& run : StandInRuns(toolDir)) EXPECT_EQ(run, Narrow(started) + "\t");
}

TEST_F(SystemInformation, ThePathValueComesBeforeTheLocationValueWhichStandsInWithoutIt) {
    const std::wstring otherDir = temp.Make(L"other tool");
    ASSERT_TRUE(CopyFileW(tool.c_str(), (otherDir + L"\\MSINFO32.EXE").c_str(), FALSE));
    ASSERT_TRUE(toolPath.Set(tool));
    ASSERT_TRUE(toolLocation.Set(otherDir));
    PressSystemInfo();
    EXPECT_TRUE(StartedTimes(toolDir, 1));
    EXPECT_TRUE(StartedTimes(otherDir, 0));

    toolPath.Remove();
    PressSystemInfo();
    EXPECT_TRUE(StartedTimes(otherDir, 1)) << "the location value was not used";
    EXPECT_TRUE(StartedTimes(toolDir, 1));
    EXPECT_TRUE(app.NoBoxFor(300));
    EXPECT_TRUE(IsWindowVisible(about));
}

// Registry contents under which there is no tool to start.
struct NoTool {
    const char* name;
    void (*arrange)(MachineValue& path, MachineValue& location, const std::wstring& tools);
};

// Failure messages name the case, not its bytes.
void PrintTo(const NoTool& way, std::ostream* out) { *out << way.name; }

class SystemInformationUnavailable : public SystemInformation,
                                     public ::testing::WithParamInterface<NoTool> {};

const NoTool kNoTools[] = {
    {"NeitherValue", [](MachineValue&, MachineValue&, const std::wstring&) {}},
    {"LocationWithoutTheTool",
     [](MachineValue&, MachineValue& location, const std::wstring& tools) {
         // The stand-in lies one level deeper, in "Tool Dir".
         ASSERT_TRUE(location.Set(tools));
     }},
    {"LocationWhereTheToolIsAFolder",
     [](MachineValue&, MachineValue& location, const std::wstring& tools) {
         const std::wstring folder = tools + L"\\Folder Tool";
         ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
         ASSERT_TRUE(CreateDirectoryW((folder + L"\\MSINFO32.EXE").c_str(), nullptr));
         ASSERT_TRUE(location.Set(folder));
     }},
    {"EmptyLocation", [](MachineValue&, MachineValue& location,
                         const std::wstring&) { ASSERT_TRUE(location.Set(L"")); }},
    {"PathToAMissingFile",
     [](MachineValue& path, MachineValue&, const std::wstring& tools) {
         ASSERT_TRUE(path.Set(tools + L"\\not here\\MSINFO32.EXE"));
     }},
};

TEST_P(SystemInformationUnavailable, TellsTheUserAndLeavesTheAboutWindowOpen) {
    GetParam().arrange(toolPath, toolLocation, tools);
    if (HasFatalFailure()) return;
    PressSystemInfo();
    const Box box = app.WaitForBox(5000);
    ASSERT_NE(box.hwnd, nullptr) << "no box told the user the tool is unavailable";
    ExpectMessage(box, kUnavailable, false, about);  // no icon, and the About window's
    app.Dismiss(box);
    EXPECT_TRUE(IsWindowVisible(about)) << "the About window must stay open";
    EXPECT_TRUE(IsWindowVisible(app.main()));
    EXPECT_TRUE(StartedTimes(toolDir, 0));
}

INSTANTIATE_TEST_SUITE_P(, SystemInformationUnavailable, ::testing::ValuesIn(kNoTools), ByName());

}  // namespace
}  // namespace zolv::ui
