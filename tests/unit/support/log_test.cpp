// The log and its formatter.
#include "support/log.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
    EXPECT_EQ(F("%d|%d", {INT64_MIN, 1e20}), "-9223372036854775808|100000000000000000000");
    // Text reads as a number with a point or a comma, else gives the fallback.
    EXPECT_EQ(F("%d|%d|%d|%.2f|%.1f", {"12", " 3,7 ", "2.5", "1,25", "-1e3"}),
              "12|4|2|1.25|-1000.0");
    EXPECT_EQ(F("%d|%u|%f|%e|%g", {"abc", "", "1.2.3", "1,5,", "e5"}), "0|0|0|0|0");
    EXPECT_EQ(F("%x|%o|%c|%p|%4d|%-4d|", {FmtArg(), "no", FmtArg(), "zz", "x", "x"}),
              "|||0000:0000|   0|0   |");
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(F("%d|%f|%g|%d|%x", {std::nan(""), inf, std::nan(""), "1e999", 1e30}), "0|0|0|0|");
}

TEST(Sprintf, FloatConversions_FixedExponentAndGeneralForms) {
    EXPECT_EQ(F("%5.2f|%05.0f|%05.0f|%-05.0f|%05.1f", {3.14159, 3.4, -3.4, 3.4, 3.4}),
              " 3.14| 0003| -003|3    |  3.4");
    EXPECT_EQ(F("%f|%.0f|%.0f|%#.3f|%#.2f", {1.5, 2.5, 3.5, 2.5, 10.0}), "1.500000|2|4|2.5|10");
    EXPECT_EQ(F("%.2f|%.30f", {-0.001, 1}), "-0.00|1." + std::string(22, '0'));
    // The exponent has three digits.
    EXPECT_EQ(F("%.2e|%E|%.0e|%12.1e", {0.00123, -1500, 1500, 1500}),
              "1.23e-003|-1.500000E+003|1.5e+003|    1.5e+003");
    // %g is plain between 1 and 10,000, else exponent form; at most 1 with a
    // short exponent it has precision - exponent decimals.
    EXPECT_EQ(F("%g|%.1g|%G|%g|%g", {3.14159265, 99999.0, 123456, 0.00123, 1}),
              "3.14159265|99999|1.2346E+005|0.00123000|1.00000");
    EXPECT_EQ(F("%.3g|%.2g|%.1g", {0.05, 0.05, 1e-5}), "0.05000|5.0e-002|1e-005");
}

TEST(Sprintf, HexOctalCharPointerAndText) {
    EXPECT_EQ(F("%#x|%X|%X|%o|%#.4x|%#x|%.3o", {255, 255, -2, -1, 255, 0, 8}),
              "0xff|FF|FFFFFFFE|37777777777|0x00ff|0|010");
    EXPECT_EQ(F("%x|%6X|%-6x|%X", {1.5, 171, 171, uint64_t{0xFFFFFFFFFFFFFFFFull}}),
              "2|    AB|ab    |");
    // Text in hex dumps its bytes, blank-separated with a width; octal reads it as a number.
    EXPECT_EQ(F("%x|%X|%1x|%o", {"Az", "Az", "Az", "17"}), "417a|417A|41 7a |21");
    EXPECT_EQ(F("%x", {std::string("\xff\x00", 2)}), "ff00");
    EXPECT_EQ(F("%c%c%c[%c][%c][%c]%3c|%c", {65, "xyz", 97.6, 300, -1, "", "x", 44}),
              "Axb[][][]  x|,");
    EXPECT_EQ(F("%p|%p|%p|%11p", {0x1234ABCD, -1, int64_t{0x123456789A}, 0}),
              "1234:ABCD|FFFF:FFFF|1234:5678|  0000:0000");
    EXPECT_EQ(F("%-6s|%6s|%06s|%5s|", {"ab", "ab", "ab", "toolong"}),
              "ab    |    ab|0000ab|toolong|");
    EXPECT_EQ(F("%.2s|%.0s|%.s|%.9s", {"abcdef", "abc", "abc", "abc"}), "ab||abc|abc");
    std::string var = "held";
    EXPECT_EQ(F("%s|%s|%s|%s|%s", {42, 0.1, -2.5, FmtArg(), &var}), "42|0.1|-2.5||held");
}

TEST(Sprintf, MissingArgumentsEscapesAndTextThatIsNoConversion) {
    EXPECT_EQ(F("%d and %d|%-5.2s %x!", {1}), "1 and %d|%-5.2s %x!");
    EXPECT_EQ(F("%*d|a%nb", {5}), "%*d|a%nb");  // the width took the only argument
    // Escapes: tab, CR LF, backslash; others keep the backslash.
    EXPECT_EQ(F("a\\tb\\nc|\\\\|x\\fy\\rz\\b|\\q\\"), "a\tb\r\nc|\\|xyz|\\q\\");
    EXPECT_EQ(F("\\%d|100%% done, 50%", {5}), "\\5|100% done, 50%");
    EXPECT_EQ(F("%5%d|%5|%-q", {7}), "%57|%5|%-q");  // no type letter up to the end
    EXPECT_EQ(F("%zd|%5.zd|%5.xd|% d|%00007d", {3, 4, 4, 3, 4}), "3|    4|    4d|3|      4");
    std::string got = "unchanged";  // A blank starts a conversion too: "% \n" ends at the "n".
    EXPECT_EQ(F("ok% \\n", {&got}), "ok");
    EXPECT_EQ(got, "ok");
}

