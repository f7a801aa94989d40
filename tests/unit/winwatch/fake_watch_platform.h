// A desktop of made-up windows for the foreground watcher, recording every
// action it asks for.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

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
    // The window at a point: the first rule that answers non-zero, else 0.
    std::function<WindowId(ScreenPoint)> windowAt = [](ScreenPoint) { return WindowId{0}; };
    ScreenPoint cursor{640, 400};
    std::int32_t formCount = 1;
    bool menuVisible = false;
    bool busy = false;
    bool barCapture = false;
    bool barShows = true;
    std::vector<std::string> calls;
    int textReads = 0;

    FakeWatchPlatform() {
        windows[kBar] = {"ZorvBar", "Zorv", 0x94000000, {980, 0, 242, 20}, 0, true, 7, true};
    }

    WindowId BarWindow() override { return kBar; }
    WindowId ForegroundWindow() override { return foreground; }
    WindowId WindowAt(ScreenPoint p) override { return windowAt(p); }
    WindowId Parent(WindowId w) override { return Get(w).Parent; }
    bool Exists(WindowId w) override { return windows.count(w) != 0; }
    bool IsVisible(WindowId w) override { return Exists(w) && Get(w).Visible; }
    std::uint32_t ProcessOf(WindowId w) override { return Get(w).Process; }
    std::string ClassName(WindowId w) override { return Get(w).Class; }
    std::string Text(WindowId w) override {
        ++textReads;
        return Get(w).Text;
    }
    std::uint32_t Style(WindowId w) override {
        return Get(w).Style | (Get(w).Maximized ? 0x01000000u : 0u);
    }
    ScreenRect Rect(WindowId w) override { return Get(w).Rect; }
    bool SameSize(WindowId a, WindowId b) override {
        return Get(a).Rect.Width == Get(b).Rect.Width && Get(a).Rect.Height == Get(b).Rect.Height;
    }
    bool IsOwnWindow(WindowId w) override { return w == kBar || Get(w).Own; }
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

    void SetTopmost(WindowId w) override { Record("Topmost", w); }
    void SetNotTopmost(WindowId w) override { Record("NotTopmost", w); }
    void SetBottom(WindowId w) override { Record("Bottom", w); }
    void PlaceBehind(WindowId w, WindowId after) override {
        calls.push_back("Behind " + std::to_string(w) + " " + std::to_string(after));
    }
    void FormsTopmost() override { calls.push_back("FormsTopmost"); }
    void HideWindow(WindowId w) override { Record("Hide", w); }
    void ShowWindow(WindowId w, std::int32_t cmd) override {
        calls.push_back("Show " + std::to_string(w) + " " + std::to_string(cmd));
    }
    void Maximize(WindowId w) override {
        Record("Maximize", w);
        windows[w].Maximized = true;
    }
    void BringToFront(WindowId w, const char* tag) override {
        calls.push_back("BringToFront " + std::to_string(w) + " " + tag);
    }

    void ReduceNow() override { calls.push_back("ReduceNow"); }
    void SetAlphaValue(std::int32_t alpha) override {
        calls.push_back("Alpha " + std::to_string(alpha));
    }
    void SetBarPos() override { calls.push_back("SetBarPos"); }
    void ApplyLineColour() override { calls.push_back("LineColour"); }
    void SimMouseMoveOutSide() override { calls.push_back("SimMouseMoveOutSide"); }

  private:
    // A vanished window answers like Windows does: nothing.
    const FakeWindow& Get(WindowId w) {
        static const FakeWindow kGone{"", "", 0, {}, 0, false, 0, false};
        const auto it = windows.find(w);
        return it == windows.end() ? kGone : it->second;
    }
    void Record(const char* what, WindowId w) {
        calls.push_back(std::string(what) + " " + std::to_string(w));
    }
};

}  // namespace zorv::testing
