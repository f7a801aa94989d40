// A desktop of made-up windows for the foreground watcher. Where the bar and
// the other windows end up (top-most or not, placed behind which window,
// shown, maximized, in front) is kept as state; the bar's own reactions are
// counted.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>

#include "winwatch/foreground_watch.h"

namespace zorv::testing {

struct FakeWindow {
    std::string Class;
    std::string Text;
    std::uint32_t Style = 0x16CF0000;  // an ordinary captioned window
    ScreenRect Rect{100, 100, 800, 600};
    WindowId Parent = 0;
    bool Visible = true;
    std::uint32_t Process = 42;
    bool Own = false;
    bool Maximized = false;
};

class FakeWatchPlatform : public WatchPlatform {
  public:
    static constexpr WindowId kBar = 1;

    std::map<WindowId, FakeWindow> windows;
    WindowId foreground = 0;
    std::function<WindowId(ScreenPoint)> windowAt = [](ScreenPoint) { return WindowId{0}; };
    ScreenPoint cursor{640, 400};
    std::int32_t formCount = 1;
    bool menuVisible = false, busy = false, barCapture = false, barShows = true;

    std::set<WindowId> topmost;
    std::set<WindowId> atBottom;
    std::map<WindowId, WindowId> behind;  // window -> the window it was placed behind
    std::map<WindowId, std::int32_t> shownWith;
    std::map<std::string, int> did;  // FormsTopmost and the bar's reactions
    std::int32_t alpha = -1;

    FakeWatchPlatform() {
        windows[kBar] = {"ZorvBar", "Zorv", 0x94000000, {980, 0, 242, 20}, 0, true, 7, true};
    }
    void Forget() {
        topmost.clear(), atBottom.clear(), behind.clear(), shownWith.clear(), did.clear();
    }

    WindowId BarWindow() override { return kBar; }
    WindowId ForegroundWindow() override { return foreground; }
    WindowId WindowAt(ScreenPoint p) override { return windowAt(p); }
    WindowId Parent(WindowId w) override { return Get(w).Parent; }
    bool Exists(WindowId w) override { return windows.count(w) != 0; }
    bool IsVisible(WindowId w) override { return Get(w).Visible; }
    std::uint32_t ProcessOf(WindowId w) override { return Get(w).Process; }
    std::string ClassName(WindowId w) override { return Get(w).Class; }
    std::string Text(WindowId w) override { return Get(w).Text; }
    std::uint32_t Style(WindowId w) override {
        return Get(w).Style | (Get(w).Maximized ? 0x01000000u : 0u);
    }
    ScreenRect Rect(WindowId w) override { return Get(w).Rect; }
    bool SameSize(WindowId a, WindowId b) override {
        return Get(a).Rect.Width == Get(b).Rect.Width && Get(a).Rect.Height == Get(b).Rect.Height;
    }
    bool IsOwnWindow(WindowId w) override { return Get(w).Own; }
    WindowId Taskbar() override {
        for (const auto& [id, w] : windows) {
            if (w.Class == "Shell_TrayWnd") return id;
        }
        return 0;
    }
    ScreenSize Screen() override { return {1280, 800}; }
    ScreenPoint CursorPos() override { return cursor; }
    std::int32_t OpenFormCount() override { return formCount; }
    bool MenuOrToolbarVisible() override { return menuVisible; }
    bool Busy() override { return busy; }
    bool BarHasCapture() override { return barCapture; }
    bool BarShowsAtCorners() override { return barShows; }
    void Sleep(std::uint32_t) override {}

    void SetTopmost(WindowId w) override { topmost.insert(w), atBottom.erase(w); }
    void SetNotTopmost(WindowId w) override { topmost.erase(w); }
    void SetBottom(WindowId w) override { atBottom.insert(w); }
    void PlaceBehind(WindowId w, WindowId after) override { behind[w] = after; }
    void FormsTopmost() override { ++did["FormsTopmost"]; }
    void HideWindow(WindowId w) override { windows[w].Visible = false; }
    void ShowWindow(WindowId w, std::int32_t cmd) override {
        windows[w].Visible = true;
        shownWith[w] = cmd;
    }
    void Maximize(WindowId w) override {
        windows[w].Maximized = true;
        ++did["Maximize"];
    }
    void BringToFront(WindowId w, const char*) override { foreground = w; }

    void ReduceNow() override { ++did["ReduceNow"]; }
    void SetAlphaValue(std::int32_t a) override { alpha = a; }
    void SetBarPos() override { ++did["SetBarPos"]; }
    void ApplyLineColour() override { ++did["LineColour"]; }
    void SimMouseMoveOutSide() override { ++did["SimMouseMoveOutSide"]; }

  private:
    // A vanished window answers like Windows does: nothing.
    const FakeWindow& Get(WindowId w) {
        static const FakeWindow kGone{"", "", 0, {}, 0, false, 0, false};
        const auto it = windows.find(w);
        return it == windows.end() ? kGone : it->second;
    }
};

}  // namespace zorv::testing
