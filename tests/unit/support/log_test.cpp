#include "support/log.h"

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

TEST_F(LogTest, WritesFormattedLineToBothOutputs_FileWithCrLf_DeltaCappedAt9999) {
    platform.tick = 1000;
    LastLogTick = 985;
    Log(2, "Start %s, %d items", "bar", 7);
    const std::string line = "02.01.2024 10:00:00 (  15)  Start bar, 7 items";
    EXPECT_EQ(platform.debug, std::vector<std::string>{line});
    EXPECT_EQ(platform.file, std::vector<std::string>{line + "\r\n"});
    EXPECT_EQ(LastLogTick, 1000u);
    const FmtArgs mine{1, "two"};  // an own argument list passes through
    Log(1, "%d/%s", mine);
    EXPECT_EQ(platform.debug.back(), "02.01.2024 10:00:00 (   0)  1/two");
    platform.tick += 12000;  // twelve seconds show the cap
    Log(1, "later");
    EXPECT_EQ(platform.debug.back(), "02.01.2024 10:00:00 (9999)  later");
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

TEST_F(LogTest, WithoutAPlatform_DiscardsLines) {
    SetLogPlatform(nullptr);
    LastLogTick = 5;
    Log(1, "%d", 1);
    EXPECT_EQ(LastLogTick, 5u);
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

}  // namespace
}  // namespace zorv
