#include "app/format.h"

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace zorv {
namespace {

std::string F(std::string_view format, const FmtArgs& args = {}) {
    return sprintf(format, args);
}

TEST(Sprintf, IntegerConversions_RoundTiesToEven_FillToPrecision_TextAndNonFinite) {
    EXPECT_EQ(F("%u|%d %d %d %d", {-1, 2.5, 3.5, -2.5, 2.6}), "4294967295|2 4 -2 3");
    // The "0" flag fills only text conversions and "%.0f"; integers use the precision.
    EXPECT_EQ(F("%.5d|%+d|%+d|%05d|%.3d|%d", {42, 5, -5, 42, -7, -0.4}),
              "00042|+5|-5|   42|-007|0");
    EXPECT_EQ(F("%i|%d|%d", {INT64_MAX, INT64_MIN, 1e20}),
              "9223372036854775807|-9223372036854775808|100000000000000000000");
    // Text reads as a number with a point or a comma, else gives the fallback.
    EXPECT_EQ(F("%d|%d|%d|%.2f|%.1f", {"12", " 3,7 ", "2.5", "1,25", "-1e3"}),
              "12|4|2|1.25|-1000.0");
    EXPECT_EQ(F("%d|%u|%f|%e|%g", {"abc", "", "1.2.3", "1,5,", "e5"}), "0|0|0|0|0");
    EXPECT_EQ(F("%x|%o|%c|%p", {FmtArg(), "no", FmtArg(), "zz"}), "|||0000:0000");
    EXPECT_EQ(F("%4d|%-4d|", {"x", "x"}), "   0|0   |");  // a fallback still takes the width
    // Non-finite and huge values give the fallback too.
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(F("%d|%f|%e|%g|%d", {std::nan(""), inf, -inf, std::nan(""), "1e999"}), "0|0|0|0|0");
    EXPECT_EQ(F("%x|%p", {1e30, -1e30}), "|0000:0000");
}

TEST(Sprintf, FloatConversions_FixedExponentAndGeneralForms) {
    EXPECT_EQ(F("%5.2f|%05.0f|%05.0f|%+05.0f", {3.14159, 3.4, -3.4, 3.4}),
              " 3.14| 0003| -003| +003");
    EXPECT_EQ(F("%-05.0f|%05.1f", {3.4, 3.4}), "3    |  3.4");
    EXPECT_EQ(F("%f|%.0f|%.0f", {1.5, 2.5, 3.5}), "1.500000|2|4");
    EXPECT_EQ(F("%#.3f|%#.2f|%#.2f", {2.5, 2.0, 10.0}), "2.5|2|10");
    EXPECT_EQ(F("%.2f|%.2f", {-0.001, 7}), "-0.00|7.00");
    EXPECT_EQ(F("%.30f", {1}), "1." + std::string(22, '0'));
    // The exponent has three digits.
    EXPECT_EQ(F("%.2e|%E|%e|%.0e", {0.00123, -1500, 0, 1500}),
              "1.23e-003|-1.500000E+003|0.000000e+000|1.5e+003");
    EXPECT_EQ(F("%e|%12.1e|%-12.1e|", {1e-300, 1500, 1500}),
              "1.000000e-300|    1.5e+003|1.5e+003    |");
    // %g is plain between 1 and 10,000, else exponent form.
    EXPECT_EQ(F("%g|%g|%.1g", {3.14159265, 12345.5, 99999.0}), "3.14159265|12345.5|99999");
    EXPECT_EQ(F("%g|%G", {123456, 123456}), "1.2346e+005|1.2346E+005");
    // At most 1 with a short exponent: precision - exponent decimals.
    EXPECT_EQ(F("%g|%g|%g|%g|%g", {0.00123, 0.5, 1, 0, -0.5}),
              "0.00123000|0.500000|1.00000|0.00000|-0.500000");
    EXPECT_EQ(F("%.3g|%.2g|%.1g|%.1g", {0.05, 0.05, 0.5, 1e-5}), "0.05000|5.0e-002|5e-001|1e-005");
}

TEST(Sprintf, HexOctalCharAndPointer) {
    EXPECT_EQ(F("%#x|%#X|%x|%X", {255, 255, 255, 255}), "0xff|0XFF|ff|FF");
    EXPECT_EQ(F("%x|%X|%o", {-1, -2, -1}), "ffffffff|FFFFFFFE|37777777777");
    EXPECT_EQ(F("%.4x|%#.4x|%#x|%o|%.3o", {255, 255, 0, 8, 8}), "00ff|0x00ff|0|10|010");
    EXPECT_EQ(F("%x|%6X|%-6x|", {1.5, 171, 171}), "2|    AB|ab    |");
    EXPECT_EQ(F("%x|%X", {INT64_MAX, uint64_t{0xFFFFFFFFFFFFFFFFull}}), "7fffffffffffffff|");
    // Text in hex dumps its bytes, blank-separated with a width; octal reads it as a number.
    EXPECT_EQ(F("%x|%X|%1x|%o", {"Az", "Az", "Az", "17"}), "417a|417A|41 7a |21");
    EXPECT_EQ(F("%x", {std::string("\xff\x00", 2)}), "ff00");
    EXPECT_EQ(F("%c%c%c[%c][%c][%c]%3c|%c", {65, "xyz", 97.6, 300, -1, "", "x", 44}),
              "Axb[][][]  x|,");
    EXPECT_EQ(F("%p|%p|%p", {0, 0x1234ABCD, 255}), "0000:0000|1234:ABCD|0000:00FF");
    EXPECT_EQ(F("%p|%p|%11p", {-1, int64_t{0x123456789A}, static_cast<const void*>(nullptr)}),
              "FFFF:FFFF|1234:5678|  0000:0000");
}

TEST(Sprintf, TextConversion_CutAndPad) {
    EXPECT_EQ(F("%-6s|%6s|%06s|%5s|%-0s|", {"ab", "ab", "ab", "toolong", "x"}),
              "ab    |    ab|0000ab|toolong|x|");
    EXPECT_EQ(F("%.2s|%.0s|%.s|%.9s", {"abcdef", "abc", "abc", "abc"}), "ab||abc|abc");
    std::string var = "held";
    EXPECT_EQ(F("%s|%s|%s|%s|%s", {42, 0.1, -2.5, FmtArg(), &var}), "42|0.1|-2.5||held");
}

TEST(Sprintf, MissingArgumentEscapesAndTextThatIsNoConversion) {
    EXPECT_EQ(F("%d and %d", {1}), "1 and %d");
    EXPECT_EQ(F("%d %-5.2s %x!", {1}), "1 %-5.2s %x!");
    EXPECT_EQ(F("%*d", {5}), "%*d");  // the width took the only argument
    EXPECT_EQ(F("a%nb", {}), "a%nb");
    EXPECT_EQ(F("%d %% \\t %d", {1}), "1 % \t %d");
    // Escapes: tab, CR LF, backslash; others keep the backslash.
    EXPECT_EQ(F("a\\tb\\nc|\\\\|x\\fy\\rz\\b|\\q\\"), "a\tb\r\nc|\\|xyz|\\q\\");
    EXPECT_EQ(F("\\%d", {5}), "\\5");
    EXPECT_EQ(F("100%% done, 50%"), "100% done, 50%");
    EXPECT_EQ(F("%5%d", {7}), "%57");
    EXPECT_EQ(F("%5|%-q"), "%5|%-q");  // no type letter up to the end
    EXPECT_EQ(F("%zd|%5.zd|%5.xd|% d|%00007d", {3, 4, 4, 3, 4}), "3|    4|    4d|3|      4");
    // A blank starts a conversion too: "% \n" ends at the "n".
    std::string got = "unchanged";
    EXPECT_EQ(F("ok% \\n", {&got}), "ok");
    EXPECT_EQ(got, "ok");
}

TEST(Sprintf, StarWidthOutputSoFarAndNestedArguments) {
    EXPECT_EQ(F("%*d|%-*d|%*d|%*d|%*s|", {5, 42, 4, 42, "x", 42, -3, 7, "3", "a"}),
              "   42|42  |42|7|  a|");
    std::string so_far;
    EXPECT_EQ(F("ab%ncd", {&so_far}), "abcd");
    EXPECT_EQ(so_far, "ab");
    EXPECT_EQ(F("%n%d", {"not a variable", 3}), "3");
    // A nested first argument replaces the list.
    EXPECT_EQ(F("%d-%s", {FmtArgs{7, "x"}}), "7-x");
    EXPECT_EQ(F("%d %d", {FmtArgs{1}, 2}), "1 %d");
    EXPECT_EQ(F("%d", {1, FmtArgs{2}}), "1");
    EXPECT_EQ(F("%d", {FmtArgs{}}), "%d");
}

TEST(Sprintf, HostileWidthAndPrecision_AreCapped) {
    EXPECT_EQ(F("%.999999999d", {1}).size(), 22u);
    EXPECT_EQ(F("%.99999999999999999999u", {1}).size(), 22u);
    EXPECT_EQ(F("%999999999d", {1}).size(), 10000u);
    EXPECT_EQ(F("%*s", {1e300, "a"}).size(), 10000u);
    EXPECT_EQ(F("%.999999999f", {1}).size(), 24u);
    EXPECT_EQ(F("%.999999999e", {1}).size(), 507u);  // 1 . 500 e+000
    EXPECT_EQ(F("%.999999999x", {1}).size(), 520u);
    EXPECT_EQ(F("%.999999999g", {1e-300}).size(), 802u);  // 0. and 500 + 300 decimals
}

TEST(Sprintf, Numbers_IgnoreTheCLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    bool german = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE", "German_Germany.1252", "German"}) {
        if ((german = std::setlocale(LC_ALL, name) != nullptr)) break;
    }
    EXPECT_EQ(F("%.2f|%e|%g|%s|%d", {3.14159, 1500, 2.5, 0.5, "1.5"}),
              "3.14|1.500000e+003|2.5|0.5|2");
    std::setlocale(LC_ALL, saved.c_str());
    if (!german) GTEST_SKIP() << "no German locale installed";
}

TEST(WindowStyleNames, ListsNamesInOrder_WithoutTrailingSeparator) {
    EXPECT_EQ(WindowStyleNames(0x00C00000), "WS_CAPTION, WS_BORDER, WS_DLGFRAME");
    EXPECT_EQ(WindowStyleNames(0x00400000), "WS_CAPTION, WS_DLGFRAME");
    EXPECT_EQ(WindowStyleNames(0x90000000), "WS_POPUP, WS_VISIBLE");
    EXPECT_EQ(WindowStyleNames(0x00030000), "WS_GROUP, WS_TABSTOP, WS_MINIMIZEBOX, WS_MAXIMIZEBOX");
    EXPECT_EQ(WindowStyleNames(0) + WindowStyleNames(0x0000FFFF), "");
    const std::string all = WindowStyleNames(0xFFFFFFFF);
    EXPECT_EQ(all.rfind("WS_POPUP, WS_CHILD, WS_MINIMIZE, ", 0), 0u);
    EXPECT_EQ(all.substr(all.size() - 14), "WS_MAXIMIZEBOX");
}

}  // namespace
}  // namespace zorv
