#include <gtest/gtest.h>

#include "about/about.h"
#include "tests/unit/fake_registry.h"

namespace zolv::testing {
namespace {

constexpr std::uint32_t kCurrentUser = 0x80000001;
const std::wstring kKey = L"Software\\ZOLVLoader tests\\reader";

std::wstring Wide(const char* name) { return std::wstring(name, name + std::strlen(name)); }

class ValueReading : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueReading, ReadsAsStoredAndClosesTheKey) {
    AboutWorld w;
    const ValueCase& c = GetParam();
    w.registry.SetValue(kCurrentUser, kKey, Wide(c.name), c.type, c.bytes);

    std::wstring value = L"left from before";
    EXPECT_EQ(w.about.GetKeyValue(kCurrentUser, kKey, Wide(c.name), value), c.read);
    EXPECT_EQ(value, w.codePage.FromAnsi(c.expected));
    EXPECT_EQ(w.registry.opens, 1);
    EXPECT_TRUE(w.registry.allClosed());
}

INSTANTIATE_TEST_SUITE_P(Fake, ValueReading, ::testing::ValuesIn(ValueCases()),
                         [](const auto& info) { return std::string(info.param.name); });

class KeyReading : public AboutWorld, public ::testing::Test {
protected:
    void SetUp() override { registry.SetValue(kCurrentUser, kKey, L"PATH", kRegSz, "c:\\x"); }
};

TEST_F(KeyReading, MissingKeyOrValueEmptiesTheResult) {
    std::wstring value = L"left from before";
    EXPECT_FALSE(about.GetKeyValue(kCurrentUser, kKey + L"\\absent", L"PATH", value));
    EXPECT_EQ(value, L"");
    EXPECT_EQ(registry.opens, 0);

    value = L"left from before";
    EXPECT_FALSE(about.GetKeyValue(kCurrentUser, kKey, L"absent", value));
    EXPECT_EQ(value, L"");
    EXPECT_EQ(registry.opens, 1);
    EXPECT_TRUE(registry.allClosed());
}

// The fake's keys are in the 64-bit view and may only be read, as
// HKLM\SOFTWARE is to a standard user's 32-bit program on 64-bit Windows.
TEST_F(KeyReading, AKeyInThe64BitViewThatMayOnlyBeReadIsRead) {
    std::wstring value;
    EXPECT_TRUE(about.GetKeyValue(kCurrentUser, kKey, L"PATH", value));
    EXPECT_EQ(value, L"c:\\x");
    EXPECT_EQ(registry.options, std::set<std::uint32_t>{0});
    EXPECT_TRUE(registry.allClosed());
}

TEST_F(KeyReading, ValueNameMayBeTheResultText) {
    std::wstring text = L"PATH";
    EXPECT_TRUE(about.GetKeyValue(kCurrentUser, kKey, text, text));
    EXPECT_EQ(text, L"c:\\x");
}

TEST_F(KeyReading, LengthBeyondTheBufferIsNotBelieved) {
    registry.overstateLength = true;
    std::wstring value = L"left from before";
    EXPECT_FALSE(about.GetKeyValue(kCurrentUser, kKey, L"PATH", value));
    EXPECT_EQ(value, L"");
    EXPECT_TRUE(registry.allClosed());
}

}  // namespace
}  // namespace zolv::testing
