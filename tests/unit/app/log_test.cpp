#include "app/log.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorv {
namespace {

class RecordingPlatform : public LogPlatform {
  public:
    std::uint32_t tick = 0;
    int tickCalls = 0;
    std::vector<std::string> debug;
    std::vector<std::string> file;

    std::uint32_t TickCount() override {
        ++tickCalls;
        return tick;
    }
    std::string LocalDateTime() override { return "02.01.2024 10:00:00"; }
    void DebugOutput(const std::string& line) override { debug.push_back(line); }
    void AppendToLogFile(const std::string& lineWithCrLf) override { file.push_back(lineWithCrLf); }
};

class LogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LogLevel = 3;
        WriteLogFile = true;
        WriteDebugView = true;
        LastLogTick = 0;
        SetLogPlatform(&platform);
    }
    void TearDown() override {
        SetLogPlatform(nullptr);
        LogLevel = 0;
        WriteLogFile = false;
        WriteDebugView = false;
        LastLogTick = 0;
    }
    RecordingPlatform platform;
};

TEST_F(LogTest, WritesFormattedLineToBothOutputs_FileWithCrLf) {
    platform.tick = 1000;
    LastLogTick = 985;
    Log(2, "Start %s, %d items", "bar", 7);
    const std::string line = "02.01.2024 10:00:00 (  15)  Start bar, 7 items";
    ASSERT_EQ(platform.debug.size(), 1u);
    EXPECT_EQ(platform.debug[0], line);
    ASSERT_EQ(platform.file.size(), 1u);
    EXPECT_EQ(platform.file[0], line + "\r\n");
    EXPECT_EQ(LastLogTick, 1000u);
}

TEST_F(LogTest, LevelAboveLogLevel_TouchesNothing) {
    std::string target = "untouched";
    Log(4, "%n", &target);
    LogLevel = 0;
    Log(1, "x");
    EXPECT_EQ(platform.tickCalls, 0);
    EXPECT_TRUE(platform.debug.empty());
    EXPECT_TRUE(platform.file.empty());
    EXPECT_EQ(target, "untouched");
}

TEST_F(LogTest, EachFlagGatesItsOutput_TickAdvancesEitherWay) {
    WriteDebugView = false;
    platform.tick = 50;
    Log(1, "file only");
    EXPECT_TRUE(platform.debug.empty());
    EXPECT_EQ(platform.file.size(), 1u);
    WriteLogFile = false;
    WriteDebugView = true;
    Log(1, "debug only");
    EXPECT_EQ(platform.debug.size(), 1u);
    EXPECT_EQ(platform.file.size(), 1u);
    WriteDebugView = false;
    platform.tick = 70;
    Log(1, "nowhere");
    EXPECT_EQ(LastLogTick, 70u);
}

TEST_F(LogTest, TwelveSecondsApart_ShowsTheCap) {
    platform.tick = 100000;
    Log(1, "first");
    platform.tick += 12000;
    Log(1, "second");
    ASSERT_EQ(platform.debug.size(), 2u);
    EXPECT_NE(platform.debug[1].find(" (9999)  second"), std::string::npos);
}

TEST_F(LogTest, OwnArgumentListPassesThrough) {
    const FmtArgs mine{1, "two"};
    Log(1, "%d/%s", mine);
    ASSERT_EQ(platform.debug.size(), 1u);
    EXPECT_NE(platform.debug[0].find(")  1/two"), std::string::npos);
}

TEST(LogWithoutPlatform, DiscardsLines) {
    SetLogPlatform(nullptr);
    LogLevel = 6;
    WriteDebugView = WriteLogFile = true;
    LastLogTick = 5;
    Log(1, "%d", 1);
    EXPECT_EQ(LastLogTick, 5u);
    LogLevel = 0;
    WriteDebugView = WriteLogFile = false;
    LastLogTick = 0;
}

TEST(LogDelta, SameSignDifference_CappedAt9999_ZeroAcrossSignChange) {
    std::uint32_t last = 1000;
    EXPECT_EQ(LogDelta(1015, last), 15);
    EXPECT_EQ(last, 1015u);
    EXPECT_EQ(LogDelta(1015 + 9999, last), 9999);
    EXPECT_EQ(LogDelta(last + 10000, last), 9999);
    last = 0x7FFFFFF0u;  // just before the tick count turns negative
    EXPECT_EQ(LogDelta(0x80000005u, last), 0);
    EXPECT_EQ(last, 0x80000005u);
    EXPECT_EQ(LogDelta(0x80000010u, last), 11);  // both negative
    EXPECT_EQ(LogDelta(0xFFFFFFFFu, last), 9999);
    EXPECT_EQ(LogDelta(3, last), 0);  // wrapped to positive
    EXPECT_EQ(LogDelta(3, last), 0);
}

TEST(LogLine, DeltaRightAlignedInFourColumns) {
    EXPECT_EQ(LogLine("d t", 15, "msg"), "d t (  15)  msg");
    EXPECT_EQ(LogLine("d t", 0, ""), "d t (   0)  ");
    EXPECT_EQ(LogLine("d t", 9999, "m"), "d t (9999)  m");
}

}  // namespace
}  // namespace zorv
