#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "tests/ui/driver.h"

namespace zolv::ui {
namespace {

void Probe(const wchar_t* face, int hp, bool bold, BYTE cs, const std::wstring& text, int width) {
    HDC dc = GetDC(nullptr);
    HFONT f = CreateFontW(-MulDiv(hp, 96, 7200), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, cs,
                          0, 0, 0, 0, face);
    HGDIOBJ old = SelectObject(dc, f);
    wchar_t got[64];
    GetTextFaceW(dc, 64, got);
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    RECT r = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    printf("%ls -> %ls h=%ld ave=%ld charset=%d pitch=%x  text h=%ld w=%ld\n", face, got, tm.tmHeight,
           tm.tmAveCharWidth, tm.tmCharSet, tm.tmPitchAndFamily, r.bottom, r.right);
    SelectObject(dc, old);
    DeleteObject(f);
    ReleaseDC(nullptr, dc);
}

TEST(Peek, About) {
    TempDir temp;
    Loader app{temp.path()};
    PostMessageW(app.main(), WM_COMMAND, IDM_ABOUT, 0);
    app.Idle();
    HWND about = app.FindWindowByCaption(L"About ZOLV Loader");
    std::wstring d = Text(GetDlgItem(about, IDC_DESCRIPTION));
    std::wstring s = Text(GetDlgItem(about, IDC_DISCLAIMER));
    for (const wchar_t* face : {L"MS Sans Serif", L"Microsoft Sans Serif", L"Tahoma", L"MS Shell Dlg"}) {
        Probe(face, 800, false, DEFAULT_CHARSET, d, Px(3045));
        Probe(face, 800, false, ANSI_CHARSET, d, Px(3045));
        Probe(face, 800, false, DEFAULT_CHARSET, s, Px(3255));
    }
    Probe(L"Terminal", 1350, true, OEM_CHARSET, L"ZOLV Loader", Px(1965));
    Probe(L"Terminal", 900, true, OEM_CHARSET, L"ZOLV Loader", Px(1965));
    Probe(L"System", 975, true, DEFAULT_CHARSET, L"ZOLV Loader", Px(1965));
}

}  // namespace
}  // namespace zolv::ui
