#include "launcher/messages.h"

#include <gtest/gtest.h>

namespace zolv {
namespace {

// Where each character fits alone but not all together, as where a code page
// composes a letter and the accent after it, the text itself is named.
TEST(Messages, TextsWhoseCharactersFitOnlyApartAreNamedWhole) {
    const auto alone = [](const std::wstring&) { return true; };
    EXPECT_EQ(CharacterRefusal(CharacterSet::Console, L"a\u0300", alone),
              L"The settings were not saved: \"a\u0300\" has characters that zolvload.bat cannot "
              L"hold: \"a\u0300\". The command prompt that starts the game reads the script in a "
              L"character set of its own, which on this Windows lacks them. Take them out of the "
              L"text and save again. Nothing was changed.");
}

}  // namespace
}  // namespace zolv
