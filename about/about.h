// The About window's handlers; the window (win32/) hands each event here.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ports.h"

namespace zolv {

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

// The runs of blanks push what follows onto a line of its own in the wrapped labels.
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

    // Starts the system information tool where the registry says it is, or says it cannot.
    void StartSysInfo();

    // A REG_SZ or REG_DWORD value into KeyVal; on any failure KeyVal is emptied and false returned.
    bool GetKeyValue(std::uint32_t KeyRoot, const std::wstring& KeyName,
                     const std::wstring& SubKeyRef, std::wstring& KeyVal);

private:
    AboutView& view_;
    AboutPlatform p_;
};

}  // namespace zolv
