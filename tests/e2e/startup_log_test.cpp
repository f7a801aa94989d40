// The log file that a start-up with logging switched on leaves behind.
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

using StartupLog = ZorvE2E;

constexpr char kLoggingIni[] = "[Settings]\r\nLogLevel=2\r\nWriteLogfile=1\r\n";
constexpr char kBanner[] = "------------- Zorv START LOG (2)---------------";
constexpr char kStaleLog[] = "stale line of an earlier run\r\n";

TEST_F(StartupLog, FreshLogBeginsWithFourBannerLines_AndOldLogIsDeleted) {
    WriteWholeFile(Folder().Path() / L"zorv.log", kStaleLog);
    Folder().WriteIni(kLoggingIni);

    Process& p = Start(L"noau nostart");
    // The banner is written before the bar window is created.
    ASSERT_TRUE(WaitForShownBar(p)) << "the bar did not appear";

    std::optional<std::string> log = ReadWholeFile(Folder().Path() / L"zorv.log");
    ASSERT_TRUE(log) << "no zorv.log in the program folder";
    EXPECT_EQ(log->find("stale line"), std::string::npos) << "the old log was not deleted";
    std::vector<std::string> lines = SplitCrLf(*log);
    ASSERT_GE(lines.size(), 4u) << *log;
    for (size_t i = 0; i < 4; ++i) {
        std::optional<LogLine> line = ParseLogLine(lines[i]);
        ASSERT_TRUE(line) << "line " << i + 1 << " is not a log line: '" << lines[i] << "'";
        EXPECT_EQ(line->message, kBanner) << "line " << i + 1;
    }
    if (lines.size() > 4) {
        std::optional<LogLine> fifth = ParseLogLine(lines[4]);
        EXPECT_TRUE(!fifth || fifth->message != kBanner) << "more than four banner lines";
    }
}

TEST_F(StartupLog, WithoutWriteLogfile_OldLogIsKept) {
    WriteWholeFile(Folder().Path() / L"zorv.log", kStaleLog);
    Folder().WriteIni("[Settings]\r\nLogLevel=2\r\nWriteLogfile=0\r\n");

    Process& p = Start(L"noau nostart");
    ASSERT_TRUE(WaitForShownBar(p)) << "the bar did not appear";

    EXPECT_EQ(ReadWholeFile(Folder().Path() / L"zorv.log"), std::string(kStaleLog));
}

}  // namespace
}  // namespace zorv::e2e
