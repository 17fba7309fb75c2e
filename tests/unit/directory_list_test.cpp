#include "launcher/directory_list.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(list.Path(), L"c:\\games\\zolv");
    EXPECT_EQ(Shown(), (std::vector<std::wstring>{L"+c:\\", L" +games", L"  +zolv", L"   -cfg",
                                                  L"   -roms"}));
    EXPECT_EQ(list.OpenIndex(), 2);
    EXPECT_EQ(list.Entries()[3].path, L"c:\\games\\zolv\\cfg");
    EXPECT_EQ(list.Entries()[1].path, L"c:\\games");
    EXPECT_EQ(list.Entries()[0].path, L"c:\\");
}

TEST_F(DirectoryListModel, TheRootHasNoParentsAndItsChildrenJoinWithoutADoubleSeparator) {
    list.SetPath(L"c:\\");
    EXPECT_EQ(Shown(), (std::vector<std::wstring>{L"+c:\\", L" -games"}));
    EXPECT_EQ(list.Entries()[1].path, L"c:\\games");
}

TEST_F(DirectoryListModel, ADriveListTextOpensThatDrivesCurrentDirectory) {
    list.SetPath(L"d: [BACKUP]");
    EXPECT_EQ(list.Path(), L"d:\\backup");
    list.SetPath(L"c:");
    EXPECT_EQ(list.Path(), L"c:\\");
    EXPECT_EQ(PathFromListText(L"c:\\games"), L"c:\\games") << "a path is not a drive";
    EXPECT_EQ(PathFromListText(L"c:games"), L"c:games");
}

TEST_F(DirectoryListModel, AnUnreadablePlaceKeepsTheOpenDirectory) {
    list.SetPath(L"c:\\games\\zolv");
    files.unreadableDrives.insert(L'a');
    EXPECT_THROW(list.SetPath(L"a:"), PlatformError);
    EXPECT_THROW(list.SetPath(L"c:\\nowhere"), PlatformError);
    EXPECT_EQ(list.Path(), L"c:\\games\\zolv");
    EXPECT_EQ(Shown().size(), 5u);
}

}  // namespace
}  // namespace zolv::testing
