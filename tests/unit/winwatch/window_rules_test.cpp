#include "winwatch/window_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/log.h"

namespace zorv {
namespace {

constexpr ScreenSize kScreen{1280, 800};
const RuleContext kWin10{kScreen, 10};
const RuleContext kXP{kScreen, 5};

WindowFacts Window(std::string cls, std::uint32_t style, ScreenRect rect, std::string text = "") {
    WindowFacts f(0x1234, std::move(cls), style, rect);
    f.SetText(std::move(text));
    return f;
}

// Counts how often the window's text is asked for.
WindowFacts CountingWindow(std::string cls, std::uint32_t style, ScreenRect rect, int& reads) {
    WindowFacts f(0x1234, std::move(cls), style, rect);
    f.SetTextReader([&reads] {
        ++reads;
        return std::string("Title");
    });
    return f;
}

class CapturedLog : public LogPlatform {
  public:
    std::vector<std::string> lines;
    std::uint32_t TickCount() override { return 0; }
    std::string LocalDateTime() override { return "d t"; }
    void DebugOutput(const std::string& line) override {
        lines.push_back(line.substr(line.find(")  ") + 3));
    }
    void AppendToLogFile(const std::string&) override {}
};

struct RuleLog : ::testing::Test {
    CapturedLog log;
    void SetUp() override {
        LogLevel = kRuleLogLevel;
        WriteDebugView = true;
        SetLogPlatform(&log);
    }
    void TearDown() override {
        SetLogPlatform(nullptr);
        LogLevel = 0;
        WriteDebugView = false;
    }
};

TEST(WindowClasses, SidebarDesktopScreenSaverAndLogon) {
    EXPECT_TRUE(IsSidebar("SideBar_HTMLHostWindow"));
    EXPECT_FALSE(IsSidebar("Side"));
    EXPECT_TRUE(IsDesktopWindowClass("Progman"));
    EXPECT_TRUE(IsDesktopWindowClass("WorkerW"));
    EXPECT_TRUE(IsDesktopWindowClass("SysListView32"));
    EXPECT_FALSE(IsDesktopWindowClass("progman"));
    EXPECT_FALSE(IsDesktopWindowClass("WorkerA"));

    EXPECT_TRUE(IsScreenSaverOrLogon(Window("WindowsScreenSaverClass", 0, {})));
    EXPECT_TRUE(IsScreenSaverOrLogon(Window("LOGON", 0, {})));
    EXPECT_FALSE(IsScreenSaverOrLogon(Window("LOGON", 0, {}, "Logon tool")));
    EXPECT_FALSE(IsScreenSaverOrLogon(WindowFacts{}));  // no window
}

TEST(WindowRules, DirectXNeedsAGameStyleAndTheWholeScreenFromTheCorner) {
    const ScreenRect screen{0, 0, 1280, 800};
    EXPECT_TRUE(IsDX(Window("Game", 0x14000000, screen), kWin10));
    EXPECT_TRUE(IsDX(Window("Game", 0x94000000, screen), kWin10));
    EXPECT_TRUE(IsDX(Window("Game", 0x94081234, screen), kWin10));  // high word 0x9408
    EXPECT_FALSE(IsDX(Window("Game", 0x14000000, {0, 0, 1279, 800}), kWin10));
    EXPECT_FALSE(IsDX(Window("Game", 0x14000000, {10, 0, 1280, 800}), kWin10));
    EXPECT_FALSE(IsDX(Window("Game", 0x16CF0000, screen), kWin10));  // an ordinary window
    EXPECT_TRUE(IsDX(Window("MainGameWindow", 0x16CF0000, {-8, -8, 1296, 816}), kWin10));
    EXPECT_TRUE(IsDX(Window("xDDWndx", 0, {}), kWin10));  // at any size
    // Popup menus, screen savers and shell flyouts never are.
    EXPECT_FALSE(IsDX(Window("#32768", 0x14000000, screen), kWin10));
    EXPECT_FALSE(IsDX(Window("WindowsScreenSaverClass", 0x14000000, screen), kWin10));
    EXPECT_FALSE(IsDX(Window("Shell_Flyout", 0x14000000, screen), kWin10));
    WindowFacts bar = Window("ZorvBar", 0x14000000, screen);
    bar.IsBar = true;
    EXPECT_FALSE(IsDX(bar, kWin10));
}

TEST(WindowRules, SpecialWindowsAreCaptionlessOrListed_AndBigExceptLogon) {
    EXPECT_FALSE(IsSpecialWindow(Window("Popup", 0x94000000, {0, 0, 600, 400}), kWin10));
    EXPECT_TRUE(IsSpecialWindow(Window("Popup", 0x94000000, {0, 0, 800, 600}), kWin10));
    EXPECT_FALSE(IsSpecialWindow(Window("Popup", 0x94000000, {0, 0, 800, 479}), kWin10));
    EXPECT_TRUE(IsSpecialWindow(Window("LOGON", 0x14CA0000, {0, 0, 10, 10}), kWin10));
    EXPECT_TRUE(IsSpecialWindow(Window("LOGON", 0x16CF0000, {0, 0, 10, 10}), kWin10));
    EXPECT_TRUE(IsSpecialWindow(Window("App", 0x14CA0000, {0, 0, 800, 600}), kWin10));
    EXPECT_TRUE(IsSpecialWindow(Window("FakeDesktopWClass", 0x16CF0000, {0, 0, 800, 600}), kWin10));
    EXPECT_FALSE(IsSpecialWindow(Window("Notepad", 0x16CF0000, {0, 0, 1280, 800}), kWin10));
    EXPECT_FALSE(IsSpecialWindow(Window("tooltips_class32", 0x94000000, {0, 0, 800, 600}), kWin10));
    EXPECT_TRUE(IsSpecialWindow(Window("DirectUIHWND", 0x16CF0000, {0, 0, 1, 1}), kWin10));
    EXPECT_FALSE(IsSpecialWindow(WindowFacts{}, kWin10));
    // The shell's flyout and sidebar only from Windows Vista on.
    EXPECT_FALSE(IsSpecialWindow(Window("Shell_Flyout", 0x94000000, {0, 0, 800, 600}), kWin10));
    EXPECT_TRUE(IsSpecialWindow(Window("Shell_Flyout", 0x94000000, {0, 0, 800, 600}), kXP));
    EXPECT_FALSE(IsSpecialWindow(Window("SideBar_X", 0x94000000, {0, 0, 800, 600}), kWin10));
}

TEST(WindowRules, SimpleFullscreenAllowsFivePercentShortOfTheScreen) {
    const std::int32_t h = 800;
    EXPECT_TRUE(IsSimpleFullscreenWindow(Window("App", 0x94000000, {0, 0, 1229, h}), kWin10));
    EXPECT_FALSE(IsSimpleFullscreenWindow(Window("App", 0x94000000, {0, 0, 1203, h}), kWin10));
    EXPECT_TRUE(IsSimpleFullscreenWindow(Window("App", 0x94000000, {0, 0, 1280, 761}), kWin10));
    EXPECT_FALSE(IsSimpleFullscreenWindow(Window("App", 0x94000000, {0, 0, 1280, 760}), kWin10));
    // A framed window with sizing or system-menu bits is no simple surface.
    EXPECT_FALSE(IsSimpleFullscreenWindow(Window("App", 0x16CF0000, {0, 0, 1280, h}), kWin10));
    EXPECT_TRUE(IsSimpleFullscreenWindow(Window("App", 0x16C00000, {0, 0, 1280, h}), kWin10));
    EXPECT_FALSE(IsSimpleFullscreenWindow(Window("App", 0x54000000, {0, 0, 1280, h}), kWin10));
    EXPECT_FALSE(IsSimpleFullscreenWindow(Window("#32769", 0x96000000, {0, 0, 1280, h}), kWin10));
    EXPECT_FALSE(IsSimpleFullscreenWindow(Window("Progman", 0x96000000, {0, 0, 1280, h}), kWin10));
    EXPECT_FALSE(IsSimpleFullscreenWindow(
        Window("Shell_LightDismissOverlay", 0x94000000, {0, 0, 1280, h}), kWin10));
}

TEST(WindowRules, VideoIsACaptionlessWindowNamedVideo) {
    EXPECT_TRUE(IsVideoWindow(Window("MyVideoRenderer", 0x94000000, {})));
    EXPECT_TRUE(IsVideoWindow(Window("Surface", 0x94000000, {}, "Holiday VIDEO")));
    EXPECT_FALSE(IsVideoWindow(Window("MyVideoRenderer", 0x16CF0000, {})));
    EXPECT_FALSE(IsVideoWindow(Window("Surface", 0x94000000, {}, "Music")));
    EXPECT_FALSE(IsVideoWindow(WindowFacts{}));
}

TEST(WindowRules, TextIsReadOnlyWhenARuleOrAWrittenLogLineNeedsIt) {
    int reads = 0;
    const ScreenRect screen{0, 0, 1280, 800};
    IsDX(CountingWindow("Notepad", 0x16CF0000, screen, reads), kWin10);
    IsSpecialWindow(CountingWindow("Notepad", 0x16CF0000, screen, reads), kWin10);
    IsSpecialWindow(CountingWindow("tooltips_class32", 0x94000000, screen, reads), kWin10);
    IsVideoWindow(CountingWindow("VideoRenderer", 0x94000000, screen, reads));
    IsVideoWindow(CountingWindow("Notepad", 0x16CF0000, screen, reads));
    IsScreenSaverOrLogon(CountingWindow("Notepad", 0x16CF0000, screen, reads));
    EXPECT_EQ(reads, 0);
    // Once read, the text is kept.
    WindowFacts logon = CountingWindow("LOGON", 0, screen, reads);
    IsScreenSaverOrLogon(logon);
    IsScreenSaverOrLogon(logon);
    EXPECT_EQ(reads, 1);
}

TEST_F(RuleLog, LinesNameClassTextStyleAndResult) {
    WindowFacts popup = Window("Popup", 0x94000000, {0, 0, 600, 400}, "Splash");
    IsSpecialWindow(popup, kWin10);
    IsDX(Window("Game", 0x14000000, {0, 0, 1280, 800}, "Quake"), kWin10);
    IsSimpleFullscreenWindow(Window("App", 0x90000000, {0, 0, 1280, 800}), kWin10);
    IsVideoWindow(Window("VideoRenderer", 0x94000000, {}));
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "Popup xxxx=0",
                             " w=600 h=400",
                             "IsSpecialWindow(Splash, 0x94000000 res=0",
                             "IsDX(Game)",
                             "IsDX(Quake)  res=1",
                             "IsSimpleFullscreenWindow(App) style=WS_POPUP, WS_VISIBLE  res=1",
                             "IsVideoWindow(VideoRenderer) res=1",
                         }));
}

TEST(Utf8Chars, FirstAndLastCharactersKeepWholeCodePoints) {
    EXPECT_EQ(FirstChars("Größe 1", 4), "Größ");
    EXPECT_EQ(LastChars("Datei – Editor", 4), "itor");
    EXPECT_EQ(LastChars("ab – €", 3), "– €");
    EXPECT_EQ(FirstChars("ab", 4), "ab");
    EXPECT_EQ(LastChars("", 4), "");
}

}  // namespace
}  // namespace zorv
