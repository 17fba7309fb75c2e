#include "platform/win32/ui.h"

namespace zolv {

HFONT MakeFont(const wchar_t* face, int hundredthsOfPoint, bool bold, BYTE charset, int dpi) {
    return CreateFontW(-MulDiv(hundredthsOfPoint, dpi, 7200), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL,
                       FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void DrawWrapped(HDC dc, const std::wstring& text, const RECT& box) {
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    const int width = box.right - box.left;
    int x = 0, y = 0;
    for (std::size_t start = 0; start < text.size();) {
        const bool blank = text[start] == L' ';
        std::size_t end = start;
        while (end < text.size() && (text[end] == L' ') == blank) ++end;
        SIZE extent;
        GetTextExtentPoint32W(dc, text.data() + start, static_cast<int>(end - start), &extent);
        if (x > 0 && x + extent.cx > width) {
            x = 0;
            y += metrics.tmHeight;
            if (blank) {
                start = end;
                continue;
            }
        }
        if (!blank) {
            ExtTextOutW(dc, box.left + x, box.top + y, ETO_CLIPPED, &box, text.data() + start,
                        static_cast<UINT>(end - start), nullptr);
        }
        x += extent.cx;
        start = end;
    }
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace zolv
