// Live counts of the handles the program's own wrappers hold
// (support/gdi_win32.h), per kind. A diagnostic like the log: nothing decides
// by them. The program logs them at closing, when every count should be
// back to 0, so a handle that was never freed shows there.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace zorv {

enum class HandleKind : std::size_t {
    MemoryDC,  // CreateCompatibleDC
    WindowDC,  // GetDC
    Bitmap,
    Brush,
    Pen,
    Region,
    Icon,
    Menu,
    Font,
};
inline constexpr std::size_t kHandleKinds = 9;

inline std::array<std::atomic<std::int32_t>, kHandleKinds> LiveHandles{};

inline void CountHandle(HandleKind kind, std::int32_t delta) {
    LiveHandles[static_cast<std::size_t>(kind)] += delta;
}

// "<total> (memory DCs <n>, window DCs <n>, bitmaps <n>, ...)"
std::string LiveHandleText();

}  // namespace zorv
