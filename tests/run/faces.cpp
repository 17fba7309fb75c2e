// Which face this Wine prefix's font mapper gives for the bitmap faces that
// Wine ships of those the windows are designed in, and whether Marlett, which
// draws the title-bar buttons, is there: one line each. Exits 0 when each face
// comes back as itself and Marlett is there. (Wine ships no Terminal.)
#include <windows.h>

#include <cstdio>
#include <initializer_list>

namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

}  // namespace

int wmain() {
    HDC dc = CreateCompatibleDC(nullptr);
    int wrong = 0;
    for (const wchar_t* face : {L"MS Sans Serif", L"System"}) {
        HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, face);
        HGDIOBJ old = SelectObject(dc, font);
        wchar_t got[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, got);
        SelectObject(dc, old);
        DeleteObject(font);
        std::printf("%ls: %ls\n", face, got);
        if (lstrcmpiW(got, face) != 0) ++wrong;
    }
    LOGFONTW marlett = {};
    marlett.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(marlett.lfFaceName, L"Marlett");
    bool found = false;
    EnumFontFamiliesExW(dc, &marlett, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
    std::printf("Marlett: %s\n", found ? "there" : "missing");
    DeleteDC(dc);
    return wrong == 0 && found ? 0 : 1;
}
