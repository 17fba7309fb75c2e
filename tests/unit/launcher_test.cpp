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

// Each names the text and every character that cannot be written, once,
// showing a blank or invisible one by its number.
TEST_F(MainWindow, TextsThatWouldCorruptTheOneLineScriptAreRefusedByName) {
    files.AddFile(kScript, "zolv.exe loth");
    const std::wstring controls =
        L" has a line break, a tab or another control character, which cannot stand in the one "
        L"line of zolvload.bat. Take it out of the text and save again. Nothing was changed.";
    const std::wstring console =
        L". The command prompt that starts the game reads the script in a character set of its "
        L"own, which on this Windows lacks them. Take them out of the text and save again. "
        L"Nothing was changed.";
    const struct {
        std::wstring game, resolution, message;
    } cases[] = {
        {L"1943\r\ndel *.*", L"Select Resolution",
         L"The settings were not saved: \"1943\r\ndel *.*\"" + controls},
        {L"1943", L" -d320x240\t", L"The settings were not saved: \" -d320x240\t\"" + controls},
        {L"\u30b2\u30fc\u30e0\u30b2\u30fc", L"Select Resolution",
         L"The settings were not saved: \"\u30b2\u30fc\u30e0\u30b2\u30fc\" has characters that "
         L"zolvload.bat cannot hold: \"\u30b2\", \"\u30fc\" and \"\u30e0\"" +
             console},
        {L"1943", L" -d320\u00d7240\u2009",
         L"The settings were not saved: \" -d320\u00d7240\u2009\" has characters that "
         L"zolvload.bat cannot hold: \"\u00d7\" and U+2009 (a blank or invisible character)" +
             console},
    };
    for (const auto& c : cases) {
        log.events.clear();
        Choose(c.game, c.resolution);
        window.cmdSave_Click();
        EXPECT_EQ(log.events, (Events{Beep(), Box(48, c.message)}));
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
    const std::wstring tooLong =
        L", and the command prompt runs no line longer than 8,191 characters. Shorten the game "
        L"or resolution text and save again. Nothing was changed.";
    const std::vector<std::pair<std::wstring, std::wstring>> refused = {
        {L"\u00a4 in ANSI only",
         L"The settings were not saved: \"\u00a4 in ANSI only\" has a character that "
         L"zolvload.bat cannot hold: \"\u00a4\". The command prompt that starts the game reads "
         L"the script in a character set of its own, which on this Windows lacks it. Take it out "
         L"of the text and save again. Nothing was changed."},
        {L"\u0393 in the console's only",
         L"The settings were not saved: \"\u0393 in the console's only\" has a character that "
         L"the emulator would not receive as typed: \"\u0393\". The emulator reads its command "
         L"line in the character set of Windows' \"Language for non-Unicode programs\", which on "
         L"this Windows lacks it. Take it out of the text and save again. Nothing was changed."},
        {std::wstring(8192 - 9, L'x'),
         L"The settings were not saved: the line for zolvload.bat would be 8,192 characters "
         L"long" +
             tooLong},
        {ideographs,
         L"The settings were not saved: the line for zolvload.bat would be 8,193 characters "
         L"long (a double-byte character counts as two)" +
             tooLong},
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

// Where the console's code page is UTF-8, the interpreter decodes the line
// before it measures it: its 8,191 are UTF-16 units, whatever the bytes, and a
// character beyond the first 65,536 takes two.
TEST_F(MainWindow, WhereTheConsoleIsUtf8TheLineIsCountedInCharactersNotBytes) {
    codePage.utf8 = true;
    const std::wstring longest = std::wstring(8180, L'\u4e00') + L"\U0001F600";
    Choose(longest);
    window.cmdSave_Click();
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(Script().size(), 9u + 8180u * 3u + 4u);
    EXPECT_EQ(Script().substr(0, 12), "zolv.exe \xe4\xb8\x80");
    EXPECT_EQ(Script().substr(Script().size() - 4), "\xf0\x9f\x98\x80");

    Choose(L"\u4e00" + longest);
    window.cmdSave_Click();
    EXPECT_EQ(
        log.events,
        (Events{Beep(), Box(48,
                            L"The settings were not saved: the line for zolvload.bat would be "
                            L"8,192 characters long, and the command prompt runs no line "
                            L"longer than 8,191 characters. Shorten the game or resolution "
                            L"text and save again. Nothing was changed.")}));
    EXPECT_EQ(Script().size(), 9u + 8180u * 3u + 4u);
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
                            L"\n\nis too long for the command prompt, which cannot run "
                            L"zolvload.bat there. Choose a directory whose path has at most "
                            L"246 characters, then save again. Nothing was changed.")}));
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
    drvDrive.drive.clear();
    Choose(L"1943");
    window.cmdSave_Click();
    EXPECT_EQ(log.events,
              (Events{Beep(), Box(48,
                                  L"The settings were not saved: no drive or directory is "
                                  L"chosen. Choose the emulator's drive in the drive list "
                                  L"and its directory in the directory list, then save again. "
                                  L"Nothing was changed.")}));
    EXPECT_EQ(Script(), "<none>");
    EXPECT_EQ(files.current, L"c:\\windows");
    EXPECT_FALSE(window.SettingsSaved);
}

