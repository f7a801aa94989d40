// The system's process and window lists as the window finders read them.
#pragma once

#include <windows.h>

#include <vector>

#include "support/startup_state.h"
#include "launch/activate.h"

namespace zorv {

class ProcessLister {
  public:
    explicit ProcessLister(const StartupState& app) : app_(app) {}

    // Running processes with their program paths, however many run; toolhelp
    // on Windows 95/98/ME. With `pathsOf`, the NT family lists just those
    // process ids (an empty path where the program cannot be read); without,
    // every process whose program it can read.
    std::vector<ProcessEntry> GetProcessList(const std::vector<std::uint32_t>* pathsOf = nullptr);

    struct PsapiFunctions {
        using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
        using EnumModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
        using ModuleFileNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);
        EnumProcessesFn EnumProcesses = nullptr;
        EnumModulesFn EnumProcessModules = nullptr;
        ModuleFileNameFn GetModuleFileNameEx = nullptr;

        bool Ok() const { return EnumProcesses && EnumProcessModules && GetModuleFileNameEx; }
    };
    using TaskEnumProcEx = BOOL(WINAPI*)(DWORD, WORD, WORD, PSZ, PSZ, LPARAM);
    using EnumTasksFn = INT(WINAPI*)(DWORD, TaskEnumProcEx, LPARAM);

  private:
    bool PsapiAvailable();

    const StartupState& app_;
    bool psapiTried_ = false;
    PsapiFunctions psapi_;
    bool vdmTried_ = false;
    EnumTasksFn enumTasks_ = nullptr;
};

// Top-level application windows with their process ids, at most 400;
// invisible ones only with `includeHidden`.
std::vector<WindowEntry> ListAppWindows(bool includeHidden);

// All top-level windows from the desktop's first child on, hidden ones too.
std::vector<HWND> TopLevelWindows();

}  // namespace zorv
