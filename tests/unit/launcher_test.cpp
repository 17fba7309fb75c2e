#include "launcher/launcher.h"

#include <gtest/gtest.h>

#include "tests/unit/launcher_rig.h"

namespace zolv::testing {
namespace {

constexpr const wchar_t* kGames = L"c:\\games\\zolv";
constexpr const wchar_t* kScript = L"c:\\games\\zolv\\zolvload.bat";
constexpr const wchar_t* kWork = L"c:\\games\\zolv\\zolvload.bat.saving";

class MainWindow : public LauncherRig<FakeFileSystem, FakeCodePage> {
protected:
    MainWindow() {
        files.AddDirectory(kGames);
        files.AddDirectory(L"c:\\windows");
        files.current = L"c:\\windows";
        dirDir.path = kGames;
        window.Form_Load();
    }

    // Picks the choices as a user would in the window.
    void Choose(const std::wstring& game, const std::wstring& resolution = L"Select Resolution") {
        cboGameDir.text = game;
        cboRes.text = resolution;
    }
    std::string Script() { return files.files.count(kScript) ? files.files[kScript] : "<none>"; }
};

// --- load ----------------------------------------------------------------------------------------

TEST_F(MainWindow, LoadFillsBothListsInTableOrderAndShowsThePlaceholders) {
    ASSERT_EQ(cboGameDir.items.size(), 22u);
    EXPECT_EQ(cboGameDir.items.front(), L"Select Game Directory");
    EXPECT_EQ(cboGameDir.items[1], L"1943");
    EXPECT_EQ(cboGameDir.items[2], L"k1943");
    EXPECT_EQ(cboGameDir.items[3], L"bmaster");
    EXPECT_EQ(cboGameDir.items[17], L"rtype2");
    EXPECT_EQ(cboGameDir.items.back(), L"victroad");
    EXPECT_EQ(cboGameDir.text, L"Select Game Directory");

    EXPECT_EQ(cboRes.items, (std::vector<std::wstring>{L"Select Resolution", L" -d384x256",
                                                       L" -d360x256", L" -d320x400", L" -d320x240",
                                                       L" -d256x256", L" -d224x288"}));
    EXPECT_EQ(cboRes.text, L"Select Resolution");

    EXPECT_EQ(window.GameDirTable[21], L"victroad");
    EXPECT_EQ(window.GameDirTable[22], L"");
    EXPECT_EQ(window.ResTable[7], L"");
}

TEST_F(MainWindow, NothingIsSavedAfterLoadEvenWithAnOldScriptOnDisk) {
    files.AddFile(kScript, "zolv.exe rtype2");
    EXPECT_FALSE(window.SettingsSaved);
    window.cmdExecute_Click();
    EXPECT_EQ(log.events, (Events{Beep(), Box(48, L"You must click Save Settings first")}));
}

// --- the script's bytes --------------------------------------------------------------------------

TEST_F(MainWindow, WorkedExampleWritesTheTwentyNineBytesIntoTheOpenDirectory) {
    Choose(L"1943", L" -d320x240");
    chkNoSound.value = 1;
    chkRotate.value = 1;
    window.cmdSave_Click();

    EXPECT_EQ(Script(), "zolv.exe 1943 -s -r -d320x240");
    EXPECT_EQ(Script().size(), 29u);
    EXPECT_EQ(files.current, kGames);
    EXPECT_TRUE(window.SettingsSaved);
    EXPECT_EQ(window.ChosenDir, kGames);
    EXPECT_EQ(window.ChosenDrive, L"c: [SYSTEM]");
    EXPECT_EQ(files.files.count(kWork), 0u);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(MainWindow, ScriptBytesFollowTheChoicesExactly) {
    struct Case {
        const char* what;
        std::wstring game, resolution;
        std::vector<FakeCheck*> checked;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"game alone", L"1943", L"Select Resolution", {}, "zolv.exe 1943"},
        {"all eight, in the emulator's order",
         L"tnk3",
         L"Select Resolution",
         {&chkRotate, &chkJoyStick, &chkFM, &chkScan, &chkSkip, &chkNoSound, &chkEnableV,
          &chkFrame},
         "zolv.exe tnk3 -s -v -f -n -noanalys -r -a -j"},
        {"empty game text", L"", L"Select Resolution", {&chkNoSound}, "zolv.exe  -s"},
        {"placeholder in another case",
         L"select game directory",
         L"Select Resolution",
         {},
         "zolv.exe select game directory"},
        {"typed resolution without a blank",
         L"loth",
         L"-d640x480",
         {&chkFrame},
         "zolv.exe loth -f-d640x480"},
        {"empty resolution", L"loth", L"", {}, "zolv.exe loth"},
        {"resolution placeholder in another case",
         L"loth",
         L"select resolution",
         {},
         "zolv.exe lothselect resolution"},
        {"batch characters unchanged",
         L"a&b %PATH% >x",
         L" -d224x288",
         {},
         "zolv.exe a&b %PATH% >x -d224x288"},
        {"typed letter in the console's code page",
         L"caf\u00e9",
         L"Select Resolution",
         {},
         "zolv.exe caf\x82"},
    };
    for (const Case& c : cases) {
        for (FakeCheck* box : {&chkNoSound, &chkEnableV, &chkFrame, &chkScan, &chkSkip, &chkRotate,
                               &chkFM, &chkJoyStick}) {
            box->value = 0;
        }
        for (FakeCheck* box : c.checked) box->value = 1;
        Choose(c.game, c.resolution);
        window.cmdSave_Click();
        EXPECT_EQ(Script(), c.expected) << c.what;
    }
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(Script().size(), 13u);  // the last one, with no trace of the longer scripts before it
}

TEST_F(MainWindow, OnlyACheckedBoxAddsItsSwitch) {
    Choose(L"sonson");
    chkNoSound.value = 2;  // greyed
    chkRotate.value = 1;
    window.cmdSave_Click();
    EXPECT_EQ(Script(), "zolv.exe sonson -r");
}

TEST_F(MainWindow, SavingTwiceWritesTheSameBytes) {
    Choose(L"gunsmoke", L" -d256x256");
    chkJoyStick.value = 1;
    window.cmdSave_Click();
    const std::string first = Script();
    window.cmdSave_Click();
    EXPECT_EQ(Script(), first);
    EXPECT_EQ(first, "zolv.exe gunsmoke -j -d256x256");
}

// --- refusals: nothing is touched ----------------------------------------------------------------

TEST_F(MainWindow, NoGameChosenBeepsWarnsAndLeavesTheLastScriptAndDirectory) {
    files.AddFile(kScript, "zolv.exe rtype2 -s");
    window.cmdSave_Click();

    EXPECT_EQ(log.events, (Events{Beep(), Box(48, L"you must select a game directory!!")}));
    EXPECT_EQ(Script(), "zolv.exe rtype2 -s");
    EXPECT_EQ(files.current, L"c:\\windows");
    EXPECT_FALSE(window.SettingsSaved);
}

TEST_F(MainWindow, ARefusalAfterACompletedSaveKeepsTheFlagAndTheUserCanSaveAtOnce) {
    Choose(L"1943");
    window.cmdSave_Click();
    Choose(L"Select Game Directory");
    window.cmdSave_Click();
    EXPECT_TRUE(window.SettingsSaved);
    EXPECT_EQ(Script(), "zolv.exe 1943");

    Choose(L"k1943");
    window.cmdSave_Click();
    EXPECT_EQ(Script(), "zolv.exe k1943");

    log.events.clear();
    window.cmdExecute_Click();
    EXPECT_EQ(log.events, (Events{Start(1, L"start zolvload.bat")}));
}

TEST_F(MainWindow, TextsThatWouldCorruptTheOneLineScriptAreRefusedByName) {
    files.AddFile(kScript, "zolv.exe loth");
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"1943\r\ndel *.*", L"Select Resolution"},
        {L"1943", L" -d320x240\t"},
        {L"\u30b2\u30fc\u30e0", L"Select Resolution"},
        {L"1943", L" -d320\u00d7240\u2009"},
    };
    for (const auto& [game, resolution] : cases) {
        log.events.clear();
        Choose(game, resolution);
        window.cmdSave_Click();
        ASSERT_EQ(log.events.size(), 2u);
        EXPECT_EQ(log.events[0], Beep());
        const std::wstring offending = game == L"1943" ? resolution : game;
        EXPECT_NE(log.events[1].find(L"box 48: "), std::wstring::npos);
        EXPECT_NE(log.events[1].find(L"\"" + offending + L"\""), std::wstring::npos)
            << log.events[1];
    }
    EXPECT_EQ(Script(), "zolv.exe loth");
    EXPECT_EQ(files.current, L"c:\\windows");
    EXPECT_FALSE(window.SettingsSaved);
}

