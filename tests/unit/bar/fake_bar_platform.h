// A stand-in for the bar window and the screen. Facts are fields the test
// sets. What a user sees is kept in order: the bar's placements and alpha
// values and the sleeps between them; other actions are only counted. The
// clock advances by the sleeps (plus `msPerMove` for each window move).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bar/bar_platform.h"

namespace zorv::testing {

class FakeBarPlatform : public ScreenPlatform {
  public:
    std::uint64_t now = 10000;
    std::uint64_t msPerMove = 0;
    WindowId bar = 1, other = 50, foreground = 100;
    ScreenRect rect = {500, 0, 300, 20};
    BarSize size = {20, 300, 20, 1, {}};
    ScreenPoint cursor = {600, 0};
    bool mouseOnBar = false, alt = false, buttonDown = false, menuShown = false;
    bool buttonPressed = false, topmost = true, dxForeground = false;
    std::int32_t openForms = 1, screenWidth = 1280, screenHeight = 1024, bpp = 32;
    std::int32_t face3D = 0xC0C0C0;
    std::uint64_t minWorkingSet = 8000000;
    ScreenBorder border = ScreenBorder::None;
    std::map<WindowId, std::string> classes;
    std::map<WindowId, ScreenRect> rects;
    std::map<WindowId, std::uint32_t> styles;
    std::map<WindowId, bool> captions;
    std::optional<ScreenRect> taskbar;
    // The window at a point: this function when set, else the bar inside its
    // rectangle and `other` outside.
    std::function<WindowId(ScreenPoint)> windowAt;
    std::function<void()> onSleep;  // Hooks that play what happens meanwhile.
    std::function<std::int32_t()> screenWidthSource;

    std::vector<ScreenRect> moves;
    std::vector<std::int32_t> alphas;
    std::vector<std::uint32_t> sleeps;
    std::map<std::string, int> did;  // how often each other action ran
    bool highPriority = false;
    int timerResolution = 0;       // begun and not yet ended
    std::uint32_t posTimerMs = 0;  // the interval last set
    std::pair<std::uint64_t, std::uint64_t> workingSet;

    void Forget() {
        moves.clear(), alphas.clear(), sleeps.clear(), did.clear();
        posTimerMs = 0;
    }

    std::uint64_t NowMs() override { return now; }
    void Sleep(std::uint32_t ms) override {
        sleeps.push_back(ms);
        now += ms;
        if (onSleep) onSleep();
    }
    void BeginTimerResolution() override { ++timerResolution; }
    void EndTimerResolution() override { --timerResolution; }
    void SetHighPriority() override { highPriority = true; }
    void SetNormalPriority() override { highPriority = false; }
    WindowId BarWindow() override { return bar; }
    ScreenRect BarRect() override { return rect; }
    BarSize CurrentBarSize() override { return size; }
    void MoveBar(const ScreenRect& r) override {
        moves.push_back(rect = r);
        now += msPerMove;
    }
    void RepaintBar() override { ++did["Repaint"]; }
    void SendAlpha(std::uint8_t a) override { alphas.push_back(a); }
    ScreenPoint CursorPos() override { return cursor; }
    bool MouseOnBar() override { return mouseOnBar; }
    bool BarHasCapture() override { return false; }
    bool AltDown() override { return alt; }
    bool MouseButtonDown() override { return buttonDown; }
    bool IsMenuOrToolbarShown() override { return menuShown; }
    std::int32_t OpenFormCount() override { return openForms; }
    void HideToolTip() override {}
    void Try4UnRaise() override {}
    void TopNow() override { ++did["TopNow"]; }
    void EndActivationCycle() override { ++did["EndActivationCycle"]; }
    void RecordForegroundWindow() override { ++did["RecordForeground"]; }
    void StopAutoReduceTimer() override { ++did["StopAutoReduce"]; }
    void StartAutoReduceTimer() override { ++did["StartAutoReduce"]; }
    void StartPosTimer() override { ++did["StartPos"]; }
    WindowId WindowAt(ScreenPoint p) override {
        if (windowAt) return windowAt(p);
        const bool inside =
            p.X >= rect.Left && p.X < rect.Right() && p.Y >= rect.Top && p.Y < rect.Bottom();
        return inside ? bar : other;
    }
    bool WindowHasCaption(WindowId w) override { return captions[w]; }
    std::string WindowProcessName(WindowId) override { return "x.exe"; }
    void SendPaint(WindowId w, bool nonClient) override {
        ++did[(nonClient ? "NcPaint " : "Paint ") + std::to_string(w)];
    }

    std::int32_t ScreenWidth() override {
        return screenWidthSource ? screenWidthSource() : screenWidth;
    }
    std::int32_t ScreenHeight() override { return screenHeight; }
    std::int32_t BitsPerPixel() override { return bpp; }
    std::int32_t SysColor3DFace() override { return face3D; }
    std::int32_t CaptionButtonWidth() override { return 18; }
    std::string WindowClassName(WindowId w) override { return classes[w]; }
    ScreenRect WindowRect(WindowId w) override { return rects[w]; }
    std::optional<ScreenRect> TaskbarRect() override { return taskbar; }
    WindowId ForegroundWindow() override { return foreground; }
    std::uint32_t WindowStyle(WindowId w) override { return styles[w]; }
    ScreenBorder MouseOnBorder() override { return border; }
    bool ButtonPressed() override { return buttonPressed; }
    void BarRedraw() override { ++did["BarRedraw"]; }
    bool BarIsTopmost() override { return topmost; }
    void ZOrderBottomTopTopmost() override { ++did["ZBottomTopTopmost"]; }
    void ZOrderNotTopmostTopmost() override { ++did["ZNotTopmostTopmost"]; }
    void SetPosTimerInterval(std::uint32_t ms) override { posTimerMs = ms; }
    void StopEnsureVisibleTimer() override { ++did["StopEnsureVisible"]; }
    void RebuildMenus() override { ++did["RebuildMenus"]; }
    void RebuildColourResources() override { ++did["RebuildColours"]; }
    bool ConfigChanged() override { return configChanged; }
    void SaveConfiguration() override {
        ++did["Save"];
        configChanged = false;
    }
    bool configChanged = false;
    std::uint64_t MinWorkingSetSize() override { return minWorkingSet; }
    void SetWorkingSetSize(std::uint64_t minimum, std::uint64_t maximum) override {
        workingSet = {minimum, maximum};
    }
    bool IsDX(WindowId) override { return dxForeground; }
    void CheckForVideoOrFullscreen() override { ++did["CheckVideo"]; }
};

}  // namespace zorv::testing
