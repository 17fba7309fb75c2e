// The directory list, on a list box made with LBS_OWNERDRAWFIXED | LBS_HASSTRINGS. Double-click
// or Enter opens the highlighted entry; highlighting leaves the open path, its window text, alone.
#pragma once

#include "launcher/directory_list.h"
#include "launcher/launcher.h"
#include "platform/win32/screen_reader_name.h"

namespace zolv {

class DirListBox : public DirListView, public NamedControl {
public:
    DirListBox(FileSystem& files, Sound& sound, Messages& messages)
        : list_(files), sound_(sound), messages_(messages) {}

    std::wstring Path() override { return list_.Path(); }
    void SetPath(const std::wstring& path) override;

    // At creation and after a change of DPI: the items' height follows the font.
    void SetDpi(int dpi, HFONT font);

    void Measure(MEASUREITEMSTRUCT* item, HFONT font) const { item->itemHeight = ItemHeight(font); }
    void Draw(const DRAWITEMSTRUCT* item) const;

private:
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;
    void OpenHighlighted();
    void Refill();
    int ItemHeight(HFONT font) const;
    int Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }

    DirectoryList list_;
    Sound& sound_;
    Messages& messages_;
    int dpi_ = 96;
};

}  // namespace zolv
