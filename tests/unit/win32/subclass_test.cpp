// The procedure put in front of a standard control's own, which the directory
// list and the named controls stand on.
#include "platform/win32/subclass.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace zolv::testing {
namespace {

class Recorder : public Subclass {
public:
    std::vector<UINT> seen;
    LONG_PTR procAtItsEnd = 0;

protected:
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override {
        seen.push_back(msg);
        if (msg == WM_NCDESTROY) procAtItsEnd = GetWindowLongPtrW(hwnd_, GWLP_WNDPROC);
        if (msg == WM_GETTEXTLENGTH) return 42;
        return CallOriginal(msg, wp, lp);
    }
};

HWND MakeStatic() {
    return CreateWindowExW(0, L"STATIC", L"text", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

WNDPROC laterNext = nullptr;
LONG_PTR procAfterTheHelper = 0;

LRESULT CALLBACK PutInFrontLater(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const LRESULT result = CallWindowProcW(laterNext, hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) procAfterTheHelper = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    return result;
}

TEST(Subclass, AnswersBeforeTheControlAndLeavesTheChainAsItFoundItWhenTheControlGoes) {
    HWND control = MakeStatic();
    ASSERT_NE(control, nullptr);
    const LONG_PTR own = GetWindowLongPtrW(control, GWLP_WNDPROC);
    Recorder helper;
    helper.Install(control);
    EXPECT_EQ(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0), 42) << "its own answer";
    wchar_t text[8] = {};
    EXPECT_EQ(GetWindowTextW(control, text, 8), 4) << "the control's answer";
    EXPECT_STREQ(text, L"text");
    DestroyWindow(control);
    ASSERT_FALSE(helper.seen.empty());
    EXPECT_EQ(helper.seen.back(), WM_NCDESTROY);
    EXPECT_EQ(helper.procAtItsEnd, own) << "the control's own procedure is put back";

    // Under a procedure put in front of it later, it takes itself out of
    // nothing: the later one would be cut out of the chain.
    control = MakeStatic();
    ASSERT_NE(control, nullptr);
    Recorder under;
    under.Install(control);
    laterNext = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PutInFrontLater)));
    DestroyWindow(control);
    ASSERT_FALSE(under.seen.empty());
    EXPECT_EQ(under.seen.back(), WM_NCDESTROY);
    EXPECT_EQ(procAfterTheHelper, reinterpret_cast<LONG_PTR>(PutInFrontLater));
}

}  // namespace
}  // namespace zolv::testing
