// Windows of other processes, the screen and the mouse.
#include <algorithm>
#include <thread>

#include "support/harness.h"

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

std::wstring WindowText(HWND hwnd) {
    wchar_t buf[512];
    const int n = GetWindowTextW(hwnd, buf, static_cast<int>(std::size(buf)));
    return std::wstring(buf, std::max(n, 0));
}

std::wstring WindowClass(HWND hwnd) {
    wchar_t buf[256];
    const int n = GetClassNameW(hwnd, buf, static_cast<int>(std::size(buf)));
    return std::wstring(buf, std::max(n, 0));
}

bool IsShownOnScreen(HWND hwnd) {
    if (!IsWindow(hwnd) || !IsWindowVisible(hwnd) || IsIconic(hwnd)) return false;
    const RECT r = WindowRect(hwnd),
               screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT both{};
    return IntersectRect(&both, &r, &screen) != FALSE;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += c < 0x80 ? static_cast<char>(c) : '?';
    return s;
}

// ---- Message boxes ---------------------------------------------------------

HWND FindMessageBox(DWORD pid, std::wstring_view title) {
    for (HWND hwnd : FindTopLevelWindows(L"#32770", title)) {
        if (WindowProcessId(hwnd) == pid && IsWindowVisible(hwnd)) return hwnd;
    }
    return nullptr;
}

