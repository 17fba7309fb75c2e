#include "launcher/drive_list.h"

#include <algorithm>
#include <iterator>

namespace zolv {

DriveName NameToAsk(DriveKind kind) {
    if (kind == DriveKind::Fixed || kind == DriveKind::RamDisk) return DriveName::VolumeLabel;
    return kind == DriveKind::Network ? DriveName::RemoteName : DriveName::None;
}

std::wstring DriveListText(wchar_t letter, DriveKind kind, const std::wstring& name) {
    if (letter >= L'A' && letter <= L'Z') letter = static_cast<wchar_t>(letter - L'A' + L'a');
    std::wstring text{letter, L':'};
    if (NameToAsk(kind) == DriveName::None) return text;
    // A label is whatever the volume says it is; a line break or a tab in it
    // would break the list's one line.
    std::wstring shown;
    std::copy_if(name.begin(), name.end(), std::back_inserter(shown),
                 [](wchar_t ch) { return ch >= 0x20 && ch != 0x7F; });
    if (shown.find_first_not_of(L' ') == std::wstring::npos) return text;
    return text + L" [" + shown + L"]";
}

}  // namespace zolv
