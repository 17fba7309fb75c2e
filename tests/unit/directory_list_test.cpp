#include "launcher/directory_list.h"

#include <gtest/gtest.h>

#include "launcher/messages.h"
#include "tests/unit/fakes.h"

namespace zolv::testing {
namespace {

class DirectoryListModel : public ::testing::Test {
protected:
    DirectoryListModel() {
        files.AddDirectory(L"c:\\games\\zolv\\roms");
        files.AddDirectory(L"c:\\games\\zolv\\cfg");
        files.AddDirectory(L"c:\\games\\other");
        files.AddDirectory(L"d:\\backup");
        files.driveCurrent[L'd'] = L"d:\\backup";
    }
    std::vector<std::wstring> Shown() {
        std::vector<std::wstring> shown;
        for (const DirEntry& e : list.Entries()) {
            shown.push_back(std::wstring(static_cast<std::size_t>(e.level), L' ') +
                            (e.open ? L"+" : L"-") + e.name);
        }
        return shown;
    }

    Recorder log;
    FakeFileSystem files{log};
    DirectoryList list{files};
};

TEST_F(DirectoryListModel, ShowsTheOpenPathFromTheRootDownThenItsSubdirectories) {
    list.SetPath(L"c:\\games\\zolv");
    EXPECT_EQ(list.Path(), L"C:\\games\\zolv");
    EXPECT_EQ(Shown(), (std::vector<std::wstring>{L"+C:\\", L" +games", L"  +zolv", L"   -cfg",
                                                  L"   -roms"}));
    EXPECT_EQ(list.OpenIndex(), 2);
    EXPECT_EQ(list.Entries()[3].path, L"C:\\games\\zolv\\cfg");
    EXPECT_EQ(list.Entries()[1].path, L"C:\\games");
    EXPECT_EQ(list.Entries()[0].path, L"C:\\");
}

TEST_F(DirectoryListModel, TheRootHasNoParentsAndItsChildrenJoinWithoutADoubleSeparator) {
    list.SetPath(L"c:\\");
    EXPECT_EQ(Shown(), (std::vector<std::wstring>{L"+C:\\", L" -games"}));
    EXPECT_EQ(list.Entries()[1].path, L"C:\\games");
}

// A drive's root is spelled one way however it is reached: upper case, as
// Windows writes paths, where a drive list's text has the letter in lower case.
TEST_F(DirectoryListModel, ADriveListTextOpensThatDrivesCurrentDirectory) {
    list.SetPath(L"d: [BACKUP]");
    EXPECT_EQ(list.Path(), L"D:\\backup");
    EXPECT_EQ(list.Entries()[0].name, L"D:\\");
    list.SetPath(L"c:");
    EXPECT_EQ(list.Path(), L"C:\\");
    list.SetPath(L"C:\\");
    EXPECT_EQ(list.Path(), L"C:\\");
    EXPECT_EQ(PathFromListText(L"c:\\games"), L"c:\\games") << "a path is not a drive";
    EXPECT_EQ(PathFromListText(L"c:games"), L"c:games");
}

TEST_F(DirectoryListModel, AnUnreadablePlaceKeepsTheOpenDirectory) {
    list.SetPath(L"c:\\games\\zolv");
    files.unreadableDrives.insert(L'a');
    EXPECT_THROW(list.SetPath(L"a:"), PlatformError);
    EXPECT_THROW(list.SetPath(L"c:\\nowhere"), PlatformError);
    EXPECT_EQ(list.Path(), L"C:\\games\\zolv");
    EXPECT_EQ(Shown().size(), 5u);
}

TEST_F(DirectoryListModel, AnEntryThatVanishedIsReturnedToBeNamedAndTheListIsReadAgain) {
    list.SetPath(L"c:\\games\\zolv");
    files.RemoveDirectory(L"c:\\games\\zolv\\cfg");
    const std::optional<std::wstring> unreadable = list.Open(3);
    ASSERT_TRUE(unreadable);
    EXPECT_EQ(DirectoryUnreadable(*unreadable),
              L"The directory \"C:\\games\\zolv\\cfg\" no longer exists or cannot be read.");
    EXPECT_EQ(list.Path(), L"C:\\games\\zolv");
    EXPECT_EQ(Shown(), (std::vector<std::wstring>{L"+C:\\", L" +games", L"  +zolv", L"   -roms"}));

    EXPECT_EQ(list.Open(3), std::nullopt);
    EXPECT_EQ(list.Path(), L"C:\\games\\zolv\\roms");
}

}  // namespace
}  // namespace zolv::testing
