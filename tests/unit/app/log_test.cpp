#include "app/log.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorv {
namespace {

// The fixture is the platform: it records both outputs.
class LogTest : public ::testing::Test, public LogPlatform {
  protected:
    std::uint32_t tick = 0;
    std::vector<std::string> debug, file;

    std::uint32_t TickCount() override { return tick; }
    std::string LocalDateTime() override { return "02.01.2024 10:00:00"; }
    void DebugOutput(const std::string& line) override { debug.push_back(line); }
    void AppendToLogFile(const std::string& line) override { file.push_back(line); }

    void SetUp() override {
        LogLevel = 3;
        WriteLogFile = WriteDebugView = true;
        LastLogTick = 0;
        SetLogPlatform(this);
    }
    void TearDown() override {
        SetLogPlatform(nullptr);
        LogLevel = 0;
        WriteLogFile = WriteDebugView = false;
        LastLogTick = 0;
    }
};

TEST_F(LogTest, WritesFormattedLineToBothOutputs_FileWithCrLf_DeltaCappedAt9999) {
    tick = 1000;
    LastLogTick = 985;
    Log(3, "Start %s, %d items", "bar", 7);
    const std::string line = "02.01.2024 10:00:00 (  15)  Start bar, 7 items";
    EXPECT_EQ(debug, std::vector<std::string>{line});
    EXPECT_EQ(file, std::vector<std::string>{line + "\r\n"});
    const FmtArgs mine{1, "two"};  // an own argument list passes through
    Log(1, "%d/%s", mine);
    EXPECT_EQ(debug.back(), "02.01.2024 10:00:00 (   0)  1/two");
    tick += 12000;
    Log(1, "later");
    EXPECT_EQ(debug.back(), "02.01.2024 10:00:00 (9999)  later");
}

TEST_F(LogTest, EachOutputNeedsItsFlagAndTheLevel_NoPlatformDiscards) {
    std::string target = "untouched";
    Log(4, "%n", &target);  // above the level: not even formatted
    EXPECT_EQ(target, "untouched");
    WriteDebugView = false;
    Log(1, "file only");
    WriteLogFile = false, WriteDebugView = true;
    Log(1, "debug only");
    WriteDebugView = false;
    tick = 70;
    Log(1, "nowhere");
    EXPECT_EQ(LastLogTick, 70u);  // the delta still counts from it
    ASSERT_EQ(debug.size(), 1u);
    ASSERT_EQ(file.size(), 1u);
    EXPECT_NE(debug[0].find("debug only"), std::string::npos);
    EXPECT_NE(file[0].find("file only"), std::string::npos);
    SetLogPlatform(nullptr);
    tick = 90;
    Log(1, "%d", 1);
    EXPECT_EQ(LastLogTick, 70u);
}

TEST(LogDelta, SameSignDifferenceCappedAt9999_ZeroAcrossASignChange) {
    std::uint32_t last = 1000;
    EXPECT_EQ(LogDelta(1015, last), 15);
    EXPECT_EQ(last, 1015u);
    EXPECT_EQ(LogDelta(last + 10000, last), 9999);
    last = 0x7FFFFFF0u;  // just before the tick count turns negative
    EXPECT_EQ(LogDelta(0x80000005u, last), 0);
    EXPECT_EQ(LogDelta(0x80000010u, last), 11);  // both negative
    EXPECT_EQ(LogDelta(0xFFFFFFFFu, last), 9999);
    EXPECT_EQ(LogDelta(3, last), 0);  // wrapped to positive
}

}  // namespace
}  // namespace zorv