// The command interpreter reads the script in the console's code page, not
// the ANSI one, and runs no line longer than 8,191 of that code page's
// characters; the emulator reads its command line in the ANSI one. A text or
// a line that either would change is refused untouched.
TEST_F(MainWindow, TheLineIsWrittenAsTheInterpreterReadsItOrRefusedBeforeAnythingIsTouched) {
    files.AddFile(kScript, "zolv.exe loth");
    const std::wstring ideographs(4092, L'\u4e00');
    const std::vector<std::pair<std::wstring, std::wstring>> refused = {
        {L"\u00a4 in ANSI only",
         L"The settings were not saved: \"\u00a4 in ANSI only\" contains a character that the "
         L"command interpreter's code page cannot hold, so it cannot be written to zolvload.bat."},
        {L"\u0393 in the console's only",
         L"The settings were not saved: \"\u0393 in the console's only\" contains a character "
         L"that the system's code page cannot hold, so the emulator would not receive it as "
         L"typed."},
        {std::wstring(8192 - 9, L'x'),
         L"The settings were not saved: the line for zolvload.bat would be 8,192 characters "
         L"long, and the command interpreter runs no line longer than 8,191 characters."},
        {ideographs,
         L"The settings were not saved: the line for zolvload.bat would be 8,193 characters "
         L"long (a double-byte character counts as two), and the command interpreter runs no "
         L"line longer than 8,191 characters."},
    };
    for (const auto& [game, message] : refused) {
        log.events.clear();
        Choose(game);
        window.cmdSave_Click();
        EXPECT_EQ(log.events, (Events{Beep(), Box(48, message)}));
        EXPECT_EQ(Script(), "zolv.exe loth");
        EXPECT_EQ(files.current, L"c:\\windows");
        EXPECT_FALSE(window.SettingsSaved);
    }

    log.events.clear();
    const std::vector<std::pair<std::wstring, std::string>> saved = {
        {L"\u00e9t\u00e9 \u00fc", "zolv.exe \x82t\x82 \x81"},
        {std::wstring(8191 - 9, L'x'), "zolv.exe " + std::string(8191 - 9, 'x')},
    };
    for (const auto& [game, bytes] : saved) {
        Choose(game);
        window.cmdSave_Click();
        EXPECT_TRUE(Script() == bytes) << Script().size() << " bytes";
    }
    EXPECT_TRUE(log.events.empty());
    EXPECT_TRUE(window.SettingsSaved);
}