// Started from a network folder (a double-click in Explorer on
// \\nas\games\zolv), the lists show it with no drive chosen, or with a drive
// that could not be read; the command prompt cannot run the script there.
TEST_F(MainWindow, ANetworkFolderWithNoDriveLetterIsRefusedAndSaysToMapIt) {
    const std::wstring share = L"\\\\nas\\games\\zolv";
    files.AddDirectory(share);
    dirDir.path = share;
    Choose(L"1943");
    const std::wstring message =
        L"The settings were not saved: \"\\\\nas\\games\\zolv\" is a network folder with no "
        L"drive letter, and the command prompt that starts the game cannot run zolvload.bat "
        L"from such a folder. Map the network folder to a drive letter (in Explorer, \"Map "
        L"network drive\"), choose that drive in the drive list and the emulator's directory in "
        L"the directory list, then save again. Nothing was changed.";
    for (const wchar_t* drive : {L"", L"c: [SYSTEM]"}) {
        log.events.clear();
        drvDrive.drive = drive;
        window.cmdSave_Click();
        EXPECT_EQ(log.events, (Events{Beep(), Box(48, message)}));
    }
    EXPECT_EQ(files.files.count(share + L"\\zolvload.bat"), 0u);
    EXPECT_EQ(files.current, L"c:\\windows");
    EXPECT_FALSE(window.SettingsSaved);
}

// --- platform failures: the old script survives
// ----------------------------------------------------

constexpr const wchar_t* kKept = L"The last zolvload.bat in \"c:\\games\\zolv\" is kept as it was.";

