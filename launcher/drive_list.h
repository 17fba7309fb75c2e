// What the drive list shows for each drive: the letter and a colon, then the
// volume's label or the network share in brackets where one may be asked for
// without waking the drive. Only the letter is ever read back.
#pragma once

#include <string>

namespace zolv {

enum class DriveKind { NoRoot, Unknown, Removable, Fixed, Network, CdRom, RamDisk };

// What a drive of a kind may be asked for. A removable or CD drive is asked
// nothing, so that it never spins up or asks for a disk; a network drive only
// its local redirector, which does not wait on the server.
enum class DriveName { None, VolumeLabel, RemoteName };
DriveName NameToAsk(DriveKind kind);

// "c: [SYSTEM]", "n: [\\nas\games]", or "c:" alone where the kind shows no
// name or none is known. The letter is in lower case.
std::wstring DriveListText(wchar_t letter, DriveKind kind, const std::wstring& name);

}  // namespace zolv