// A directory two levels below c:\games whose path is this many characters long.
std::wstring DirectoryOfLength(std::size_t length) {
    return L"c:\\games\\" + std::wstring(100, L'd') + L"\\" + std::wstring(length - 110, L'e');
}

// Windows makes no directory current beyond 258 characters and opens no file
// by a path beyond 259 without the long-path prefix, which the command
// interpreter does not take: zolvload.bat's path may have 259 at most.
TEST_F(MainWindow, ADirectoryTooDeepForTheScriptIsRefusedBeforeAnythingIsTouched) {
    const std::wstring longest = DirectoryOfLength(246), tooDeep = DirectoryOfLength(247);
    ASSERT_EQ(longest.size(), 246u);
    files.AddDirectory(longest);
    files.AddDirectory(tooDeep);
    files.AddFile(tooDeep + L"\\zolvload.bat", "zolv.exe loth");
    Choose(L"1943");

    dirDir.path = tooDeep;
    window.cmdSave_Click();
    EXPECT_EQ(
        log.events,
        (Events{Beep(),
                Box(48, L"The settings were not saved: the path of the directory\n\n" + tooDeep +
                            L"\n\nis too long for the command interpreter, which "
                            L"cannot run zolvload.bat there. Choose a directory "
                            L"whose path has at most 246 characters.")}));
    EXPECT_EQ(files.files[tooDeep + L"\\zolvload.bat"], "zolv.exe loth");
    EXPECT_EQ(files.current, L"c:\\windows");
    EXPECT_FALSE(window.SettingsSaved);

    log.events.clear();
    dirDir.path = longest;
    window.cmdSave_Click();
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(files.files[longest + L"\\zolvload.bat"], "zolv.exe 1943");
    EXPECT_EQ(files.current, longest);
    EXPECT_TRUE(window.SettingsSaved);
}