namespace {

// The box's static controls; `icons` picks the icon ones or the text ones.
std::vector<HWND> Statics(HWND box, bool icons) {
    std::vector<HWND> found;
    EnumChildWindows(
        box,
        [](HWND hwnd, LPARAM lp) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    std::erase_if(found, [icons](HWND h) {
        const bool isStatic =
            CompareStringOrdinal(WindowClass(h).c_str(), -1, L"Static", -1, TRUE) == CSTR_EQUAL;
        const bool isIcon = (GetWindowLongPtrW(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        return !isStatic || isIcon != icons;
    });
    return found;
}

}  // namespace

// GetWindowTextW cannot read a control of another process; WM_GETTEXT can,
// and the time-out keeps a hung program from hanging the test.
std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    for (HWND child : Statics(box, false)) {
        wchar_t buf[512];
        DWORD_PTR len = 0;
        if (!SendMessageTimeoutW(child, WM_GETTEXT, std::size(buf), reinterpret_cast<LPARAM>(buf),
                                 SMTO_ABORTIFHUNG, 2000, &len) ||
            len == 0)
            continue;
        if (!text.empty()) text += L'\n';
        text.append(buf, std::min<size_t>(len, std::size(buf) - 1));
    }
    return text;
}

// The icon handle of another process cannot be drawn here (under Wine an
// HICON's bits live in the owning process), so judge what the screen shows:
// at least a quarter of the icon's square must have the icon's colour. The
// warning triangle covers less than half of its square, which still leaves
// well over a quarter of it amber.
bool ShowsIcon(HWND box, IconColour colour) {
    const auto matches = [colour](std::uint32_t c) {
        const unsigned r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
        return colour == IconColour::Red ? r >= 150 && g <= 100 && b <= 100
                                         : r >= 200 && g >= 100 && g <= 230 && b <= 100;
    };
    for (HWND icon : Statics(box, true)) {
        if (!IsWindowVisible(icon)) continue;
        SetForegroundWindow(box);
        return WaitFor(
            [&] {
                const Pixels p = GrabScreen(WindowRect(icon));
                return std::count_if(p.Px.begin(), p.Px.end(), matches) * 4 >=
                       static_cast<std::ptrdiff_t>(p.Px.size());
            },
            Ms(3000), Ms(50));
    }
    return false;
}

bool PressOk(HWND box) {
    HWND ok = GetDlgItem(box, IDOK);
    if (!ok) return false;
    // BM_CLICK may be ignored by a dialog that is not active.
    SetForegroundWindow(box);
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(ok, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

// ---- Screen ------------------------------------------------------------------

namespace {

BITMAPINFO TopDown32(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

std::optional<Pixels> PixelsOf(HBITMAP bmp) {
    BITMAP bm{};
    if (!bmp || !GetObjectW(bmp, sizeof bm, &bm)) return std::nullopt;
    Pixels p(bm.bmWidth, bm.bmHeight);
    BITMAPINFO bi = TopDown32(p.Width, p.Height);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bmp, 0, p.Height, p.Px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bmp);
    if (rows != p.Height) return std::nullopt;
    for (auto& px : p.Px) px &= 0xFFFFFF;
    return p;
}

}  // namespace

Pixels GrabScreen(const RECT& r) {
    Pixels p(std::max(0L, r.right - r.left), std::max(0L, r.bottom - r.top));
    if (p.Px.empty()) return p;
    BITMAPINFO bi = TopDown32(p.Width, p.Height);
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    if (HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0)) {
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, p.Width, p.Height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const auto* src = static_cast<const std::uint32_t*>(bits);
        for (size_t i = 0; i < p.Px.size(); ++i) p.Px[i] = src[i] & 0xFFFFFF;
        SelectObject(mem, old);
        DeleteObject(dib);
    }
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return p;
}

std::optional<Pixels> ReadBmpFile(const fs::path& path) {
    return PixelsOf(static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                    LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

std::optional<Pixels> LoadBitmapResource(const fs::path& module, const wchar_t* name) {
    HMODULE m = LoadLibraryExW(module.c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!m) return std::nullopt;
    auto p = PixelsOf(
        static_cast<HBITMAP>(LoadImageW(m, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    FreeLibrary(m);
    return p;
}

bool WriteBmpFile(const fs::path& path, const Pixels& p) {
    const int stride = (p.Width * 3 + 3) / 4 * 4;
    std::string bits(size_t(stride) * p.Height, '\0');
    for (int y = 0; y < p.Height; ++y) {
        for (int x = 0; x < p.Width; ++x) {
            for (int c = 0; c < 3; ++c) {
                bits[size_t(p.Height - 1 - y) * stride + 3 * x + c] =
                    static_cast<char>(p.At(x, y) >> (8 * c));
            }
        }
    }
    BITMAPINFOHEADER info = TopDown32(p.Width, -p.Height).bmiHeader;
    info.biBitCount = 24;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(bits.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info).append(bits);
    try {
        WriteWholeFile(path, bytes);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// ---- Mouse -------------------------------------------------------------------

namespace {

bool CursorAt(int x, int y) {
    POINT p{};
    GetCursorPos(&p);
    return p.x == x && p.y == y;
}

// Absolute SendInput coordinates run from 0 to 65535 over the screen.
// Rounding to the nearest lands one pixel off under Wine; rounding up lands
// exactly (and is exact on Windows too).
LONG Absolute(int pixel, int screenSize) {
    return static_cast<LONG>((std::int64_t(pixel) * 65536 + screenSize - 1) / screenSize);
}

}  // namespace

bool MoveMouseTo(int x, int y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = Absolute(x, GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = Absolute(y, GetSystemMetrics(SM_CYSCREEN));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return SendInput(1, &in, sizeof in) == 1 &&
           WaitFor([&] { return CursorAt(x, y); }, Ms(100), Ms(2));
}

bool MoveMouseAndStay(int x, int y) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        MoveMouseTo(x, y);
        if (!WaitFor([&] { return !CursorAt(x, y); }, Ms(150), Ms(10))) return true;
    }
    return false;
}

bool ClickHere(DWORD downFlag, DWORD holdMs) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = downFlag;
    if (SendInput(1, &in, sizeof in) != 1) return false;
    Sleep(holdMs);
    in.mi.dwFlags = downFlag << 1;  // each UP flag is its DOWN flag shifted once
    return SendInput(1, &in, sizeof in) == 1;
}

bool ClickAt(int x, int y, DWORD downFlag) {
    return MoveMouseAndStay(x, y) && ClickHere(downFlag);
}

std::optional<int> LayeredAlpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) ||
        !GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) {
        return std::nullopt;
    }
    return alpha;
}

}  // namespace zorv::e2e
