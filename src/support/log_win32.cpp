#include "support/log_win32.h"

#include <windows.h>

#include "support/text_win32.h"

namespace zorv {

std::uint32_t Win32LogPlatform::TickCount() {
    return GetTickCount();
}

// The user's regional short date and long time.
std::string Win32LogPlatform::LocalDateTime() {
    wchar_t date[80] = L"", time[80] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 80);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, 80);
    return Narrow(date) + " " + Narrow(time);
}

void Win32LogPlatform::DebugOutput(const std::string& line) {
    OutputDebugStringW(Widen(line).c_str());
}

// Opened and closed for every line so other programs can read the log while
// we run; a missing folder or a locked file is not our problem.
void Win32LogPlatform::AppendToLogFile(const std::string& lineWithCrLf) {
    HANDLE h = CreateFileW(file_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, lineWithCrLf.data(), static_cast<DWORD>(lineWithCrLf.size()), &written, nullptr);
    CloseHandle(h);
}

}  // namespace zorv
