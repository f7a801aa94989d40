// Finding and reading windows that belong to other processes.
#include "support/harness.h"

#include <algorithm>
#include <thread>

namespace zorv::e2e {

bool WaitFor(const std::function<bool()>& done, Ms timeout, Ms interval) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(interval);
    }
}

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / ticksPerMs;
}

HWND FindBar() {
    return FindWindowW(kBarClass, kBarTitle);
}

std::vector<HWND> FindTopLevelWindows(std::wstring_view cls, std::wstring_view title) {
    struct Query {
        std::wstring_view cls, title;
        std::vector<HWND> found;
    } q{cls, title, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto& q = *reinterpret_cast<Query*>(lp);
            if (WindowClass(hwnd) == q.cls && WindowText(hwnd) == q.title) q.found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&q));
    return q.found;
}

HWND FindBarOf(DWORD pid) {
    for (HWND hwnd : FindTopLevelWindows(kBarClass, kBarTitle)) {
        if (WindowProcessId(hwnd) == pid) return hwnd;
    }
    return nullptr;
}

DWORD WindowProcessId(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

DWORD WindowStyle(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
}

DWORD WindowExStyle(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
}

std::wstring WindowText(HWND hwnd) {
    wchar_t buf[512];
    int n = GetWindowTextW(hwnd, buf, static_cast<int>(std::size(buf)));
    return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring WindowClass(HWND hwnd) {
    wchar_t buf[256];
    int n = GetClassNameW(hwnd, buf, static_cast<int>(std::size(buf)));
    return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

bool IsShownOnScreen(HWND hwnd) {
    if (!IsWindow(hwnd) || !IsWindowVisible(hwnd) || IsIconic(hwnd)) return false;
    RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    RECT r = WindowRect(hwnd), both{};
    return IntersectRect(&both, &r, &screen) != FALSE;
}

std::wstring Describe(const RECT& r) {
    return L"(" + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L")-(" +
           std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom) + L")";
}

HWND FindMessageBox(DWORD pid, std::wstring_view title) {
    for (HWND hwnd : FindTopLevelWindows(L"#32770", title)) {
        if (WindowProcessId(hwnd) == pid && IsWindowVisible(hwnd)) return hwnd;
    }
    return nullptr;
}

namespace {

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM lp) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// GetWindowTextW cannot read a control of another process; WM_GETTEXT can,
// and the time-out keeps a hung program from hanging the test.
std::wstring ControlText(HWND hwnd) {
    wchar_t buf[512];
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, std::size(buf), reinterpret_cast<LPARAM>(buf),
                             SMTO_ABORTIFHUNG, 2000, &len)) {
        return {};
    }
    return std::wstring(buf, std::min<size_t>(len, std::size(buf) - 1));
}

bool IsStatic(HWND hwnd) {
    return CompareStringOrdinal(WindowClass(hwnd).c_str(), -1, L"Static", -1, TRUE) == CSTR_EQUAL;
}

bool IsIconStatic(HWND hwnd) {
    return IsStatic(hwnd) && (WindowStyle(hwnd) & SS_TYPEMASK) == SS_ICON;
}

bool IsRed(unsigned r, unsigned g, unsigned b) {
    return r >= 150 && g <= 100 && b <= 100;
}

// Yellow to orange: Windows draws the warning triangle yellow, Wine orange
// (#F57900 rim, #FCAF3E inside). Red (green below 100) and white do not count.
bool IsAmber(unsigned r, unsigned g, unsigned b) {
    return r >= 200 && g >= 100 && g <= 230 && b <= 100;
}

// Counts the pixels of a screen rectangle that `match` accepts.
int CountPixels(const RECT& r, bool (*match)(unsigned r, unsigned g, unsigned b)) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return 0;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    int found = 0;
    if (bmp) {
        HGDIOBJ old = SelectObject(mem, bmp);
        if (BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY)) {
            GdiFlush();
            const auto* px = static_cast<const std::uint32_t*>(bits);
            for (int i = 0; i < w * h; ++i) {
                const unsigned b = px[i] & 0xFF, g = (px[i] >> 8) & 0xFF, rr = (px[i] >> 16) & 0xFF;
                if (match(rr, g, b)) ++found;
            }
        }
        SelectObject(mem, old);
        DeleteObject(bmp);
    }
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return found;
}

// The icon handle of another process cannot be drawn here (under Wine an
// HICON's bits live in the owning process), so judge what the screen shows:
// at least a quarter of the icon's area must have the icon's colour.
bool IconShows(HWND box, bool (*match)(unsigned r, unsigned g, unsigned b)) {
    for (HWND child : Children(box)) {
        if (!IsIconStatic(child) || !IsWindowVisible(child)) continue;
        SetForegroundWindow(box);
        RECT r = WindowRect(child);
        const int area = (r.right - r.left) * (r.bottom - r.top);
        return WaitFor([&] { return CountPixels(r, match) * 4 >= area; }, Ms(3000), Ms(50));
    }
    return false;
}

}  // namespace

std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    for (HWND child : Children(box)) {
        if (!IsStatic(child) || IsIconStatic(child)) continue;
        std::wstring t = ControlText(child);
        if (t.empty()) continue;
        if (!text.empty()) text += L'\n';
        text += t;
    }
    return text;
}

// The stop icon is a red disc.
bool ShowsCriticalIcon(HWND box) {
    return IconShows(box, IsRed);
}

// The warning icon is a triangle; it covers less than half of its square,
// which still leaves well over a quarter of it amber.
bool ShowsExclamationIcon(HWND box) {
    return IconShows(box, IsAmber);
}

bool PressOk(HWND box) {
    HWND ok = GetDlgItem(box, IDOK);
    if (!ok) return false;
    // BM_CLICK may be ignored by a dialog that is not active.
    SetForegroundWindow(box);
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(ok, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

}  // namespace zorv::e2e
