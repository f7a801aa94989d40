#include "winwatch/window_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/captured_log.h"

namespace zorv {
namespace {

constexpr ScreenRect kFull{0, 0, 1280, 800};
const RuleContext kWin10{{1280, 800}, 10};

WindowFacts Window(std::string cls, std::uint32_t style, ScreenRect rect, std::string text = "") {
    WindowFacts f(0x1234, std::move(cls), style, rect);
    f.SetText(std::move(text));
    return f;
}

// Each window through the four rules: "D" DirectX, "S" special, "F" simple
// full-screen, "V" video, "." for no; on Windows 10 unless the row says XP.
TEST(WindowRules, DirectXSpecialFullscreenAndVideo) {
    const struct {
        const char* cls;
        std::uint32_t style;
        ScreenRect rect;
        const char *text, *want;
        bool xp = false;
    } rows[] = {
        // DirectX: a game style or class and the whole screen from the corner.
        {"Game", 0x14000000, kFull, "", "DSF."},
        {"Game", 0x94081234, kFull, "", "DSF."},  // high word 0x9408
        {"Game", 0x14000000, {0, 0, 1279, 800}, "", ".SF."},
        {"Game", 0x14000000, {10, 0, 1280, 800}, "", ".SF."},
        {"Game", 0x16CF0000, kFull, "", "...."},  // an ordinary window
        {"MainGameWindow", 0x16CF0000, {-8, -8, 1296, 816}, "", "D..."},
        {"xDDWndx", 0, {}, "", "D..."},  // at any size
        {"#32768", 0x14000000, kFull, "", ".S.."},
        {"WindowsScreenSaverClass", 0x14000000, kFull, "", ".SF."},
        {"Shell_Flyout", 0x14000000, kFull, "", "...."},
        // Special: captionless or listed, and big, except "LOGON".
        {"Popup", 0x94000000, {0, 0, 800, 600}, "", ".S.."},
        {"Popup", 0x94000000, {0, 0, 800, 479}, "", "...."},
        {"LOGON", 0x14CA0000, {0, 0, 10, 10}, "", ".S.."},
        {"App", 0x14CA0000, {0, 0, 800, 600}, "", ".S.."},
        {"FakeDesktopWClass", 0x16CF0000, {0, 0, 800, 600}, "", ".S.."},
        {"tooltips_class32", 0x94000000, {0, 0, 800, 600}, "", "...."},
        {"DirectUIHWND", 0x16CF0000, {0, 0, 1, 1}, "", ".S.."},
        {"Shell_Flyout", 0x94000000, {0, 0, 800, 600}, "", ".S..", true},
        {"SideBar_X", 0x94000000, {0, 0, 800, 600}, "", "...."},
        // Simple full-screen: no frame controls, up to 5 % short of the screen.
        {"App", 0x94000000, {0, 0, 1229, 800}, "", ".SF."},
        {"App", 0x94000000, {0, 0, 1203, 800}, "", ".S.."},
        {"App", 0x94000000, {0, 0, 1280, 761}, "", ".SF."},
        {"App", 0x94000000, {0, 0, 1280, 760}, "", ".S.."},
        {"App", 0x16C00000, kFull, "", "..F."},
        {"App", 0x54000000, kFull, "", ".S.."},  // a child
        {"#32769", 0x96000000, kFull, "", ".S.."},
        {"Progman", 0x96000000, kFull, "", ".S.."},
        {"Shell_LightDismissOverlay", 0x94000000, kFull, "", ".S.."},
        // Video: captionless, "video" in the class or the text.
        {"MyVideoRenderer", 0x94000000, {}, "", "...V"},
        {"Surface", 0x94000000, {}, "Holiday VIDEO", "...V"},
        {"MyVideoRenderer", 0x16CF0000, {}, "", "...."},
    };
    for (const auto& r : rows) {
        const WindowFacts w = Window(r.cls, r.style, r.rect, r.text);
        const RuleContext c{{1280, 800}, r.xp ? 5 : 10};
        const std::string got =
            std::string(IsDX(w, c) ? "D" : ".") + (IsSpecialWindow(w, c) ? "S" : ".") +
            (IsSimpleFullscreenWindow(w, c) ? "F" : ".") + (IsVideoWindow(w) ? "V" : ".");
        EXPECT_EQ(got, r.want) << r.cls << " " << std::hex << r.style << " " << r.rect.Width;
    }
    // No window, and the bar itself, are none of them.
    WindowFacts bar = Window("ZorvBar", 0x14000000, kFull);
    bar.IsBar = true;
    EXPECT_FALSE(IsDX(bar, kWin10) || IsSpecialWindow(bar, kWin10));
    EXPECT_FALSE(IsSpecialWindow(WindowFacts{}, kWin10) || IsVideoWindow(WindowFacts{}));
}

TEST(WindowRules, ClassesOfSidebarDesktopScreenSaverAndLogon) {
    EXPECT_TRUE(IsSidebar("SideBar_HTMLHostWindow"));
    EXPECT_FALSE(IsSidebar("Side"));
    for (const char* desktop : {"Progman", "WorkerW", "SysListView32"}) {
        EXPECT_TRUE(IsDesktopWindowClass(desktop)) << desktop;
    }
    EXPECT_FALSE(IsDesktopWindowClass("progman") || IsDesktopWindowClass("WorkerA"));
    EXPECT_TRUE(IsScreenSaverOrLogon(Window("WindowsScreenSaverClass", 0, {})));
    EXPECT_TRUE(IsScreenSaverOrLogon(Window("LOGON", 0, {})));
    EXPECT_FALSE(IsScreenSaverOrLogon(Window("LOGON", 0, {}, "Logon tool")));
    EXPECT_FALSE(IsScreenSaverOrLogon(WindowFacts{}));
}

TEST(WindowRules, LogLinesNameClassTextStyleAndResult_AtTheirLevel) {
    testing::CapturedLog log(kRuleLogLevel);
    IsDX(Window("Game", 0x14000000, kFull, "Quake"), kWin10);
    IsSimpleFullscreenWindow(Window("App", 0x90000000, kFull), kWin10);
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "IsDX(Game)", "IsDX(Quake)  res=1",
                             "IsSimpleFullscreenWindow(App) style=WS_POPUP, WS_VISIBLE  res=1"}));
}

TEST(Utf8Chars, FirstAndLastCharactersKeepWholeCodePoints) {
    EXPECT_EQ(FirstChars("Größe 1", 4), "Größ");
    EXPECT_EQ(LastChars("Datei – Editor", 4), "itor");
    EXPECT_EQ(LastChars("ab – €", 3), "– €");
    EXPECT_EQ(std::tuple(FirstChars("ab", 4), LastChars("", 4)), std::tuple("ab", ""));
}

}  // namespace
}  // namespace zorv
