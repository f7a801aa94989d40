#include "launch/folder_history.h"

#include <gtest/gtest.h>

#include "app/captured_log.h"
#include "launch/fake_launch_platform.h"

namespace zorv {
namespace {

TEST(FolderHistory, PushChDirRecordsTheWayBackAndLogsEachChange) {
    testing::FakeLaunchPlatform fake;
    FolderHistory history(fake);
    {
        testing::CapturedLog log(6);
        EXPECT_FALSE(history.PushChDir(""));  // nothing to return to
        EXPECT_TRUE(history.PushChDir("D:\\One"));
        EXPECT_TRUE(history.PushChDir("C:\\Two"));
        // A third recorded folder is still changed to, but reported.
        EXPECT_FALSE(history.PushChDir("C:\\Three"));
        EXPECT_EQ(fake.cwd, "C:\\Three");
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(history.PushChDir(""));
        EXPECT_EQ(fake.cwd, "C:\\Start");
        EXPECT_EQ(log.lines, (std::vector<std::string>{"x ChDir(D:\\One)", "x ChDir(C:\\Two)",
                                                       "x ChDir(C:\\Three)", "y ChDir(C:\\Two)",
                                                       "y ChDir(D:\\One)", "y ChDir(C:\\Start)"}));
    }
    // A full history changes without recording: the oldest way back stays.
    for (int i = 0; i < 14; ++i) history.PushChDir("C:\\F" + std::to_string(i));
    EXPECT_EQ(history.Depth(), FolderHistory::kPlaces);
    EXPECT_EQ(fake.cwd, "C:\\F13");
    for (std::size_t i = 0; i < FolderHistory::kPlaces; ++i) history.PushChDir("");
    EXPECT_EQ(fake.cwd, "C:\\Start");
}

}  // namespace
}  // namespace zorv
