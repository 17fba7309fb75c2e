// What the drive list shows for a drive: the letter, a colon, then the label
// or share in brackets where one may be asked for without waking the drive.
#pragma once

#include <string>

namespace zolv {

enum class DriveKind { NoRoot, Unknown, Removable, Fixed, Network, CdRom, RamDisk };

// A removable or CD drive is asked nothing, so that it never spins up or asks
// for a disk; a network drive only its redirector, which does not wait on the server.
enum class DriveName { None, VolumeLabel, RemoteName };
DriveName NameToAsk(DriveKind kind);

// "c: [SYSTEM]", "n: [\\nas\games]", or "c:" alone where the kind shows no
// name or none is known. The letter is in lower case.
std::wstring DriveListText(wchar_t letter, DriveKind kind, const std::wstring& name);

}  // namespace zolv
