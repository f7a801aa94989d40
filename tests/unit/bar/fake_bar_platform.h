// A recording stand-in for the bar window and the screen: facts are fields
// the test sets, actions are appended to `calls` as short texts, and the
// clock advances only by the sleeps (plus `msPerMove` for each window move).
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
    // Facts.
    std::uint64_t now = 10000;
    std::uint64_t msPerMove = 0;  // how long a window move takes
    WindowId bar = 1;
    ScreenRect rect = {500, 0, 300, 20};
    BarSize size = {20, 300, 20};
    ScreenPoint cursor = {600, 0};
    bool mouseOnBar = false, capture = false, alt = false, buttonDown = false, menuShown = false;
    bool buttonPressed = false, topmost = true, configChanged = false;
    std::int32_t openForms = 1;
    std::int32_t screenWidth = 1280, screenHeight = 1024, bpp = 32, face3D = 0xC0C0C0;
    std::int32_t cxSize = 18;
    std::map<WindowId, std::string> classes;
    std::map<WindowId, ScreenRect> rects;
    std::map<WindowId, std::uint32_t> styles;
    std::map<WindowId, bool> captions;
    std::map<WindowId, std::string> processes;
    std::optional<ScreenRect> taskbar;
    WindowId foreground = 100;
    ScreenBorder border = ScreenBorder::None;
    std::uint64_t minWorkingSet = 8000000;
    bool dxForeground = false;
    // Window at a point: this function when set, else the bar inside its
    // rectangle and `other` outside.
    std::function<WindowId(ScreenPoint)> windowAt;
    WindowId other = 50;
    // Hooks run inside Sleep and ScreenWidth, to play what happens meanwhile.
    std::function<void(std::uint32_t)> onSleep;
    std::function<std::int32_t()> screenWidthSource;

    std::vector<std::string> calls;
    std::vector<ScreenRect> moves;
    std::vector<std::int32_t> alphas;
    std::vector<std::uint32_t> sleeps;

    std::int32_t Count(const std::string& call) const {
        std::int32_t n = 0;
        for (const auto& c : calls) n += c == call ? 1 : 0;
        return n;
    }

    std::uint64_t NowMs() override { return now; }
    void Sleep(std::uint32_t ms) override {
        sleeps.push_back(ms);
        now += ms;
        if (onSleep) onSleep(ms);
    }
    void BeginTimerResolution() override { calls.push_back("BeginRes"); }
    void EndTimerResolution() override { calls.push_back("EndRes"); }
    void SetHighPriority() override { calls.push_back("High"); }
    void SetNormalPriority() override { calls.push_back("Normal"); }
    WindowId BarWindow() override { return bar; }
    ScreenRect BarRect() override { return rect; }
    BarSize CurrentBarSize() override { return size; }
    void MoveBar(const ScreenRect& r) override {
        rect = r;
        moves.push_back(r);
        now += msPerMove;
        calls.push_back("Move");
    }
    void RepaintBar() override { calls.push_back("Repaint"); }
    void SendAlpha(std::uint8_t a) override {
        alphas.push_back(a);
        calls.push_back("Alpha " + std::to_string(a));
    }
    ScreenPoint CursorPos() override { return cursor; }
    bool MouseOnBar() override { return mouseOnBar; }
    bool BarHasCapture() override { return capture; }
    bool AltDown() override { return alt; }
    bool MouseButtonDown() override { return buttonDown; }
    bool IsMenuOrToolbarShown() override { return menuShown; }
    std::int32_t OpenFormCount() override { return openForms; }
    void HideToolTip() override { calls.push_back("HideToolTip"); }
    void Try4UnRaise() override { calls.push_back("Try4UnRaise"); }
    void TopNow() override { calls.push_back("TopNow"); }
    void EndActivationCycle() override { calls.push_back("EndActivationCycle"); }
    void RecordForegroundWindow() override { calls.push_back("RecordForeground"); }
    void StopAutoReduceTimer() override { calls.push_back("StopAutoReduce"); }
    void StartAutoReduceTimer() override { calls.push_back("StartAutoReduce"); }
    void StartPosTimer() override { calls.push_back("StartPos"); }
    WindowId WindowAt(ScreenPoint p) override {
        if (windowAt) return windowAt(p);
        const bool inside =
            p.X >= rect.Left && p.X < rect.Right() && p.Y >= rect.Top && p.Y < rect.Bottom();
        return inside ? bar : other;
    }
    bool WindowHasCaption(WindowId w) override { return captions[w]; }
    std::string WindowProcessName(WindowId w) override { return processes[w]; }
    void SendPaint(WindowId w, bool nonClient) override {
        calls.push_back((nonClient ? "NcPaint " : "Paint ") + std::to_string(w));
    }

    std::int32_t ScreenWidth() override {
        return screenWidthSource ? screenWidthSource() : screenWidth;
    }
    std::int32_t ScreenHeight() override { return screenHeight; }
    std::int32_t BitsPerPixel() override { return bpp; }
    std::int32_t SysColor3DFace() override { return face3D; }
    std::int32_t CaptionButtonWidth() override { return cxSize; }
    std::string WindowClassName(WindowId w) override { return classes[w]; }
    ScreenRect WindowRect(WindowId w) override { return rects[w]; }
    std::optional<ScreenRect> TaskbarRect() override { return taskbar; }
    WindowId ForegroundWindow() override { return foreground; }
    std::uint32_t WindowStyle(WindowId w) override { return styles[w]; }
    ScreenBorder MouseOnBorder() override { return border; }
    bool ButtonPressed() override { return buttonPressed; }
    void BarRedraw() override { calls.push_back("BarRedraw"); }
    bool BarIsTopmost() override { return topmost; }
    void ZOrderBottomTopTopmost() override { calls.push_back("ZBottomTopTopmost"); }
    void ZOrderNotTopmostTopmost() override { calls.push_back("ZNotTopmostTopmost"); }
    void SetPosTimerInterval(std::uint32_t ms) override {
        calls.push_back("PosTimer " + std::to_string(ms));
    }
    void StopEnsureVisibleTimer() override { calls.push_back("StopEnsureVisible"); }
    void RebuildMenus() override { calls.push_back("RebuildMenus"); }
    void RebuildColourResources() override { calls.push_back("RebuildColours"); }
    bool ConfigChanged() override { return configChanged; }
    void SaveConfiguration() override {
        calls.push_back("Save");
        configChanged = false;
    }
    std::uint64_t MinWorkingSetSize() override { return minWorkingSet; }
    void SetWorkingSetSize(std::uint64_t minimum, std::uint64_t maximum) override {
        calls.push_back("WorkingSet " + std::to_string(minimum) + " " + std::to_string(maximum));
    }
    bool IsDX(WindowId) override { return dxForeground; }
    void CheckForVideoOrFullscreen() override { calls.push_back("CheckVideo"); }
};

}  // namespace zorv::testing
