#include "tests/ui/probe.h"

#include <cstring>
#include <string>

namespace zolv::ui {

namespace {

// What the probe in the loader last sent back: its kind, 0 for a font, 1 for
// a screen reader's reading, 2 for a combo box's dropped rectangle, 3 for a
// window's answer to WM_GETDPISCALEDSIZE, and its bytes.
ULONG_PTR answerKind;
std::string answer;
bool probeAnswered;

LRESULT CALLBACK ProbeSink(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_COPYDATA) return DefWindowProcW(hwnd, msg, wp, lp);
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    probeAnswered = true;
    answerKind = data->dwData;
    answer.assign(static_cast<const char*>(data->lpData), data->cbData);
    return TRUE;
}

HWND Sink() {
    static HWND sink = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ProbeSink;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZolvFontSink";
        RegisterClassW(&wc);
        return CreateWindowExW(0, wc.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
    }();
    return sink;
}

// Sends a message to a window of the loader with the probe hooked into its
// thread, so that the probe handles it there first.
void SendThroughProbe(HWND window, const wchar_t* message, WPARAM wp, LPARAM lp) {
    static HMODULE probe = [] {
        wchar_t path[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring dll(path, length);
        dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"font_probe.dll";
        return LoadLibraryW(dll.c_str());
    }();
    const auto proc =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "FontProbe")));
    HHOOK hook = proc ? SetWindowsHookExW(WH_CALLWNDPROC, proc, probe,
                                          GetWindowThreadProcessId(window, nullptr))
                      : nullptr;
    if (!hook) return;
    SendMessageW(window, RegisterWindowMessageW(message), wp, lp);
    UnhookWindowsHookEx(hook);
}

}  // namespace

LOGFONTW FontOfControl(HWND control) {
    probeAnswered = false;
    SendThroughProbe(control, L"ZolvFontProbe", reinterpret_cast<WPARAM>(Sink()), 0);
    LOGFONTW font = {};
    if (probeAnswered && answerKind == 0 && answer.size() == sizeof(font))
        memcpy(&font, answer.data(), sizeof(font));
    return font;
}

ScreenReading ReadLikeAScreenReader(HWND control) {
    probeAnswered = false;
    SendThroughProbe(control, L"ZolvNameProbe", reinterpret_cast<WPARAM>(Sink()), 0);
    ScreenReading reading;
    if (!probeAnswered || answerKind != 1) return reading;
    const std::wstring text(reinterpret_cast<const wchar_t*>(answer.data()),
                            answer.size() / sizeof(wchar_t));
    const std::size_t gap = text.find(L'\f');
    const auto split = [](const std::wstring& part, AccessibleObjectReading& into) {
        const std::size_t line = part.find(L'\n');
        into.name = part.substr(0, line);
        if (line != std::wstring::npos) into.rest = part.substr(line + 1);
    };
    split(text.substr(0, gap), reading.handedOut);
    if (gap == std::wstring::npos) return reading;
    const std::size_t second = text.find(L'\f', gap + 1);
    split(text.substr(gap + 1, second - gap - 1), reading.standard);
    if (second != std::wstring::npos) reading.comFaults = text.substr(second + 1);
    return reading;
}

int DroppedHeight(HWND combo) {
    probeAnswered = false;
    SendThroughProbe(combo, L"ZolvDropProbe", reinterpret_cast<WPARAM>(Sink()), 0);
    RECT dropped = {};
    if (!probeAnswered || answerKind != 2 || answer.size() != sizeof(dropped)) return 0;
    memcpy(&dropped, answer.data(), sizeof(dropped));
    return dropped.bottom - dropped.top;
}

void TellDpiChanged(HWND window, int dpi, SIZE suggested) {
    SendThroughProbe(window, L"ZolvDpiProbe", static_cast<WPARAM>(dpi),
                     MAKELPARAM(suggested.cx, suggested.cy));
}

std::optional<SIZE> AskDpiScaledSize(HWND window, int dpi, int from) {
    probeAnswered = false;
    SendThroughProbe(window, L"ZolvDpiSizeProbe", reinterpret_cast<WPARAM>(Sink()),
                     MAKELPARAM(dpi, from));
    struct {
        LRESULT result;
        SIZE size;
    } asked = {};
    if (!probeAnswered || answerKind != 3 || answer.size() != sizeof(asked)) return std::nullopt;
    memcpy(&asked, answer.data(), sizeof(asked));
    if (!asked.result) return std::nullopt;
    return asked.size;
}

}  // namespace zolv::ui
