#include "support/text_win32.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

// UTF-8 can be the system code page (a Windows 10 option): a conversion that
// asks WideCharToMultiByte for lost characters fails there and yields nothing,
// which once wrote a configuration file empty.
TEST(TextConversion, EveryCodePageKeepsWhatItCanHold_Utf8Included) {
    const std::string mixed = "Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC";  // "Grüße 日本"
    EXPECT_EQ(Utf8ToCodePage(mixed, CP_UTF8), mixed);
    EXPECT_EQ(Utf8ToCodePage("", CP_UTF8), "");
    EXPECT_EQ(Utf8ToCodePage("Gr\xC3\xBC\xC3\x9F" "e", 1252), "Gr\xFC\xDF" "e");
    // Not in the code page, or only as a best-fit look-alike ("ā" -> "a").
    EXPECT_EQ(Utf8ToCodePage(mixed, 1252), std::nullopt);
    EXPECT_EQ(Utf8ToCodePage("\xC4\x81", 1252), std::nullopt);
}

TEST(TextConversion, CodePageTextBecomesUtf8UpToItsEnd) {
    EXPECT_EQ(CodePageToUtf8("Gr\xFC\xDF" "e", 1252), "Gr\xC3\xBC\xC3\x9F" "e");
    EXPECT_EQ(CodePageToUtf8(std::string("ab\0cd", 5), 1252), "ab");
    EXPECT_EQ(Narrow(Widen("\xE6\x97\xA5")), "\xE6\x97\xA5");
}

}  // namespace
}  // namespace zorv
