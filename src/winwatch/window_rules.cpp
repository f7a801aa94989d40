#include "winwatch/window_rules.h"

#include <algorithm>
#include <array>

#include "support/format.h"
#include "support/log.h"
#include "support/ascii.h"
#include "support/win32_constants.h"

namespace zorv {

namespace {

// Shell surfaces of Windows Vista and later that float over full-screen
// windows for a moment (the volume flyout, the light-dismiss overlay).
constexpr std::string_view kShellFlyout = "Shell_Flyout";
constexpr std::string_view kLightDismiss = "Shell_LightDismissOverlay";
constexpr std::string_view kScreenSaverClass = "WindowsScreenSaverClass";
constexpr std::string_view kLogonClass = "LOGON";
// Popup menus, the desktop window, dialogs, icon titles: "#32768" ... "#32772".
constexpr std::string_view kSystemClassPrefix = "#327";
constexpr std::string_view kDirectDrawClassPart = "DDWnd";

// Styles of full-screen game windows as DirectX programs create them.
constexpr std::array<std::uint32_t, 5> kDXStyles = {0x1E000080, 0x94000000, 0x14CA0000, 0x06CA0000,
                                                    0x14000000};
constexpr std::uint32_t kDXStyleHighMask = 0xFFFF0000;
constexpr std::uint32_t kDXStyleHigh = 0x94080000;

constexpr std::array<std::uint32_t, 4> kSpecialStyles = {0x96000000, 0x14CA0000, 0x06CA0000,
                                                         0x14000000};
constexpr std::uint32_t kSpecialStyleMask = 0xFFF00000;
constexpr std::uint32_t kSpecialStyleHigh = 0x94000000;
// A window smaller than this is a notification or a splash, not a screen.
constexpr std::int32_t kSpecialMinWidth = 640;
constexpr std::int32_t kSpecialMinHeight = 480;

// A window with none of the frame controls is a plain surface even when it
// has a frame.
constexpr std::uint32_t kFrameControlBits =
    win::kWsSysMenu | win::kWsThickFrame | win::kWsMaximizeBox;
constexpr double kFullscreenShare = 0.95;

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool Contains(std::string_view s, std::string_view part) {
    return s.find(part) != std::string_view::npos;
}

bool ContainsNoCase(std::string_view s, std::string_view part) {
    if (part.size() > s.size()) return false;
    for (std::size_t i = 0; i + part.size() <= s.size(); ++i) {
        if (EqualsNoCase(s.substr(i, part.size()), part)) return true;
    }
    return false;
}

bool IsShellFlyout(std::string_view cls) {
    return cls == kShellFlyout || cls == kLightDismiss;
}

std::string Hex(std::uint32_t value) {
    return sprintf("%X", {value});
}

bool IsSpecialBySize(const WindowFacts& w) {
    if (w.Class == kLogonClass) return true;
    if (w.Rect.Width < kSpecialMinWidth || w.Rect.Height < kSpecialMinHeight) {
        Log(kRuleLogLevel, " w=%u h=%u", w.Rect.Width, w.Rect.Height);
        return false;
    }
    return true;
}

bool IsSpecialByStyleOrClass(const WindowFacts& w) {
    const std::uint32_t s = w.Style;
    if ((s & kSpecialStyleMask) == kSpecialStyleHigh) return true;
    if (std::find(kSpecialStyles.begin(), kSpecialStyles.end(), s) != kSpecialStyles.end()) {
        return true;
    }
    return w.Class == kScreenSaverClass || w.Class == kLogonClass ||
           w.Class == "FakeDesktopWClass" || Contains(w.Class, kDirectDrawClassPart);
}

}  // namespace

const std::string& WindowFacts::Text() const {
    if (!text_) text_ = reader_ ? reader_() : std::string();
    return *text_;
}

bool LogTakes(std::int32_t level) {
    return level <= LogLevel;
}

std::string_view LastChars(std::string_view text, std::size_t count) {
    std::size_t i = text.size();
    for (std::size_t n = 0; i > 0 && n < count; ++n) {
        --i;
        while (i > 0 && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) --i;
    }
    return text.substr(i);
}

bool IsSidebar(std::string_view cls) {
    return EqualsNoCase(cls.substr(0, 7), "sidebar");
}

bool IsDesktopWindowClass(std::string_view cls) {
    return StartsWith(cls, "Progman") || cls == "WorkerW" || cls == "SysListView32" ||
           cls == "DimmedWindowClass";
}

// The text is asked only for a "LOGON" window: the logon desktop's window
// has none, a program's window of that class has one.
bool IsScreenSaverOrLogon(const WindowFacts& w) {
    if (w.Window == 0) return false;
    if (w.Class == kScreenSaverClass) return true;
    return w.Class == kLogonClass && w.Text().empty();
}

bool IsVideoWindow(const WindowFacts& w) {
    if (w.Window == 0) return false;
    bool res = false;
    if (!HasCaption(w.Style)) {
        res = ContainsNoCase(w.Class, "video") || ContainsNoCase(w.Text(), "video");
    }
    Log(kRuleLogLevel, "IsVideoWindow(%s) res=%i", w.Class, res ? 1 : 0);
    return res;
}

bool CentreNotFullscreen(const ScreenRect& r, ScreenSize screen) {
    return (r.Right() < screen.Width - 5 || r.Left > 5) &&
           (r.Bottom() < screen.Height - 1 || r.Top > 0);
}

bool WindowNotFullscreen(const ScreenRect& r, ScreenSize screen) {
    return r.Right() < screen.Width - 1 || r.Left > 0 || r.Top > 0 ||
           r.Bottom() < screen.Height - 1;
}

bool IsSimpleFullscreenWindow(const WindowFacts& w, const RuleContext& context) {
    const auto logResult = [&](bool res) {
        Log(kRuleLogLevel, "IsSimpleFullscreenWindow(%s) style=%s  res=%u", w.Class,
            WindowStyleNames(w.Style), res ? 1 : 0);
        return res;
    };
    if (context.WindowsMajor >= 6 && (IsSidebar(w.Class) || IsShellFlyout(w.Class))) {
        return logResult(false);
    }
    if (StartsWith(w.Class, kSystemClassPrefix) || IsDesktopWindowClass(w.Class)) return false;
    bool res = false;
    if (!IsChildWindow(w.Style) && (!(w.Style & kFrameControlBits) || !HasCaption(w.Style))) {
        const double width = w.Rect.Width, height = w.Rect.Height;
        const double screenW = context.Screen.Width, screenH = context.Screen.Height;
        res = (width >= screenW && height > kFullscreenShare * screenH) ||
              (height >= screenH && width >= kFullscreenShare * screenW);
    }
    return logResult(res);
}

bool IsDX(const WindowFacts& w, const RuleContext& context) {
    if (w.IsBar) return false;
    Log(kRuleLogLevel, "IsDX(%s)", w.Class);
    if (StartsWith(w.Class, kSystemClassPrefix) || Contains(w.Class, "ScreenSaverClass") ||
        IsShellFlyout(w.Class)) {
        return false;
    }
    bool res = Contains(w.Class, kDirectDrawClassPart);
    if (!res) {
        const bool candidate =
            Contains(w.Class, "MainGameWindow") || (w.Style & kDXStyleHighMask) == kDXStyleHigh ||
            std::find(kDXStyles.begin(), kDXStyles.end(), w.Style) != kDXStyles.end();
        res = candidate && w.Rect.Top == w.Rect.Left && w.Rect.Right() >= context.Screen.Width &&
              w.Rect.Bottom() >= context.Screen.Height;
    }
    if (LogTakes(kRuleLogLevel)) Log(kRuleLogLevel, "IsDX(%s)  res=%i", w.Text(), res ? 1 : 0);
    return res;
}

// A window without a caption counts like the listed styles: both only when
// they are big enough to hide the screen (a "LOGON" window at any size).
bool IsSpecialWindow(const WindowFacts& w, const RuleContext& context) {
    if (w.Window == 0 || w.IsBar) return false;
    if (context.WindowsMajor >= 6 && (IsSidebar(w.Class) || w.Class == kShellFlyout)) {
        return false;
    }
    if (w.Class == "tooltips_class32") return false;
    if (w.Class == "DirectUIHWND") return true;
    Log(kRuleLogLevel, "%s xxxx=%s", w.Class, Hex(w.Style & win::kWsCaption));
    bool res = !HasCaption(w.Style) || IsSpecialByStyleOrClass(w);
    if (res) res = IsSpecialBySize(w);
    if (LogTakes(kRuleLogLevel)) {
        Log(kRuleLogLevel, "IsSpecialWindow(%s, 0x%s res=%i", w.Text(), Hex(w.Style), res ? 1 : 0);
    }
    return res;
}

}  // namespace zorv
