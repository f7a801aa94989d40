// The rules that classify a window: full-screen, video, DirectX, screen
// saver, the shell's own surfaces, and the windows before which the bar does
// not put itself on top. Portable: the rules look at a record of window
// facts; the window text, the one costly fact, is read only when a rule or a
// written log line needs it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "support/geometry.h"
#include "support/utf8.h"
#include "support/win32_constants.h"

namespace zorv {

// Levels of the rule lines in the log: each check writes several.
inline constexpr std::int32_t kRuleLogLevel = 5;

// What the rules know of one window. A vanished window has an empty class,
// style 0 and an empty rectangle, and is classified as ordinary.
class WindowFacts {
  public:
    WindowFacts() = default;
    WindowFacts(WindowId window, std::string cls, std::uint32_t style, ScreenRect rect,
                bool isBar = false)
        : Window(window), Class(std::move(cls)), Style(style), Rect(rect), IsBar(isBar) {}

    WindowId Window = 0;
    std::string Class;
    std::uint32_t Style = 0;
    ScreenRect Rect;
    bool IsBar = false;

    // The text is taken from `reader` at the first use; until then it costs
    // nothing (reading it asks the window, with a time-out).
    void SetTextReader(std::function<std::string()> reader) { reader_ = std::move(reader); }
    void SetText(std::string text) { text_ = std::move(text); }
    const std::string& Text() const;
    bool TextRead() const { return text_.has_value(); }

  private:
    std::function<std::string()> reader_;
    mutable std::optional<std::string> text_;
};

// What the rules need of the system besides the window.
struct RuleContext {
    ScreenSize Screen;
    std::int32_t WindowsMajor = 10;
};

bool IsSidebar(std::string_view cls);
bool IsDesktopWindowClass(std::string_view cls);
bool IsScreenSaverOrLogon(const WindowFacts& w);
inline bool HasCaption(std::uint32_t style) {
    return (style & win::kWsCaption) != 0;
}
inline bool IsChildWindow(std::uint32_t style) {
    return (style & win::kWsChild) != 0;
}
bool IsVideoWindow(const WindowFacts& w);
bool IsSimpleFullscreenWindow(const WindowFacts& w, const RuleContext& context);
bool IsDX(const WindowFacts& w, const RuleContext& context);
// The caller sleeps 1 ms after a true answer, as the shell has always done.
bool IsSpecialWindow(const WindowFacts& w, const RuleContext& context);

// The full-screen tests of CheckForVideoOrFullscreen: the window at the
// screen's centre may leave a few pixels at the sides; its root window and the
// foreground window must cover the screen.
bool CentreNotFullscreen(const ScreenRect& r, ScreenSize screen);
bool WindowNotFullscreen(const ScreenRect& r, ScreenSize screen);

// Whether the log takes lines of `level` (so a text is read only for a line
// that is written).
bool LogTakes(std::int32_t level);

// The last `count` characters of a UTF-8 text (code points); the first ones
// are FirstChars of support/utf8.h.
std::string_view LastChars(std::string_view text, std::size_t count);

}  // namespace zorv