TEST(Sprintf, StarWidthOutputSoFarNestedArguments_HostileSizesAreCapped) {
    EXPECT_EQ(F("%*d|%-*d|%*d|%*d|%*s|", {5, 42, 4, 42, "x", 42, -3, 7, "3", "a"}),
              "   42|42  |42|7|  a|");
    std::string soFar;
    EXPECT_EQ(F("ab%ncd", {&soFar}), "abcd");
    EXPECT_EQ(soFar, "ab");
    EXPECT_EQ(F("%n%d", {"not a variable", 3}), "3");
    EXPECT_EQ(F("%d-%s", {FmtArgs{7, "x"}}), "7-x");  // A nested first argument replaces the list.
    EXPECT_EQ(F("%d|%d", {1, FmtArgs{2}}), "1|0");    // only a first one
    // Hostile widths and precisions: fuzz/format_fuzz holds every output to the width cap.
    EXPECT_EQ(F("%.99999999999999999999u|%*s", {1.0, 1e300, "a"}).size(), 22u + 1 + 10000u);
}

TEST(WindowStyleNames, ListsNamesInOrder_WithoutTrailingSeparator) {
    EXPECT_EQ(WindowStyleNames(0x00C00000), "WS_CAPTION, WS_BORDER, WS_DLGFRAME");
    EXPECT_EQ(WindowStyleNames(0x00030000), "WS_GROUP, WS_TABSTOP, WS_MINIMIZEBOX, WS_MAXIMIZEBOX");
}

// The fixture is the platform: it keeps both outputs.
class LogTest : public ::testing::Test, public LogPlatform {
  protected:
    std::uint32_t tick = 1000;
    std::vector<std::string> debug, file;

    std::uint32_t TickCount() override { return tick; }
    std::string LocalDateTime() override { return "02.01.2024 10:00:00"; }
    void DebugOutput(const std::string& line) override { debug.push_back(line); }
    void AppendToLogFile(const std::string& line) override { file.push_back(line); }
    void SetUp() override {
        LogLevel = 3;
        WriteLogFile = WriteDebugView = true;
        LastLogTick = 985;
        SetLogPlatform(this);
    }
    void TearDown() override {
        SetLogPlatform(nullptr);
        LogLevel = 0;
        WriteLogFile = WriteDebugView = false;
        LastLogTick = 0;
    }
};

// The line's layout in the file is read by every end-to-end test.
TEST_F(LogTest, WritesFormattedLinesWhereTheFlagsSay_DeltaCappedAt9999) {
    const FmtArgs mine{1, "two"};  // an own argument list passes through
    Log(1, "%d/%s", mine);
    EXPECT_EQ(debug.back(), "02.01.2024 10:00:00 (  15)  1/two");
    EXPECT_EQ(file.back(), debug.back() + "\r\n");
    std::string target = "untouched";
    Log(4, "%n", &target);  // above the level: not even formatted
    EXPECT_EQ(target, "untouched");
    WriteDebugView = false;
    Log(1, "file only");
    WriteLogFile = false, WriteDebugView = true;
    Log(1, "debug only");
    WriteDebugView = false, tick = 70;
    Log(1, "nowhere");
    EXPECT_EQ(LastLogTick, 70u);  // the next delta still counts from it
    EXPECT_EQ(std::tuple(debug.size(), file.size()), std::tuple(2u, 2u));
    EXPECT_TRUE(debug.back().ends_with("debug only") && file.back().ends_with("file only\r\n"));
    SetLogPlatform(nullptr);
    tick = 90;
    Log(1, "%d", 1);
    EXPECT_EQ(LastLogTick, 70u);
}

TEST(LogDelta, SameSignDifferenceCappedAt9999_ZeroAcrossASignChange) {
    std::uint32_t last = 1000;
    EXPECT_EQ(LogDelta(1015, last), 15);
    EXPECT_EQ(last, 1015u);
    last = 0x7FFFFFF0u;  // just before the tick count turns negative
    EXPECT_EQ(LogDelta(0x80000005u, last), 0);
    EXPECT_EQ(LogDelta(0x80000010u, last), 11);  // both negative
    EXPECT_EQ(LogDelta(0xFFFFFFFFu, last), 9999);
    EXPECT_EQ(LogDelta(3, last), 0);  // wrapped to positive
}

}  // namespace
}  // namespace zorv
