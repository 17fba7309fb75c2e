#include "launcher/win32/dir_list_box.h"

#include <algorithm>

#include "launcher/messages.h"
#include "platform/win32/ui.h"

namespace zolv {

constexpr int kIndent = 8;  // pixels a level, at 96 DPI
constexpr int kFolderWidth = 14;

void DirListBox::SetPath(const std::wstring& path) {
    list_.SetPath(path);  // throws, keeping the old directory, when the place can't be read
    Refill();
}

void DirListBox::Refill() {
    const std::vector<DirEntry>& entries = list_.Entries();
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    // Room for every entry at once rather than growing a little at a time.
    std::size_t characters = 0;
    for (const DirEntry& entry : entries) characters += entry.name.size() + 1;
    SendMessageW(hwnd_, LB_INITSTORAGE, entries.size(), characters * sizeof(wchar_t));
    // For type-ahead and screen readers: the drawing takes each item from the model.
    for (const DirEntry& entry : entries)
        SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.name.c_str()));
    SendMessageW(hwnd_, LB_SETCURSEL, list_.OpenIndex(), 0);
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
    SetWindowTextW(hwnd_, list_.Path().c_str());
}

void DirListBox::OpenHighlighted() {
    const LRESULT index = SendMessageW(hwnd_, LB_GETCURSEL, 0, 0);
    if (index < 0) return;
    const WaitCursor busy;
    const std::optional<std::wstring> unreadable = list_.Open(static_cast<std::size_t>(index));
    Refill();
    if (unreadable) {
        sound_.Beep();
        messages_.Show(DirectoryUnreadable(*unreadable), kExclamationBox);
    }
}

void DirListBox::SetDpi(int dpi, HFONT font) {
    dpi_ = dpi;
    SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, ItemHeight(font));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

int DirListBox::ItemHeight(HFONT font) const {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return std::max<int>(metrics.tmHeight + 1, Scaled(15));
}

void DirListBox::Draw(const DRAWITEMSTRUCT* item) const {
    const std::vector<DirEntry>& entries = list_.Entries();
    if (item->itemID >= entries.size()) return;  // also the empty list's focus, itemID -1
    const DirEntry& entry = entries[item->itemID];
    HDC dc = item->hDC;
    const bool selected = item->itemState & ODS_SELECTED;
    FillRect(dc, &item->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    // The folder: a body and a tab, pale where the folder is on the open path.
    RECT cell = item->rcItem;
    cell.left += Scaled(2 + kIndent * entry.level);
    const int w = Scaled(kFolderWidth);
    const int top = cell.top + (cell.bottom - cell.top) / 2 - Scaled(5);
    const int bottom = cell.top + (cell.bottom - cell.top) / 2 + Scaled(5);
    HBRUSH fill = CreateSolidBrush(entry.open ? RGB(255, 255, 160) : RGB(224, 192, 64));
    HGDIOBJ oldBrush = SelectObject(dc, fill);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, cell.left, top + Scaled(2), cell.left + w, bottom);
    Rectangle(dc, cell.left, top, cell.left + w / 2, top + Scaled(3));
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(fill);
    cell.left += Scaled(kFolderWidth + 3);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, entry.name.c_str(), static_cast<int>(entry.name.size()), &cell,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    // Windows hides the focus until the keyboard is used, where the user has
    // not asked to see it always (WM_UPDATEUISTATE shows it).
    if ((item->itemState & ODS_FOCUS) && !(item->itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(dc, &item->rcItem);
}

LRESULT DirListBox::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_GETDLGCODE:  // Enter opens, rather than going to the dialog keys
            if (lp && reinterpret_cast<const MSG*>(lp)->message == WM_KEYDOWN && wp == VK_RETURN)
                return DLGC_WANTMESSAGE | CallOriginal(msg, wp, lp);
            break;
        case WM_KEYDOWN:
            if (wp != VK_RETURN) break;
            OpenHighlighted();
            return 0;
        case WM_LBUTTONDBLCLK:
            CallOriginal(msg, wp, lp);
            OpenHighlighted();
            return 0;
        case WM_UPDATEUISTATE:
            // The focus shown or hidden: the focused item is drawn again in
            // full, whether or not the list box would draw its focus alone.
            if (RECT focused;
                (HIWORD(wp) & UISF_HIDEFOCUS) &&
                SendMessageW(hwnd_, LB_GETITEMRECT, SendMessageW(hwnd_, LB_GETCARETINDEX, 0, 0),
                             reinterpret_cast<LPARAM>(&focused)) != LB_ERR)
                InvalidateRect(hwnd_, &focused, TRUE);
            break;
    }
    return NamedControl::Handle(msg, wp, lp);
}

}  // namespace zolv
