#include "app/script_command_win32.h"

#include <string>

#include "bar/bar_window_win32.h"
#include "support/log.h"
#include "support/text_win32.h"
#include "support/window_win32.h"

namespace zorv {

namespace {

// To the standard output a script redirected, else to the console of the
// program that started this one; without either the exit code tells.
void WriteConsoleLine(const std::string& line) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (out && out != INVALID_HANDLE_VALUE && !GetConsoleMode(out, &mode)) {
        const std::string bytes = line + "\r\n";
        DWORD written = 0;
        WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        return;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 0, nullptr);
    if (console != INVALID_HANDLE_VALUE) {
        const std::wstring text = L"\r\n" + Widen(line) + L"\r\n";
        DWORD written = 0;
        WriteConsoleW(console, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(console);
    }
    FreeConsole();
}

}  // namespace

HWND FindRunningBar() {
    HWND bar = FindWindowW(kBarClass, kBarTitle);
    return bar && ClassOf(bar) == Narrow(kBarClass) ? bar : nullptr;
}

int SendScriptCommand(const ScriptCommand& command) {
    ScriptAnswer answer = ScriptAnswer::NotRunning;
    if (HWND bar = FindRunningBar()) {
        COPYDATASTRUCT data{};
        data.dwData = kScriptTag + static_cast<std::uintptr_t>(command.Verb);
        data.cbData = static_cast<DWORD>(command.Description.size());
        data.lpData = const_cast<char*>(command.Description.data());
        DWORD_PTR result = 0;
        answer = SendMessageTimeoutW(bar, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                     SMTO_ABORTIFHUNG, 10000, &result)
                     ? static_cast<ScriptAnswer>(result)
                     : ScriptAnswer::NoAnswer;
    }
    WriteConsoleLine(ScriptAnswerText(answer, command));
    return static_cast<int>(answer);
}

bool ReadScriptCommand(const COPYDATASTRUCT& data, ScriptCommand& command) {
    const std::uintptr_t verb = data.dwData - kScriptTag;
    if (data.dwData < kScriptTag || verb < 1 || verb > 3 || data.cbData > 32768) return false;
    command.Verb = static_cast<ScriptVerb>(verb);
    command.Description.assign(static_cast<const char*>(data.lpData), data.cbData);
    return true;
}

}  // namespace zorv
