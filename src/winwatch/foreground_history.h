// The six most recent foreground windows of other programs, newest first:
// where the foreground goes back to after a menu or message box of the
// program. Portable.
#pragma once

#include <array>
#include <cstddef>
#include <functional>

#include "support/geometry.h"

namespace zorv {

class ForegroundHistory {
  public:
    static constexpr std::size_t kSize = 6;

    // A new entry shifts the others down and drops the oldest; adding 0
    // clears the whole history instead.
    void Add(WindowId window);
    void Clear() { entries_.fill(0); }
    WindowId At(std::size_t i) const { return i < kSize ? entries_[i] : 0; }
    // The newest entry for which `exists` holds, or 0.
    WindowId Newest(const std::function<bool(WindowId)>& exists) const;

  private:
    std::array<WindowId, kSize> entries_{};
};

}  // namespace zorv
