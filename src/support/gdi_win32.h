// Move-only owners of the GDI handles and menus the program creates, and
// guards for the calls that must be undone in the same scope (SelectObject,
// GetDC, BeginPaint). Copying is deleted: two owners of one handle free it
// twice. The owners and GetDC count what they hold (support/handle_count.h).
#pragma once

#include <windows.h>

#include <utility>

#include "support/handle_count.h"

namespace zorv {

// Owns one handle; `Free` releases it. The null handle means "none". Each
// held handle counts in LiveHandles under `Kind`.
template <class Handle, auto Free, HandleKind Kind>
class UniqueGdi {
  public:
    UniqueGdi() = default;
    explicit UniqueGdi(Handle h) { reset(h); }
    ~UniqueGdi() { reset(); }
    UniqueGdi(const UniqueGdi&) = delete;
    UniqueGdi& operator=(const UniqueGdi&) = delete;
    UniqueGdi(UniqueGdi&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
    UniqueGdi& operator=(UniqueGdi&& other) noexcept {
        if (this != &other) {
            reset();
            h_ = std::exchange(other.h_, nullptr);
        }
        return *this;
    }

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    // Hands the handle on (to the system, say): it no longer counts as ours.
    Handle release() {
        if (h_) CountHandle(Kind, -1);
        return std::exchange(h_, nullptr);
    }
    void reset(Handle h = nullptr) {
        if (h_) {
            Free(h_);
            CountHandle(Kind, -1);
        }
        h_ = h;
        if (h_) CountHandle(Kind, +1);
    }

  private:
    Handle h_ = nullptr;
};

namespace detail {
inline void FreeObject(HGDIOBJ h) {
    DeleteObject(h);
}
inline void FreeDC(HDC h) {
    DeleteDC(h);
}
inline void FreeIcon(HICON h) {
    DestroyIcon(h);
}
inline void FreeMenu(HMENU h) {
    DestroyMenu(h);
}
}  // namespace detail

using UniqueDC = UniqueGdi<HDC, detail::FreeDC, HandleKind::MemoryDC>;  // CreateCompatibleDC
using UniqueBitmap = UniqueGdi<HBITMAP, detail::FreeObject, HandleKind::Bitmap>;
using UniqueBrush = UniqueGdi<HBRUSH, detail::FreeObject, HandleKind::Brush>;
using UniquePen = UniqueGdi<HPEN, detail::FreeObject, HandleKind::Pen>;
using UniqueRgn = UniqueGdi<HRGN, detail::FreeObject, HandleKind::Region>;
using UniqueIcon = UniqueGdi<HICON, detail::FreeIcon, HandleKind::Icon>;
using UniqueMenu = UniqueGdi<HMENU, detail::FreeMenu, HandleKind::Menu>;
using UniqueFont = UniqueGdi<HFONT, detail::FreeObject, HandleKind::Font>;

// Selects an object into a device context and puts the previous one back.
class SelectGuard {
  public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectGuard() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// GetDC/ReleaseDC; a null window gives the screen.
class WindowDC {
  public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {
        if (dc_) CountHandle(HandleKind::WindowDC, +1);
    }
    ~WindowDC() {
        if (dc_ && ReleaseDC(window_, dc_)) CountHandle(HandleKind::WindowDC, -1);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND window_;
    HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintGuard {
  public:
    explicit PaintGuard(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
    ~PaintGuard() { EndPaint(window_, &ps_); }
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;

    HDC get() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

  private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

}  // namespace zorv
