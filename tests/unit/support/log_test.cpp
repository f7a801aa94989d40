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

// The formatter serves the log and one counted message: the conversions
// the program uses, and the rules that keep a bad format or argument harmless.
TEST(Sprintf, NumbersTextAndHex_AsTheLogAndTheCountedMessageUseThem) {
    EXPECT_EQ(F("%u|%d %d %d %d", {-1, 2.5, 3.5, -2.5, 2.6}), "4294967295|2 4 -2 3");
    EXPECT_EQ(F("%u of %u icon files deleted", {3, 12}), "3 of 12 icon files deleted");
    // The "0" flag fills only text conversions and "%.0f"; integers use the precision.
    EXPECT_EQ(F("%.5d|%+d|%05d|%.3d", {42, 5, 42, -7}), "00042|+5|   42|-007");
    EXPECT_EQ(F("%d|%d|%.2f", {"12", " 3,7 ", "1,25"}), "12|4|1.25");  // text read as a number
    EXPECT_EQ(F("%d|%u|%f|%x|%p", {"abc", "", "1.2.3", FmtArg(), "zz"}), "0|0|0||0000:0000");
    EXPECT_EQ(F("%5.2f|%05.0f|%-05.0f|%.2e|%g", {3.14159, 3.4, 3.4, 0.00123, 123456}),
              " 3.14| 0003|3    |1.23e-003|1.2346e+005");
    EXPECT_EQ(F("%#x|%X|%X|%#X|%x", {255, 255, -2, 255, "Az"}), "0xff|FF|FFFFFFFE|0XFF|417a");
    EXPECT_EQ(F("%-6s|%6s|%.2s|%c|%p", {"ab", "ab", "abcdef", 65, 0x1234ABCD}),
              "ab    |    ab|ab|A|1234:ABCD");
}

TEST(Sprintf, MissingArgumentsEscapesAndTextThatIsNoConversion) {
    EXPECT_EQ(F("%d and %d|%-5.2s %x!", {1}), "1 and %d|%-5.2s %x!");
    // Escapes: tab, CR LF, backslash; others keep the backslash.
    EXPECT_EQ(F("a\\tb\\nc|\\\\|\\q\\"), "a\tb\r\nc|\\|\\q\\");
    EXPECT_EQ(F("\\%d|100%% done, 50%", {5}), "\\5|100% done, 50%");
    EXPECT_EQ(F("%5%d|%5|%-q", {7}), "%57|%5|%-q");  // no type letter up to the end
    std::string soFar;
    EXPECT_EQ(F("ab%ncd|%*d", {&soFar, 4, 7}), "abcd|   7");
    EXPECT_EQ(soFar, "ab");
    EXPECT_EQ(F("%d-%s", {FmtArgs{7, "x"}}), "7-x");  // a nested first argument replaces the list
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