// A drive list with no drive chosen (a program started where the list shows
// no drive of) refuses the save rather than ending the program.
TEST_F(MainWindow, NoDriveChosenIsRefusedAndTouchesNothing) {
    drvDrive.noneChosen = true;
    Choose(L"1943");
    window.cmdSave_Click();
    EXPECT_EQ(log.events,
              (Events{Beep(),
                      Box(48, L"The settings were not saved: no drive or directory is chosen.")}));
    EXPECT_EQ(Script(), "<none>");
    EXPECT_EQ(files.current, L"c:\\windows");
    EXPECT_FALSE(window.SettingsSaved);
}

// --- platform failures: the old script survives
// ----------------------------------------------------

class FailedSave : public MainWindow {
protected:
    FailedSave() {
        files.AddFile(kScript, "zolv.exe rtype2 -s");
        Choose(L"1943", L" -d320x240");
    }
    void ExpectNothingChanged(const std::wstring& reasonPart) {
        // The half-made script is discarded before the user is told.
        ASSERT_EQ(log.events.size(), 3u);
        EXPECT_EQ(log.events[0], L"close script");
        EXPECT_EQ(log.events[1], Beep());
        EXPECT_EQ(log.events[2].rfind(L"box 48: The settings were not saved.", 0), 0u)
            << log.events[2];
        EXPECT_NE(log.events[2].find(reasonPart), std::wstring::npos) << log.events[2];
        EXPECT_EQ(Script(), "zolv.exe rtype2 -s");
        EXPECT_EQ(files.files.count(kWork), 0u);
        EXPECT_FALSE(files.scriptOpen());
        EXPECT_EQ(files.current, L"c:\\windows");
        EXPECT_FALSE(window.SettingsSaved);
    }
};

TEST_F(FailedSave, OnAnUnreadableDrive) {
    drvDrive.drive = L"q:";
    files.unreadableDrives.insert(L'q');
    window.cmdSave_Click();
    ExpectNothingChanged(L"q:");
}

// What the user can act on is said in the program's words, naming the
// directory; any other failure keeps the system's (the disk-full case below).
TEST_F(FailedSave, WhenTheDirectoryVanishedBeforeTheSave) {
    files.RemoveDirectory(kGames);
    window.cmdSave_Click();
    ExpectNothingChanged(kGames);
    EXPECT_EQ(log.events.back(),
              Box(48,
                  L"The settings were not saved.\n\nThe directory \"c:\\games\\zolv\" no "
                  L"longer exists. Choose the emulator's directory again in the list."));
}

TEST_F(FailedSave, WhenTheScriptIsHeldByTheGameStillRunning) {
    files.inUse.insert(kScript);
    window.cmdSave_Click();
    ExpectNothingChanged(kGames);
    EXPECT_EQ(log.events.back(),
              Box(48,
                  L"The settings were not saved.\n\nzolvload.bat in \"c:\\games\\zolv\" is in "
                  L"use by another program, perhaps the game, still running. Close it and "
                  L"save again."));
}

TEST_F(FailedSave, WhenAFolderStandsWhereTheScriptMustGo) {
    files.files.erase(kScript);
    files.AddDirectory(kScript);
    window.cmdSave_Click();
    EXPECT_EQ(log.events,
              (Events{L"close script", Beep(),
                      Box(48,
                          L"The settings were not saved.\n\nA folder named zolvload.bat in "
                          L"\"c:\\games\\zolv\" stands where the script must go. Rename or "
                          L"remove that folder and save again.")}));
    EXPECT_EQ(files.directories.count(kScript), 1u);
    EXPECT_EQ(files.files.count(kWork), 0u);
    EXPECT_EQ(files.current, L"c:\\windows");
    EXPECT_FALSE(window.SettingsSaved);
}

TEST_F(FailedSave, WhenTheScriptIsReadOnly) {
    files.readOnly.insert(kScript);
    window.cmdSave_Click();
    ExpectNothingChanged(L"read-only");
}

TEST_F(FailedSave, WhenTheDiskIsFull) {
    files.diskFull = true;
    window.cmdSave_Click();
    ExpectNothingChanged(L"not enough space");
}

