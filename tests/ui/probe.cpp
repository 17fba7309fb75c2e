#include "tests/ui/probe.h"

#include <cstring>
#include <string>

namespace zolv::ui {

namespace {

// What the probe in the loader last sent back: its kind (font_probe.cpp's
// numbers) and its bytes.
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

// The probe hooked into the thread of a window of the loader, for as long as this lives.
class ProbeHook {
public:
    explicit ProbeHook(HWND window) {
        static HMODULE probe = [] {
            wchar_t path[MAX_PATH];
            const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
            std::wstring dll(path, length);
            dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"font_probe.dll";
            return LoadLibraryW(dll.c_str());
        }();
        const auto proc =
            reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "FontProbe")));
        const DWORD thread = GetWindowThreadProcessId(window, nullptr);
        hook_ = proc && thread ? SetWindowsHookExW(WH_CALLWNDPROC, proc, probe, thread) : nullptr;
    }
    ~ProbeHook() {
        if (hook_) UnhookWindowsHookEx(hook_);
    }
    ProbeHook(const ProbeHook&) = delete;
    ProbeHook& operator=(const ProbeHook&) = delete;
    explicit operator bool() const { return hook_ != nullptr; }

private:
    HHOOK hook_ = nullptr;
};

// Sends a message to a window of the loader with the probe hooked into its
// thread, so that the probe handles it there first.
void SendThroughProbe(HWND window, const wchar_t* message, WPARAM wp, LPARAM lp) {
    const ProbeHook hook(window);
    if (hook) SendMessageW(window, RegisterWindowMessageW(message), wp, lp);
}

// Waits for an event and meanwhile takes the messages other threads send this
// one, as a thread that waits in SendMessage does: the loader may be sending
// it a screen reader's event just then.
bool WaitTakingSentMessages(HANDLE event, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent > milliseconds) return false;
        const DWORD woken =
            MsgWaitForMultipleObjects(1, &event, FALSE, milliseconds - spent, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0) return true;
        if (woken != WAIT_OBJECT_0 + 1) return false;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// Asks the probe, which answers with a kind and its bytes; false where it sent
// back nothing of that kind, or, for a fixed-size answer, not of its size.
bool Ask(HWND window, const wchar_t* message, ULONG_PTR kind, LPARAM lp = 0) {
    probeAnswered = false;
    SendThroughProbe(window, message, reinterpret_cast<WPARAM>(Sink()), lp);
    return probeAnswered && answerKind == kind;
}
template <typename T>
T Asked(HWND window, const wchar_t* message, ULONG_PTR kind, LPARAM lp = 0) {
    T value = {};
    if (Ask(window, message, kind, lp) && answer.size() == sizeof(value))
        memcpy(&value, answer.data(), sizeof(value));
    return value;
}

}  // namespace

LOGFONTW FontOfControl(HWND control) { return Asked<LOGFONTW>(control, L"ZolvFontProbe", 0); }

ScreenReading ReadLikeAScreenReader(HWND control) {
    ScreenReading reading;
    if (!Ask(control, L"ZolvNameProbe", 1)) return reading;
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
    const RECT dropped = Asked<RECT>(combo, L"ZolvDropProbe", 2);
    return dropped.bottom - dropped.top;
}

HWND ListOfCombo(HWND combo) { return Asked<HWND>(combo, L"ZolvListProbe", 6); }

void TellDpiChanged(HWND window, int dpi, SIZE suggested) {
    SendThroughProbe(window, L"ZolvDpiProbe", static_cast<WPARAM>(dpi),
                     MAKELPARAM(suggested.cx, suggested.cy));
}

std::optional<SIZE> AskDpiScaledSize(HWND window, int dpi, int from) {
    struct Answer {
        LRESULT result;
        SIZE size;
    };
    const Answer asked = Asked<Answer>(window, L"ZolvDpiSizeProbe", 3, MAKELPARAM(dpi, from));
    if (!asked.result) return std::nullopt;
    return asked.size;
}

bool WhileHeldStill(HWND window, const std::function<bool()>& queue, DWORD milliseconds) {
    static LPARAM holds = 0;
    const LPARAM serial = ++holds;
    const auto event = [&](const wchar_t* what) {
        const std::wstring name = L"ZolvHold-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(serial) + L"-" + what;
        return CreateEventW(nullptr, TRUE, FALSE, name.c_str());
    };
    HANDLE held = event(L"held"), goOn = event(L"go-on");
    bool queued = false;
    if (held && goOn) {
        const ProbeHook hook(window);
        // Sent without waiting for it to be handled: the probe holds the
        // thread inside the message until it is told to go on.
        if (hook &&
            SendNotifyMessageW(window, RegisterWindowMessageW(L"ZolvHoldProbe"),
                               static_cast<WPARAM>(GetCurrentProcessId()), serial) &&
            WaitTakingSentMessages(held, milliseconds)) {
            queued = queue();
        }
        SetEvent(goOn);
    }
    if (held) CloseHandle(held);
    if (goOn) CloseHandle(goOn);
    return queued;
}

bool InputWaiting(HWND window) { return Asked<DWORD>(window, L"ZolvInputProbe", 4) != 0; }

bool TurnHighContrastOn(const std::vector<HWND>& windows) {
    if (windows.empty() || !Asked<BOOL>(windows.front(), L"ZolvHighContrastProbe", 5)) return false;
    for (HWND window : windows) {
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0, SMTO_ABORTIFHUNG,
                                 5000, &ignored))
            return false;
    }
    return true;
}

}  // namespace zolv::ui
