// The save, the launch and the directory list over the real Win32 file
// system, on real files in a directory of the test's own.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "launcher/directory_list.h"
#include "launcher/launcher.h"
#include "platform/win32/win32_platform.h"
#include "tests/file_bytes.h"
#include "tests/unit/launcher_rig.h"

namespace zolv::testing {
namespace {

std::wstring Current() {
    wchar_t buffer[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, buffer);
    return buffer;
}

int FilesIn(const std::wstring& directory) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((directory + L"\\*").c_str(), &found);
    int count = 0;
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return count;
}

class RealFiles : public LauncherRig<Win32FileSystem, Win32CodePage> {
protected:
    RealFiles() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root = std::wstring(temp) + L"zolv-files-" + std::to_wstring(GetCurrentProcessId());
        games = root + L"\\games";
        script = games + L"\\zolvload.bat";
        CreateDirectoryW(root.c_str(), nullptr);
        CreateDirectoryW(games.c_str(), nullptr);
        started = Current();
        SetCurrentDirectoryW(root.c_str());
        drvDrive.drive = std::wstring{root[0], L':'};
        dirDir.path = games;
        window.Form_Load();
        cboGameDir.text = L"1943";
        cboRes.text = L" -d320x240";
        chkNoSound.value = 1;
        chkRotate.value = 1;
    }
    ~RealFiles() override {
        SetCurrentDirectoryW(started.c_str());
        SetFileAttributesW(script.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(script.c_str());
        RemoveDirectoryW(games.c_str());
        RemoveDirectoryW(root.c_str());
    }

    void ExpectRefusedWithOldScript(const std::string& old) {
        ASSERT_EQ(log.events.size(), 2u);
        EXPECT_EQ(log.events[0], Beep());
        EXPECT_EQ(log.events[1].rfind(L"box 48: The settings were not saved.", 0), 0u)
            << log.events[1];
        EXPECT_EQ(log.events[1].find(L".saving"), std::wstring::npos)
            << "the file the new script is written in is never named";
        const std::wstring kept =
            old == "<missing>" ? L"Nothing was written."
                               : L"The last zolvload.bat in \"" + games + L"\" is kept as it was.";
        EXPECT_EQ(log.events[1].substr(log.events[1].size() - kept.size()), kept) << log.events[1];
        EXPECT_EQ(ReadFileBytes(script), old);
        EXPECT_EQ(_wcsicmp(Current().c_str(), root.c_str()), 0)
            << "the current directory is put back";
        EXPECT_FALSE(window.SettingsSaved);
    }

    std::wstring root, games, script, started;
};

TEST_F(RealFiles, SaveReplacesTheScriptWithExactlyTheCommandLine) {
    WriteFileBytes(script, "zolv.exe a much longer script from an earlier run\r\n");
    window.cmdSave_Click();
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(ReadFileBytes(script), "zolv.exe 1943 -s -r -d320x240");
    EXPECT_EQ(_wcsicmp(Current().c_str(), games.c_str()), 0);
    EXPECT_EQ(FilesIn(games), 1) << "nothing but the script is left in the directory";
    EXPECT_TRUE(window.SettingsSaved);
}

TEST_F(RealFiles, AReadOnlyScriptIsLeftAsItWas) {
    WriteFileBytes(script, "zolv.exe rtype2");
    SetFileAttributesW(script.c_str(), FILE_ATTRIBUTE_READONLY);
    window.cmdSave_Click();
    ExpectRefusedWithOldScript("zolv.exe rtype2");
    EXPECT_NE(log.events[1].find(L"read-only"), std::wstring::npos) << log.events[1];
    EXPECT_EQ(FilesIn(games), 1);
}

TEST_F(RealFiles, ADirectoryRemovedBeforeTheSaveIsReported) {
    RemoveDirectoryW(games.c_str());
    window.cmdSave_Click();
    ExpectRefusedWithOldScript("<missing>");
    EXPECT_NE(log.events[1].find(L"The directory \"" + games + L"\" no longer exists."),
              std::wstring::npos)
        << "the message names the directory";
}

// Both are refused by Wine as "access denied", and by Windows too where the
// script is held without leave to delete it; the message tells them apart.
// A hold of a moment, as a virus scanner's of a file just written, is waited out.
TEST_F(RealFiles, AFolderInTheWayAndAScriptInUseAreToldApartAndAMomentsHoldIsWaitedOut) {
    ASSERT_TRUE(CreateDirectoryW(script.c_str(), nullptr));
    window.cmdSave_Click();
    ExpectRefusedWithOldScript("<missing>");
    EXPECT_NE(log.events[1].find(L"A folder named zolvload.bat in \"" + games + L"\" stands"),
              std::wstring::npos)
        << log.events[1];
    RemoveDirectoryW(script.c_str());

    // Held for as long as the command interpreter holds a running script.
    WriteFileBytes(script, "zolv.exe rtype2");
    const auto hold = [&] {
        return CreateFileW(script.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    };
    HANDLE held = hold();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    log.events.clear();
    const DWORD start = GetTickCount();
    window.cmdSave_Click();
    const DWORD waited = GetTickCount() - start;
    CloseHandle(held);
    EXPECT_LT(waited, 5000u) << "Windows calls a window busy that long not responding";
    ExpectRefusedWithOldScript("zolv.exe rtype2");
    EXPECT_NE(log.events[1].find(L"zolvload.bat in \"" + games + L"\" is open in another program"),
              std::wstring::npos)
        << log.events[1];
    EXPECT_EQ(FilesIn(games), 1) << "the new script is not left beside it";

    // Held for a third of a second by another program, without leave to delete it.
    held = hold();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread letGo([held] {
        Sleep(300);
        CloseHandle(held);
    });
    log.events.clear();
    window.cmdSave_Click();
    letGo.join();
    EXPECT_TRUE(log.events.empty()) << "the save waited until the script was let go";
    EXPECT_EQ(ReadFileBytes(script), "zolv.exe 1943 -s -r -d320x240");
    EXPECT_EQ(FilesIn(games), 1);
    EXPECT_TRUE(window.SettingsSaved);
}

TEST_F(RealFiles, ACharacterOutsideTheCodePageIsRefusedBeforeAnythingIsTouched) {
    WriteFileBytes(script, "zolv.exe rtype2");
    cboGameDir.text = L"\u4e00\u4e8c";
    window.cmdSave_Click();
    ASSERT_EQ(log.events.size(), 2u);
    EXPECT_NE(log.events[1].find(L"\"\u4e00\u4e8c\""), std::wstring::npos);
    EXPECT_EQ(ReadFileBytes(script), "zolv.exe rtype2");
    EXPECT_EQ(_wcsicmp(Current().c_str(), root.c_str()), 0);
}

// The script goes out in the console's code page and the registry's strings
// come in the ANSI one; the test session's locale gives 437 and 1252
// (tools/wine-session.sh). A character either cannot hold, exactly, is
// refused, never a look-alike or a '?'.
TEST(Win32CodePageTest, TheScriptSideIsTheConsolesAndTheRegistrySideStaysAnsi) {
    Win32CodePage codePage;
    EXPECT_EQ(codePage.ToConsole(L"\u00e9t\u00e9 \u00fc"), "\x82t\x82 \x81");
    EXPECT_EQ(codePage.ToAnsi(L"\u00e9t\u00e9 \u00fc"), "\xe9t\xe9 \xfc");
    EXPECT_FALSE(codePage.ToConsole(L"\u00a4")) << "in the ANSI code page only";
    EXPECT_FALSE(codePage.ToAnsi(L"\u0393")) << "in the console's code page only";
    EXPECT_FALSE(codePage.ConsoleIsUtf8()) << "437 counts a line in bytes";
    const std::wstring loneSurrogate{L'?', static_cast<wchar_t>(0xD800)};
    for (const std::wstring& text : {std::wstring(L"\u0101"), std::wstring(L"\u2009"),
                                     std::wstring(L"a\u4e00"), loneSurrogate}) {
        EXPECT_FALSE(codePage.ToConsole(text)) << "best fit or default character";
        EXPECT_FALSE(codePage.ToAnsi(text)) << "best fit or default character";
    }
}

// The ports word nothing: a failure carries the system's own words and what it is about.
TEST(Win32ShellTest, AProgramThatCannotStartGivesTheSystemsReasonAndItsPath) {
    const std::wstring missing = L"C:\\nowhere\\zolv.exe";
    try {
        Win32Shell().StartProgram(missing, kNormalFocus);
        ADD_FAILURE() << "a missing program started";
    } catch (const PlatformError& error) {
        EXPECT_TRUE(error.reason() == SystemReason(ERROR_PATH_NOT_FOUND) ||
                    error.reason() == SystemReason(ERROR_FILE_NOT_FOUND))
            << std::string(error.reason().begin(), error.reason().end());
        EXPECT_EQ(error.path(), missing);
    }
}

TEST_F(RealFiles, TheDirectoryListFollowsADriveWithoutChangingTheCurrentDirectory) {
    DirectoryList list(files);
    list.SetPath(games);
    ASSERT_EQ(list.Entries().back().name, L"games");
    list.SetPath(drvDrive.drive + L" [label]");
    EXPECT_EQ(_wcsicmp(list.Path().c_str(), root.c_str()), 0)
        << "a bare drive opens its current directory, not "
        << std::string(list.Path().begin(), list.Path().end());
    EXPECT_EQ(_wcsicmp(Current().c_str(), root.c_str()), 0);
    bool listed = false;
    for (const DirEntry& entry : list.Entries())
        listed = listed || (!entry.open && entry.name == L"games");
    EXPECT_TRUE(listed);
}

}  // namespace
}  // namespace zolv::testing
