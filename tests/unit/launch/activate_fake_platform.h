// A scripted system for the activation rules: processes, windows with their
// texts, a clock the test moves, and a record of activated windows.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "launch/activate.h"

namespace zorv::testing {

class FakeActivatePlatform : public ActivatePlatform {
  public:
    struct Window {
        WindowId Id = 0;
        std::uint32_t Pid = 0;
        std::string Text;
        bool Visible = true;
        bool AppWindow = true;  // passes the ListAppWindows rules
    };

    std::vector<ProcessEntry> processes;
    std::vector<Window> windows;                    // in enumeration order
    std::map<std::string, std::string> shortPaths;  // long -> short (before upper case)
    std::set<std::string> files;
    bool is64 = true;
    std::uint64_t seconds = 100;
    double nextRandom = 0.25;

    std::vector<WindowId> activated;
    int processListCalls = 0;
    std::vector<std::uint32_t> pathsAsked;  // of the last ProcessList call
    int topLevelCalls = 0;
    std::vector<bool> hiddenFlags;  // includeHidden of each AppWindows call

    WindowId AddWindow(std::uint32_t pid, std::string text, bool visible = true) {
        const WindowId id = 0x1000 + windows.size() * 0x10;
        windows.push_back({id, pid, std::move(text), visible, true});
        return id;
    }
    void CloseWindow(WindowId id) {
        std::erase_if(windows, [&](const Window& w) { return w.Id == id; });
    }

    std::vector<ProcessEntry> ProcessList(const std::vector<std::uint32_t>* pathsOf) override {
        ++processListCalls;
        pathsAsked = pathsOf ? *pathsOf : std::vector<std::uint32_t>{};
        std::vector<ProcessEntry> list = processes;
        for (ProcessEntry& p : list) {
            if (pathsOf && std::find(pathsOf->begin(), pathsOf->end(), p.Pid) == pathsOf->end())
                p.Path.clear();
        }
        return list;
    }
    std::vector<WindowEntry> AppWindows(bool includeHidden) override {
        hiddenFlags.push_back(includeHidden);
        std::vector<WindowEntry> list;
        for (const Window& w : windows) {
            if (w.AppWindow && (w.Visible || includeHidden)) list.push_back({w.Id, w.Pid});
        }
        return list;
    }
    std::vector<WindowId> TopLevelWindows() override {
        ++topLevelCalls;
        std::vector<WindowId> ids;
        for (const Window& w : windows) ids.push_back(w.Id);
        return ids;
    }
    std::string WindowText(WindowId id) override {
        const Window* w = Find(id);
        return w ? w->Text : std::string{};
    }
    std::string ShortPathUpper(const std::string& path) override {
        auto it = shortPaths.find(path);
        std::string s = it == shortPaths.end() ? path : it->second;
        for (char& c : s) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        return s;
    }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    bool Is64BitWindows() override { return is64; }

    std::uint64_t Seconds() override { return seconds; }
    double Random() override {
        const double r = nextRandom;
        nextRandom = nextRandom >= 0.9 ? 0.05 : nextRandom + 0.1;
        return r;
    }
    bool WindowExists(WindowId id) override { return Find(id) != nullptr; }
    void ActivateWindow(WindowId id) override { activated.push_back(id); }

  private:
    const Window* Find(WindowId id) const {
        auto it = std::find_if(windows.begin(), windows.end(),
                               [&](const Window& w) { return w.Id == id; });
        return it == windows.end() ? nullptr : &*it;
    }
};

}  // namespace zorv::testing
