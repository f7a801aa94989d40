// The mouse and the screen as a user would use them: absolute mouse moves
// through SendInput, the alpha of a layered window, and rows of screen
// pixels. Header-only, plain Win32.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace zorv::e2e {

// Absolute SendInput coordinates run from 0 to 65535 over the screen.
// Rounding to the nearest lands one pixel off under Wine; rounding up lands
// exactly (and is exact on Windows too).
inline LONG AbsoluteCoordinate(int pixel, int screenSize) {
    const std::int64_t p = pixel, s = screenSize;
    return static_cast<LONG>((p * 65536 + s - 1) / s);
}

inline POINT CursorNow() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

inline bool CursorAt(int x, int y) {
    const POINT p = CursorNow();
    return p.x == x && p.y == y;
}

// Moves the cursor to (x, y) on the primary screen, as the mouse would, and
// waits (up to 100 ms) until the system reports it there.
inline bool MoveMouseTo(int x, int y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = AbsoluteCoordinate(x, GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = AbsoluteCoordinate(y, GetSystemMetrics(SM_CYSCREEN));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (SendInput(1, &in, sizeof in) != 1) return false;
    for (int i = 0; i < 50; ++i) {
        if (CursorAt(x, y)) return true;
        Sleep(2);
    }
    return false;
}

// Under Wine a program whose window moved or grew under the pointer while it
// was busy handles the X motion events of that time late, and they can put
// the cursor back where it was. The cursor is moved again until it has
// stayed at (x, y) for 150 ms.
inline bool MoveMouseAndStay(int x, int y) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        MoveMouseTo(x, y);
        bool stayed = true;
        for (int i = 0; i < 15 && stayed; ++i) {
            Sleep(10);
            stayed = CursorAt(x, y);
        }
        if (stayed) return true;
    }
    return false;
}

// Presses and releases a mouse button where the cursor is, as the user would
// (left, right or middle: MOUSEEVENTF_LEFTDOWN and so on), with `holdMs`
// between press and release.
inline bool ClickHere(DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD holdMs = 30) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = downFlag;
    if (SendInput(1, &in, sizeof in) != 1) return false;
    Sleep(holdMs);
    // Each UP flag is the DOWN flag shifted left once.
    in.mi.dwFlags = downFlag << 1;
    return SendInput(1, &in, sizeof in) == 1;
}

// Moves to (x, y), waits until the cursor stays there, then clicks.
inline bool ClickAt(int x, int y, DWORD downFlag = MOUSEEVENTF_LEFTDOWN) {
    return MoveMouseAndStay(x, y) && ClickHere(downFlag);
}

// Holds Shift (or another key) around `action`, as a user would.
template <class Action>
void WithKeyHeld(WORD vk, Action action) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    SendInput(1, &in, sizeof in);
    action();
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
}

// The window's LWA_ALPHA value; nothing when it is not layered or has no
// alpha set.
inline std::optional<int> LayeredAlpha(HWND window) {
    if (!(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED)) return std::nullopt;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) {
        return std::nullopt;
    }
    return alpha;
}

// The colours (0x00RRGGBB) of `width` screen pixels from (x, y) rightwards.
inline std::vector<std::uint32_t> ScreenRow(int x, int y, int width) {
    std::vector<std::uint32_t> row(static_cast<size_t>(width));
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -1;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bmp && bits) {
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, width, 1, screen, x, y, SRCCOPY);
        GdiFlush();
        const auto* px = static_cast<const std::uint32_t*>(bits);
        for (int i = 0; i < width; ++i) row[static_cast<size_t>(i)] = px[i] & 0xFFFFFF;
        SelectObject(mem, old);
    }
    if (bmp) DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return row;
}

}  // namespace zorv::e2e
