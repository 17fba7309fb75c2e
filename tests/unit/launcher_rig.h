// The main window's logic wired to fakes of its controls and of the
// platform, over a file system and code page of the test's choosing: the
// in-memory fakes, or the real Win32 ones. Every fake records into `log`.
#pragma once

#include <gtest/gtest.h>

#include <type_traits>

#include "launcher/launcher.h"
#include "tests/unit/fakes.h"

namespace zolv::testing {

template <class Files, class Codes>
class LauncherRig : public ::testing::Test {
protected:
    Recorder log;
    Files files = MakeFiles(log);
    Codes codePage;
    FakeShell shell{log};
    FakeSound sound{log};
    FakeMessages messages{log};
    FakeWindow commands{log};
    FakeCombo cboGameDir, cboRes;
    FakeDrive drvDrive;
    FakeDirList dirDir{files};
    FakeCheck chkNoSound, chkEnableV, chkFrame, chkScan, chkSkip, chkRotate, chkFM, chkJoyStick;
    frmTindrel window{{cboGameDir, cboRes, drvDrive, dirDir, chkNoSound, chkEnableV, chkFrame,
                       chkScan, chkSkip, chkRotate, chkFM, chkJoyStick},
                      {files, codePage, shell, sound, messages, commands}};

private:
    // The fake file system records too; the real one has nothing to record into.
    static Files MakeFiles(Recorder& log) {
        if constexpr (std::is_constructible_v<Files, Recorder&>) {
            return Files{log};
        } else {
            return Files{};
        }
    }
};

}  // namespace zolv::testing
