#include "launch/folder_history.h"

#include <gtest/gtest.h>

#include "support/log.h"
#include "launch/fake_launch_platform.h"

namespace zorv {
namespace {

using testing::FakeLaunchPlatform;

class LogLines : public LogPlatform {
  public:
    std::vector<std::string> lines;
    std::uint32_t TickCount() override { return 0; }
    std::string LocalDateTime() override { return ""; }
    void DebugOutput(const std::string& line) override {
        lines.push_back(line.substr(line.find(')') + 3));
    }
    void AppendToLogFile(const std::string&) override {}
};

TEST(FolderHistory, PushChDirRecordsTheWayBackAndLogsEachChange) {
    LogLines log;
    SetLogPlatform(&log);
    LogLevel = 6, WriteDebugView = true;
    FakeLaunchPlatform fake;
    fake.cwd = "C:\\Start";
    FolderHistory history(fake);

    EXPECT_FALSE(history.PushChDir(""));  // nothing to return to
    EXPECT_TRUE(history.PushChDir("D:\\One"));
    EXPECT_TRUE(history.PushChDir("C:\\Two"));
    // A third recorded folder is still changed to, but reported.
    EXPECT_FALSE(history.PushChDir("C:\\Three"));
    EXPECT_EQ(fake.cwd, "C:\\Three");
    EXPECT_TRUE(history.PushChDir(""));
    EXPECT_TRUE(history.PushChDir(""));
    EXPECT_TRUE(history.PushChDir(""));
    EXPECT_EQ(fake.cwd, "C:\\Start");
    EXPECT_EQ(history.Depth(), 0u);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"x ChDir(D:\\One)", "x ChDir(C:\\Two)",
                                                   "x ChDir(C:\\Three)", "y ChDir(C:\\Two)",
                                                   "y ChDir(D:\\One)", "y ChDir(C:\\Start)"}));
    SetLogPlatform(nullptr);
    LogLevel = 0, WriteDebugView = false;

    // A full history changes without recording: the oldest way back stays.
    for (int i = 0; i < 14; ++i) history.PushChDir("C:\\F" + std::to_string(i));
    EXPECT_EQ(history.Depth(), FolderHistory::kPlaces);
    EXPECT_EQ(fake.cwd, "C:\\F13");
    for (std::size_t i = 0; i < FolderHistory::kPlaces; ++i) history.PushChDir("");
    EXPECT_EQ(fake.cwd, "C:\\Start");
}

}  // namespace
}  // namespace zorv
