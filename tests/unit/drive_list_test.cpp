#include "launcher/drive_list.h"

#include <gtest/gtest.h>

#include "launcher/directory_list.h"

namespace zolv::testing {
namespace {

TEST(DriveListText, ShowsANameOnlyWhereOneMayBeAskedForAndAlwaysReadsBackAsTheBareDrive) {
    const struct {
        wchar_t letter;
        DriveKind kind;
        std::wstring name, shown;
        DriveName asked;
    } cases[] = {
        {L'C', DriveKind::Fixed, L"SYSTEM", L"c: [SYSTEM]", DriveName::VolumeLabel},
        {L'g', DriveKind::Fixed, L"", L"g:", DriveName::VolumeLabel},
        {L'r', DriveKind::RamDisk, L"RAM", L"r: [RAM]", DriveName::VolumeLabel},
        {L'n', DriveKind::Network, L"\\\\nas\\games", L"n: [\\\\nas\\games]",
         DriveName::RemoteName},
        {L'm', DriveKind::Network, L"", L"m:", DriveName::RemoteName},
        // Given a name by mistake, these kinds still show none.
        {L'a', DriveKind::Removable, L"FLOPPY", L"a:", DriveName::None},
        {L'e', DriveKind::CdRom, L"DISC", L"e:", DriveName::None},
        {L'u', DriveKind::Unknown, L"X", L"u:", DriveName::None},
        {L'q', DriveKind::NoRoot, L"X", L"q:", DriveName::None},
        // Labels as odd as a volume allows.
        {L'd', DriveKind::Fixed, L" a]b [c", L"d: [ a]b [c]", DriveName::VolumeLabel},
        {L'd', DriveKind::Fixed, L"..\\x", L"d: [..\\x]", DriveName::VolumeLabel},
        {L'd', DriveKind::Fixed, L"GA\tME\r\nS\x7F", L"d: [GAMES]", DriveName::VolumeLabel},
        {L'd', DriveKind::Fixed, L"   ", L"d:", DriveName::VolumeLabel},
        {L'd', DriveKind::Fixed, L"\n", L"d:", DriveName::VolumeLabel},
    };
    for (const auto& c : cases) {
        const std::wstring text = DriveListText(c.letter, c.kind, c.name);
        EXPECT_EQ(text, c.shown);
        EXPECT_EQ(NameToAsk(c.kind), c.asked) << static_cast<int>(c.kind);
        EXPECT_EQ(PathFromListText(text), c.shown.substr(0, 2)) << "the list opens the bare drive";
    }
}

}  // namespace
}  // namespace zolv::testing