TEST_F(FailedSave, AfterACompletedSaveKeepsTheFlagTrue) {
    window.cmdSave_Click();
    files.files[kScript] = "zolv.exe rtype2 -s";
    files.diskFull = true;
    window.cmdSave_Click();
    EXPECT_TRUE(window.SettingsSaved);
    EXPECT_EQ(Script(), "zolv.exe rtype2 -s");
}

// --- running the game ----------------------------------------------------------------------------

TEST_F(MainWindow, BeforeAnySaveEveryPressBeepsThenWarnsAndStartsNothing) {
    window.cmdExecute_Click();
    window.cmdExecute_Click();
    EXPECT_EQ(log.events, (Events{Beep(), Box(48, L"You must click Save Settings first"), Beep(),
                                  Box(48, L"You must click Save Settings first")}));
}

TEST_F(MainWindow, AfterASaveEachPressStartsTheScriptOnce) {
    Choose(L"1943");
    window.cmdSave_Click();
    window.cmdExecute_Click();
    window.cmdExecute_Click();
    EXPECT_EQ(log.events,
              (Events{Start(1, L"start zolvload.bat"), Start(1, L"start zolvload.bat")}));
}

TEST_F(MainWindow, AShellRefusalIsReportedAndTheWindowGoesOn) {
    Choose(L"1943");
    window.cmdSave_Click();
    shell.refuse = true;
    window.cmdExecute_Click();
    ASSERT_EQ(log.events.size(), 2u);
    EXPECT_EQ(log.events[0], Beep());
    EXPECT_EQ(log.events[1], Box(48, L"The game could not be started.\n\nthe shell refused"));
    EXPECT_TRUE(window.SettingsSaved);
}

// --- drive list ----------------------------------------------------------------------------------

TEST_F(MainWindow, PickingAReadableDriveOpensItsCurrentDirectory) {
    files.AddDirectory(L"d:\\roms");
    files.driveCurrent[L'd'] = L"d:\\roms";
    drvDrive.drive = L"d: [GAMES]";
    window.drvDrive_Change();
    EXPECT_EQ(dirDir.path, L"D:\\roms");
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(files.current, L"c:\\windows");  // the list never changes the current directory
}

// A volume's root lists no "." and "..": an empty one, a new USB stick, is an
// empty list, not a missing disk.
TEST_F(MainWindow, AnEmptyDriveOpensAsAnEmptyListWithoutAWarningAndTakesTheScript) {
    files.AddDirectory(L"e:\\");
    files.driveCurrent[L'e'] = L"e:\\";
    drvDrive.drive = L"e:";
    window.drvDrive_Change();
    EXPECT_EQ(dirDir.path, L"E:\\");
    EXPECT_TRUE(log.events.empty());

    Choose(L"1943");
    window.cmdSave_Click();
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(files.files[L"e:\\zolvload.bat"], "zolv.exe 1943");
}

TEST_F(MainWindow, AnUnreadableDriveWarnsOnceAndTheListsStayApartUntilTheNextGoodPick) {
    files.unreadableDrives.insert(L'a');
    drvDrive.drive = L"a:";
    window.drvDrive_Change();
    EXPECT_EQ(
        log.events,
        (Events{Beep(),
                Box(48, L"You must not have a disk in the drive, specify a different drive")}));
    EXPECT_EQ(dirDir.path, kGames);
    EXPECT_EQ(drvDrive.drive, L"a:");

    log.events.clear();
    drvDrive.drive = L"c: [SYSTEM]";
    window.drvDrive_Change();
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(dirDir.path, L"C:\\");
}

// --- menus and shutdown --------------------------------------------------------------------------

TEST_F(MainWindow, AboutShowsTheAboutWindow) {
    window.mnuAbout_Click();
    EXPECT_EQ(log.events, (Events{L"show about"}));
}

TEST_F(MainWindow, ClosingRunsTheOneShutdownSequenceInOrder) {
    bool cancel = false;
    window.Form_Unload(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(log.events, (Events{L"close script", L"unload main", L"unload about", L"end"}));
}

TEST_F(MainWindow, EndProgramUnloadsTheMainWindowAndEnds) {
    window.mnuEnd_Click();
    EXPECT_EQ(log.events, (Events{L"unload main", L"end"}));
}

}  // namespace
}  // namespace zolv::testing
