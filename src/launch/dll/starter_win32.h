// The pieces of Zorv.dll: one accepted start request travels from the
// caller's thread (checks, process creation) to a worker thread (shell
// starts, the wait for the new program's first idle moment).
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "launch/dll_rules.h"

namespace zorv::dll {

struct StartJob {
    Mechanism how = Mechanism::CreateProcess;
    std::wstring file;
    std::wstring params;
    std::wstring workDir;  // empty: the caller's current folder
    int show = SW_SHOWNORMAL;
    DWORD priorityClass = 0;   // 0: left as the system gives it
    std::string key;           // entry in InProgress()
    HANDLE process = nullptr;  // once started
    HMODULE pin = nullptr;     // the library's own reference held by the worker
    std::int32_t reportId = 0; // the caller's number for a failure posted back
};

// Posts a failure found after the caller's answer to the caller's report
// window, when it named one and the request asked for it.
void ReportLateFailure(const StartJob& job, DWORD error);
bool HasReportWindow();
// The count of shell starts still in the workers' hands (WaitForShellStarts).
void ShellStartTaken();
void ShellStartHanded();

// The files being started right now, across all callers of the library.
StartsInProgress& InProgress();

bool IsShellMechanism(Mechanism how);
bool IsLinkFile(const std::wstring& file);

// Creates the process suspended, sets its priority, lets it run; fills
// job.process. Answers 0 or the Windows error.
DWORD StartProcess(StartJob& job, DWORD& processId);
void ApplyPriority(HANDLE process, DWORD priorityClass);

// The show command stored in the .lnk file's header, when it is one.
std::optional<int> ReadLinkShowCommand(const std::wstring& file);
// The show command a shortcut start gets; where Wine would lose it, the job
// is turned into a start of the shortcut's target.
void ApplyShortcutShow(StartJob& job);
// Turns a document or shortcut into the program that opens it (file,
// params and, from a shortcut, the working folder and show command).
DWORD ResolveAssociation(StartJob& job);

// A worker thread runs the shell start (for shell mechanisms), waits for the
// program's first idle moment, and then ends the job's in-progress entry.
// When no thread can be made, the job is ended here and the error returned.
DWORD FinishInWorker(std::unique_ptr<StartJob> job);

}  // namespace zorv::dll
