// Reading what the probe program (tests/e2e/probe) wrote about its start:
// one "probe-<pid>.txt" per start in %ZORV_PROBE_DIR%, lines "key=value".
// Header-only, plain Win32.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "support/harness.h"

namespace zorv::e2e {

inline constexpr wchar_t kProbeClass[] = L"ZorvProbe";

struct ProbeRecord {
    DWORD Pid = 0;
    std::string CmdLine, Cwd;
    int ShowCmd = -2;  // -1: no show command was given
    unsigned Priority = 0;
    std::vector<std::string> Args;
};

// Nothing when the text holds no pid (not a record).
inline std::optional<ProbeRecord> ParseProbeRecord(const std::string& text) {
    ProbeRecord r;
    bool havePid = false;
    const auto number = [](const std::string& v, int base) {
        return static_cast<unsigned long>(std::strtoul(v.c_str(), nullptr, base));
    };
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "pid") {
            r.Pid = static_cast<DWORD>(number(value, 10));
            havePid = true;
        } else if (key == "cmdline") {
            r.CmdLine = value;
        } else if (key == "cwd") {
            r.Cwd = value;
        } else if (key == "showcmd") {
            r.ShowCmd = std::atoi(value.c_str());
        } else if (key == "priority") {
            r.Priority = static_cast<unsigned>(number(value, 16));
        } else if (key == "arg") {
            r.Args.push_back(value);
        }
    }
    if (!havePid) return std::nullopt;
    return r;
}

// Every complete record in `folder` (a record is renamed to .txt once written).
inline std::vector<ProbeRecord> ProbeRecords(const fs::path& folder) {
    std::vector<ProbeRecord> records;
    for (const std::wstring& name : FolderEntries(folder)) {
        if (name.rfind(L"probe-", 0) != 0 || name.size() < 4 ||
            name.compare(name.size() - 4, 4, L".txt") != 0)
            continue;
        if (std::optional<std::string> text = ReadWholeFile(folder / name)) {
            if (std::optional<ProbeRecord> r = ParseProbeRecord(*text)) records.push_back(*r);
        }
    }
    return records;
}

// Ends every probe that left a record in `folder`.
inline void EndProbes(const fs::path& folder) {
    for (const ProbeRecord& r : ProbeRecords(folder)) {
        if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, r.Pid)) {
            TerminateProcess(h, 0);
            WaitForSingleObject(h, 5000);
            CloseHandle(h);
        }
    }
}

// The probe's visible window in process `pid`, or null.
inline HWND ProbeWindowOf(DWORD pid) {
    struct Search {
        DWORD pid;
        HWND found;
    } search{pid, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (WindowProcessId(w) != s->pid || !IsWindowVisible(w) ||
                WindowClass(w) != kProbeClass)
                return TRUE;
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Windows paths compared as Windows does: without case, and without a
// trailing backslash (except at a drive's root).
inline bool SamePath(std::string a, std::string b) {
    for (std::string* s : {&a, &b}) {
        while (s->size() > 3 && s->back() == '\\') s->pop_back();
    }
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}

}  // namespace zorv::e2e
