// The About window's state and handlers. The window itself (win32/) creates
// the labels and buttons and hands each event here; it shows the two long
// texts below as they are.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ports.h"

namespace zolv {

// What the handlers touch of the window.
class AboutView {
public:
    virtual ~AboutView() = default;
    virtual void SetCaption(const std::wstring& text) = 0;
    virtual void SetTitle(const std::wstring& text) = 0;    // lblTitle
    virtual void SetVersion(const std::wstring& text) = 0;  // lblVersion
    virtual void Unload() = 0;                              // destroys the window
};

struct AboutPlatform {
    FileSystem& files;
    Registry& registry;
    CodePage& codePage;
    Shell& shell;
    Messages& messages;
};

// The window's two long texts. The runs of blanks in them are for the labels'
// word wrap: they push what follows onto a line of its own.
extern const wchar_t* const kAboutDescription;
extern const wchar_t* const kAboutDisclaimer;

// "Version 0.5.0": plain decimal numbers, no padding.
std::wstring VersionText(std::int16_t major, std::int16_t minor, std::int16_t revision);

class frmAbout {
public:
    frmAbout(AboutView& view, AboutPlatform platform);

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    // Starts the system information tool where the registry says it is, or
    // tells the user it cannot. The window stays open either way.
    void StartSysInfo();

    // Reads a text (REG_SZ) or number (REG_DWORD) value into KeyVal. On any
    // failure KeyVal is emptied and the result is false; the key is closed
    // on every path.
    bool GetKeyValue(std::uint32_t KeyRoot, const std::wstring& KeyName,
                     const std::wstring& SubKeyRef, std::wstring& KeyVal);

private:
    AboutView& view_;
    AboutPlatform p_;
};

}  // namespace zolv