class FailedSave : public MainWindow {
protected:
    FailedSave() {
        files.AddFile(kScript, "zolv.exe rtype2 -s");
        Choose(L"1943", L" -d320x240");
    }
    // The half-made script is discarded before the user is told what went
    // wrong and what to do, and that the last script is kept.
    void ExpectNothingChanged(const std::wstring& cause, const std::wstring& kept = kKept) {
        EXPECT_EQ(log.events,
                  (Events{L"close script", Beep(),
                          Box(48, L"The settings were not saved.\n\n" + cause + L"\n\n" + kept)}));
        if (kept == kKept) {
            EXPECT_EQ(Script(), "zolv.exe rtype2 -s");
        }
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
    ExpectNothingChanged(
        L"The drive q: cannot be read. Choose a drive that can be read in the drive list, and "
        L"the emulator's directory in the directory list, then save again.");
}

// What the user can act on is said in the program's words, naming the
// directory; any other failure keeps the system's.
TEST_F(FailedSave, WhenTheDirectoryVanishedBeforeTheSave) {
    files.RemoveDirectory(kGames);
    window.cmdSave_Click();
    ExpectNothingChanged(
        L"The directory \"c:\\games\\zolv\" no longer exists. Choose the "
        L"emulator's directory again in the directory list, then save again.",
        L"Nothing was written.");
}

// Windows' command interpreter does not hold the script between lines;
// Wine's holds it while the game runs.
TEST_F(FailedSave, WhenTheScriptIsHeldByAnotherProgram) {
    files.inUse.insert(kScript);
    window.cmdSave_Click();
    ExpectNothingChanged(
        L"zolvload.bat in \"c:\\games\\zolv\" is open in another program, such as an editor or a "
        L"virus scanner. Close that program, and the game if it is still running, then save "
        L"again.");
}

TEST_F(FailedSave, WhenAFolderStandsWhereTheScriptMustGo) {
    files.files.erase(kScript);
    files.AddDirectory(kScript);
    window.cmdSave_Click();
    ExpectNothingChanged(
        L"A folder named zolvload.bat in \"c:\\games\\zolv\" stands where the "
        L"script must go. Rename or remove that folder and save again.",
        L"Nothing was written.");
    EXPECT_EQ(files.directories.count(kScript), 1u);
}

TEST_F(FailedSave, WhenTheScriptIsReadOnly) {
    files.readOnly.insert(kScript);
    window.cmdSave_Click();
    ExpectNothingChanged(
        L"zolvload.bat in \"c:\\games\\zolv\" is read-only. Clear \"Read-only\" in its "
        L"Properties (right-click the file in Explorer), then save again.");
}

// As under Program Files for a standard user: the program runs as invoked,
// so Windows does not redirect the write elsewhere.
TEST_F(FailedSave, WhenWindowsDoesNotLetTheUserChangeFilesThere) {
    files.notAllowed.insert(kGames);
    window.cmdSave_Click();
    ExpectNothingChanged(
        L"Windows does not let this user change files in \"c:\\games\\zolv\" (folders such as "
        L"Program Files only an administrator may change). Put the emulator in a folder of your "
        L"own, such as one in Documents or C:\\Games, choose that folder in the directory list, "
        L"then save again.");
}

TEST_F(FailedSave, WhenTheDiskIsFullOrTheWriteFailsOtherwise) {
    files.diskFull = true;
    window.cmdSave_Click();
    ExpectNothingChanged(
        L"There is not enough free space on the drive for zolvload.bat in \"c:\\games\\zolv\". "
        L"Free some space on that drive, or choose a directory on another drive, then save "
        L"again.");

    log.events.clear();
    files.diskFull = false;
    files.writeFailure = L"The request could not be performed because of an I/O device error.";
    window.cmdSave_Click();
    ExpectNothingChanged(L"zolvload.bat could not be written in \"c:\\games\\zolv\": " +
                         files.writeFailure +
                         L"\n\nSave again, or choose a directory on another drive.");
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
    EXPECT_EQ(log.events[1], Box(48,
                                 L"The game could not be started.\n\nThe command interpreter "
                                 L"\"C:\\windows\\cmd.exe\" could not run \"start "
                                 L"zolvload.bat\": Access is denied."));
    EXPECT_TRUE(window.SettingsSaved);
}

// --- drive list ----------------------------------------------------------------------------------

// A volume's root lists no "." and "..": an empty one, a new USB stick, is an
// empty list, not a missing disk, and takes the script.
TEST_F(MainWindow, PickingAReadableDriveOpensItsCurrentDirectoryAnEmptyRootToo) {
    files.AddDirectory(L"d:\\roms");
    files.driveCurrent[L'd'] = L"d:\\roms";
    files.AddDirectory(L"e:\\");
    files.driveCurrent[L'e'] = L"e:\\";
    for (const auto& [drive, opened] : {std::pair{L"d: [GAMES]", L"D:\\roms"}, {L"e:", L"E:\\"}}) {
        drvDrive.drive = drive;
        window.drvDrive_Change();
        EXPECT_EQ(dirDir.path, opened);
    }
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(files.current, L"c:\\windows");  // the list never changes the current directory

    Choose(L"1943");
    window.cmdSave_Click();
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(files.files[L"e:\\zolvload.bat"], "zolv.exe 1943");
}

// As is a pick that leaves no drive chosen.
TEST_F(MainWindow, AnUnreadableDriveWarnsOnceAndTheListsStayApartUntilTheNextGoodPick) {
    files.unreadableDrives.insert(L'a');
    for (const wchar_t* drive : {L"a:", L""}) {
        log.events.clear();
        drvDrive.drive = drive;
        window.drvDrive_Change();
        EXPECT_EQ(log.events,
                  (Events{Beep(), Box(48,
                                      L"You must not have a disk in the drive, specify a "
                                      L"different drive")}));
        EXPECT_EQ(dirDir.path, kGames);
    }

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
