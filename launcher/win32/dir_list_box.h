// The directory list: a standard LISTBOX, owner-drawn with folders indented
// by depth, over the portable DirectoryList. Double-click or Enter opens the
// highlighted entry; merely highlighting one leaves the open path alone. The
// list's window text is its open path, so that screen readers and tests can
// read it.
#pragma once

#include <windows.h>

#include "launcher/directory_list.h"
#include "launcher/launcher.h"
#include "platform/win32/screen_reader_name.h"

namespace zolv {

class DirListBox : public DirListView {
public:
    DirListBox(FileSystem& files, Sound& sound, Messages& messages)
        : list_(files), sound_(sound), messages_(messages) {}

    // Takes over a listbox made with LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
    // giving it the name a screen reader calls it by.
    void Attach(HWND listbox, const wchar_t* screenReaderName);
    HWND hwnd() const { return hwnd_; }

    std::wstring Path() override { return list_.Path(); }
    void SetPath(const std::wstring& path) override;

    // The DPI the folders are drawn for and the font of the items, whose
    // height follows it: at creation and after a change of DPI.
    void SetDpi(int dpi, HFONT font);

    // Sent to the parent, which hands them on.
    void Measure(MEASUREITEMSTRUCT* item, HFONT font) const;
    void Draw(const DRAWITEMSTRUCT* item) const;

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);
    void OpenHighlighted();
    void Refill();
    int ItemHeight(HFONT font) const;
    int Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }

    DirectoryList list_;
    Sound& sound_;
    Messages& messages_;
    HWND hwnd_ = nullptr;
    WNDPROC listProc_ = nullptr;
    ScreenReaderName screenReaderName_;
    int dpi_ = 96;
};

}  // namespace zolv
