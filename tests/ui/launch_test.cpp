// Saving and running a game, and picking drives, on the real exe under Wine,
// with a stand-in emulator that records how it was started.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <string>

#include "program/control_ids.h"
#include "tests/ui/driver.h"

namespace zolv::ui {
namespace {

// As the stand-in writes the directory.
std::string Utf8(const std::wstring& text) {
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

class GameLaunch : public ::testing::Test {
protected:
    TempDir temp;
    std::wstring games = temp.Make(L"zolv");
    std::wstring other = temp.Make(L"other");
    // A name with no ANSI form beside the games, and one level inside it: the
    // list must show it and the loader must save and run from within it.
    std::wstring unicode = temp.Make(L"zolv\\Spiele \u0436\u0451\u043B\u0442\u044B\u0439");
    std::wstring inner = temp.Make(L"zolv\\Spiele \u0436\u0451\u043B\u0442\u044B\u0439\\inner");
    Loader app{temp.path()};

    void SetUp() override {
        ASSERT_NE(app.main(), nullptr) << "the main window did not appear";
        ASSERT_FALSE(TestPrograms().standIn.empty()) << "no stand-in emulator given";
        ASSERT_TRUE(PutStandIn(games + L"\\zolv.exe"));
        ASSERT_TRUE(PutStandIn(other + L"\\zolv.exe"));
    }

    // Saved into the open directory, with nothing left of the writing.
    void SaveTheWorkedExample() {
        app.SaveTheWorkedExample(L"zolv");
        ASSERT_EQ(app.DirectoryPath(), games);
        ASSERT_TRUE(WaitFor([&] { return Exists(games + L"\\zolvload.bat"); }))
            << "no script was written";
        ASSERT_TRUE(app.NoBoxFor(200));
        EXPECT_EQ(ReadFileBytes(games + L"\\zolvload.bat"), "zolv.exe 1943 -s -r -d320x240");
        EXPECT_FALSE(Exists(games + L"\\zolvload.bat.saving"));
    }
    // Presses "Run the Game!" and waits for the stand-in's count of starts in a directory.
    ::testing::AssertionResult Run(const std::wstring& directory, std::size_t times) {
        app.Click(app.Control(IDC_EXECUTE));
        return StandInStarted(directory, times);
    }
};

TEST_F(GameLaunch, SaveWritesTheScriptAndRunStartsItInItsDirectoryOncePerPress) {
    SaveTheWorkedExample();
    const std::string expected = Utf8(games) + "\t1943 -s -r -d320x240";
    ASSERT_TRUE(Run(games, 1));
    EXPECT_EQ(StandInRuns(games)[0], expected);
    ASSERT_TRUE(Run(games, 2)) << "a second press did not run it again";
    EXPECT_EQ(StandInRuns(games)[1], expected);
    EXPECT_TRUE(app.NoBoxFor(200));
    EXPECT_NE(app.FindWindowByCaption(L"ZOLV Loader"), nullptr) << "the loader stays open";
}

// The sequence that once ended the loader beside a folder whose name has no
// ANSI form; the script's bytes do not depend on the directory's name.
TEST_F(GameLaunch, ASessionOfSavesAndRunsBesideAndInsideANonAnsiFolder) {
    SaveTheWorkedExample();
    for (std::size_t run = 1; run <= 2; ++run) ASSERT_TRUE(Run(games, run));
    const int boxes[] = {IDC_NOSOUND, IDC_ENABLEV, IDC_FRAME, IDC_SCAN,
                         IDC_SKIP,    IDC_ROTATE,  IDC_FM,    IDC_JOYSTICK};
    app.SelectComboItem(IDC_GAMEDIR, L"tnk3");
    for (int id : boxes) app.SetCheck(id, true);
    app.Click(app.Control(IDC_SAVE));
    EXPECT_EQ(ReadFileBytes(games + L"\\zolvload.bat"),
              "zolv.exe tnk3 -s -v -f -n -noanalys -r -a -j -d320x240");
    app.SelectComboItem(IDC_GAMEDIR, L"1943");
    app.SelectComboItem(IDC_RES, L"Select Resolution");
    for (int id : boxes) app.SetCheck(id, false);
    app.Click(app.Control(IDC_SAVE));
    app.SetComboText(IDC_GAMEDIR, L"loth");

    app.OpenDirectory(unicode.substr(games.size() + 1));
    app.OpenDirectory(L"inner");
    ASSERT_EQ(app.DirectoryPath(), inner);
    ASSERT_TRUE(PutStandIn(inner + L"\\zolv.exe"));
    app.Click(app.Control(IDC_SAVE));
    ASSERT_TRUE(app.NoBoxFor(200));
    EXPECT_EQ(ReadFileBytes(inner + L"\\zolvload.bat"), "zolv.exe loth");
    ASSERT_TRUE(Run(inner, 1));
    EXPECT_EQ(StandInRuns(inner)[0], Utf8(inner) + "\tloth");
    EXPECT_FALSE(app.WaitForExit(500)) << "the loader ended";
}

// The command interpreter reads the script in the console's code page, in
// which the ANSI code page's letters beyond ASCII are other letters.
TEST_F(GameLaunch, AnAccentedGameTypedSavedAndRunReachesTheEmulatorAsTyped) {
    const std::wstring game = L"\u00e9t\u00e9 \u00fc";
    app.OpenDirectory(L"zolv");
    ASSERT_EQ(app.DirectoryPath(), games);
    app.SetComboText(IDC_GAMEDIR, game);
    app.Click(app.Control(IDC_SAVE));
    ASSERT_TRUE(app.NoBoxFor(500)) << "the save was refused";
    EXPECT_EQ(ReadFileBytes(games + L"\\zolvload.bat"), "zolv.exe \x82t\x82 \x81")
        << "not code page 437, which the test session's locale gives (tools/wine-session.sh)";

    ASSERT_TRUE(Run(games, 1));
    EXPECT_EQ(StandInRuns(games)[0], Utf8(games) + "\t" + Utf8(game));
}

TEST_F(GameLaunch, SavingWhileTheGameRunsReplacesTheScriptOrSaysWhyNot) {
    SaveTheWorkedExample();
    const std::wstring hold = games + L"\\hold";
    CloseHandle(CreateFileW(hold.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(Run(games, 1));

    // The command interpreter may keep the running script open.
    app.SelectComboItem(IDC_GAMEDIR, L"loth");
    app.Click(app.Control(IDC_SAVE));
    const Box box = app.WaitForBox(5000);
    printf("saving over the running script was %s\n", box.hwnd ? "refused" : "done");
    if (box.hwnd) {
        // Wine's interpreter holds the script while the game runs: the
        // message names the script and its directory and says it is kept.
        EXPECT_EQ(box.text.rfind(L"The settings were not saved.", 0), 0u) << Utf8(box.text);
        EXPECT_NE(box.text.find(L"zolvload.bat in \"" + games + L"\" is open in another program"),
                  std::wstring::npos)
            << Utf8(box.text);
        EXPECT_NE(box.text.find(L"The last zolvload.bat in \"" + games + L"\" is kept as it was."),
                  std::wstring::npos)
            << Utf8(box.text);
        EXPECT_EQ(box.title, L"ZOLV Loader");
        app.Dismiss(box);
        EXPECT_EQ(ReadFileBytes(games + L"\\zolvload.bat"), "zolv.exe 1943 -s -r -d320x240");
    } else {
        EXPECT_EQ(ReadFileBytes(games + L"\\zolvload.bat"), "zolv.exe loth -s -r -d320x240");
    }
    EXPECT_FALSE(Exists(games + L"\\zolvload.bat.saving"));
    DeleteFileW(hold.c_str());
}

// Where ComSpec is not set, the loader runs the system's own interpreter: a bare
// cmd.exe would be searched for first in the game's directory.
struct WithoutComSpec {  // in the environment the loader inherits, while the test runs
    wchar_t kept[MAX_PATH] = {};
    WithoutComSpec() {
        GetEnvironmentVariableW(L"ComSpec", kept, MAX_PATH);
        SetEnvironmentVariableW(L"ComSpec", nullptr);
    }
    ~WithoutComSpec() { SetEnvironmentVariableW(L"ComSpec", kept); }
};
class GameLaunchWithoutComSpec : private WithoutComSpec, public GameLaunch {};

TEST_F(GameLaunchWithoutComSpec, RunStartsTheGameAndNeverACmdExeInItsDirectory) {
    ASSERT_TRUE(PutStandIn(games + L"\\cmd.exe"));
    SaveTheWorkedExample();
    ASSERT_TRUE(Run(games, 1)) << "the cmd.exe in the game's directory ran, or nothing did";
    EXPECT_EQ(StandInRuns(games)[0], Utf8(games) + "\t1943 -s -r -d320x240")
        << "the cmd.exe in the game's directory ran";
    EXPECT_TRUE(app.NoBoxFor(500));
}

// The command interpreter cannot run from a directory of more than 258
// characters (under Wine, starting the game there corrupted the heap): the
// list opens one, and the save there is refused and loses nothing.
TEST_F(GameLaunch, ASaveInADirectoryTooDeepForTheInterpreterIsRefusedAndTheLastSaveStillRuns) {
    const std::wstring levels[] = {L"deep", std::wstring(255, L'd'), L"game"};
    std::wstring deep = games;
    for (const std::wstring& level : levels) {
        deep += L"\\" + level;
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
    }
    ASSERT_GT(deep.size(), 300u);
    const std::wstring oldScript = L"\\\\?\\" + deep + L"\\zolvload.bat";
    ASSERT_TRUE(WriteFileBytes(oldScript, "zolv.exe rtype2"));
    SaveTheWorkedExample();
    for (const std::wstring& level : levels) app.OpenDirectory(level);
    ASSERT_EQ(app.DirectoryPath(), deep);

    app.Click(app.Control(IDC_SAVE));
    const Box box = app.WaitForBox();
    ASSERT_NE(box.hwnd, nullptr) << "the save was not refused";
    EXPECT_NE(box.text.find(L"too long for the command prompt"), std::wstring::npos)
        << Utf8(box.text);
    std::wstring unbroken = box.text;  // the path, broken onto lines of its own to fit the box
    unbroken.erase(std::remove(unbroken.begin(), unbroken.end(), L'\n'), unbroken.end());
    EXPECT_NE(unbroken.find(deep), std::wstring::npos) << "the message names the directory";
    RECT shown;
    GetWindowRect(box.hwnd, &shown);
    EXPECT_LE(shown.right - shown.left, GetSystemMetrics(SM_CXSCREEN)) << "the message is cut";
    app.Dismiss(box);
    EXPECT_EQ(ReadFileBytes(oldScript), "zolv.exe rtype2");

    ASSERT_TRUE(Run(games, 1)) << "the last script saved did not run from where it was saved";
    EXPECT_EQ(StandInRuns(games)[0], Utf8(games) + "\t1943 -s -r -d320x240");
    EXPECT_FALSE(app.WaitForExit(1000)) << "the loader ended";
}

TEST_F(GameLaunch, OpeningAnotherDirectoryAfterTheSaveChangesNothingUntilTheNextSave) {
    SaveTheWorkedExample();
    app.OpenDirectory(temp.path().substr(temp.path().find_last_of(L'\\') + 1));
    app.OpenDirectory(L"other");
    ASSERT_EQ(app.DirectoryPath(), other);

    ASSERT_TRUE(Run(games, 1));
    EXPECT_TRUE(StandInRuns(other).empty()) << "the open directory is not the current one";
}

// Space at the start presses "Run the Game!", which has the focus.
TEST_F(GameLaunch, BeforeTheFirstSaveSpaceOnRunTheGameAsksForASaveAndStartsNothing) {
    ASSERT_TRUE(WriteFileBytes(temp.path() + L"\\zolvload.bat", "zolv.exe rtype2"));
    PutStandIn(temp.path() + L"\\zolv.exe");

    app.PressKeys({VK_SPACE});
    const Box box = app.WaitForBox();
    ASSERT_NE(box.hwnd, nullptr);
    ExpectMessage(box, L"You must click Save Settings first", true, app.main());
    app.Dismiss(box);
    Sleep(1000);
    EXPECT_TRUE(StandInRuns(temp.path()).empty());
}

class DrivePick : public ::testing::Test {
protected:
    TempDir temp;
    Loader app{temp.path()};

    // As a user does it: the keyboard into the drive list, then the drive's letter.
    void PickDrive(wchar_t letter) {
        while (app.Focus() != app.Control(IDC_DRIVE)) {
            app.PressKeys({VK_TAB});
            if (app.Focus() == app.Control(IDC_EXECUTE)) break;
        }
        ASSERT_EQ(app.Focus(), app.Control(IDC_DRIVE));
        app.PressKeys({static_cast<WORD>(towupper(letter))});
    }
    std::wstring ShownDrive() { return ComboItem(app.Control(IDC_DRIVE)); }
};

TEST_F(DrivePick, AnUnreadableDriveWarnsAndAReadableOneWorksAgain) {
    ASSERT_NE(SendMessageW(app.Control(IDC_DRIVE), CB_FINDSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(L"q:")),
              CB_ERR)
        << "the test prefix has no drive q:, which points nowhere";
    const std::wstring before = app.DirectoryPath();

    PickDrive(L'q');
    const Box box = app.WaitForBox();
    ASSERT_NE(box.hwnd, nullptr) << "no message for the unreadable drive";
    ExpectMessage(box, L"You must not have a disk in the drive, specify a different drive", true);
    app.Dismiss(box);
    EXPECT_EQ(towlower(ShownDrive()[0]), L'q') << "the drive list keeps the chosen drive";
    EXPECT_EQ(app.DirectoryPath(), before) << "the directory list keeps its directory";

    PickDrive(L'z');
    EXPECT_TRUE(app.NoBoxFor(500)) << "a readable drive gives no message";
    // The root spelled as Windows writes it, as on the start drive; the
    // drive list keeps its lower-case letter.
    EXPECT_EQ(app.DirectoryPath()[0], L'Z');
    EXPECT_EQ(ListItem(app.Control(IDC_DIR), 0), L"Z:\\");
    EXPECT_EQ(ShownDrive()[0], L'z');
}

// The drives tools/wine-session.sh makes: a label only for a fixed drive, the
// share only for a network drive; nothing read from the floppy, CD or shares' roots.
TEST_F(DrivePick, TheListShowsEachDriveAsWindowsUsersKnowIt) {
    const std::map<wchar_t, std::wstring> expected = {
        {L'a', L"a:"},
        {L'c', L"c:"},
        {L'g', L"g: [GAMES]"},
        {L'm', L"m:"},
        {L'n', L"n: [\\\\nas\\games]"},
        {L'q', L"q:"},
        {L'r', L"r:"},
    };
    HWND drives = app.Control(IDC_DRIVE);
    std::map<wchar_t, std::wstring> shown;
    const auto count = static_cast<int>(SendMessageW(drives, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const std::wstring text = ComboItem(drives, i);
        ASSERT_TRUE(iswlower(text[0]) && text[1] == L':') << Utf8(text);
        shown[text[0]] = text;
    }
    for (const auto& [letter, text] : expected) {
        EXPECT_EQ(shown[letter], text) << "the test prefix is made by tools/wine-session.sh";
    }
    EXPECT_EQ(ShownDrive(), shown[towlower(temp.path()[0])]) << "the current drive is selected";
}

// Picked by its text with the label, the drive is made current by its letter:
// the script and the run are those of the worked example anywhere else.
TEST_F(DrivePick, ASaveAndARunThroughTheLabelledDriveAreAsAnywhereElse) {
    const std::wstring name = L"zolv-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring games = L"g:\\" + name;
    ASSERT_TRUE(CreateDirectoryW(games.c_str(), nullptr)) << "the test prefix has no drive g:";
    const struct Removal {
        std::wstring path;
        ~Removal() { RemoveTree(path); }
    } removal{games};
    ASSERT_TRUE(PutStandIn(games + L"\\zolv.exe"));

    PickDrive(L'g');
    ASSERT_TRUE(app.NoBoxFor(200));
    ASSERT_EQ(ShownDrive(), L"g: [GAMES]");
    app.SaveTheWorkedExample(name);
    ASSERT_EQ(_wcsicmp(app.DirectoryPath().c_str(), games.c_str()), 0) << Utf8(app.DirectoryPath());
    ASSERT_TRUE(WaitFor([&] { return Exists(games + L"\\zolvload.bat"); }));
    EXPECT_TRUE(app.NoBoxFor(200));
    EXPECT_EQ(ReadFileBytes(games + L"\\zolvload.bat"), "zolv.exe 1943 -s -r -d320x240");

    app.Click(app.Control(IDC_EXECUTE));
    ASSERT_TRUE(StandInStarted(games, 1));
    EXPECT_EQ(StandInRuns(games)[0], Utf8(app.DirectoryPath()) + "\t1943 -s -r -d320x240");
}

}  // namespace
}  // namespace zolv::ui
