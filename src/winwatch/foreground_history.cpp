#include "winwatch/foreground_history.h"

#include <algorithm>

namespace zorv {

void ForegroundHistory::Add(WindowId window) {
    if (window == 0) {
        Clear();
        return;
    }
    std::copy_backward(entries_.begin(), entries_.end() - 1, entries_.end());
    entries_[0] = window;
}

WindowId ForegroundHistory::Newest(const std::function<bool(WindowId)>& exists) const {
    for (WindowId w : entries_) {
        if (w != 0 && exists(w)) return w;
    }
    return 0;
}

}  // namespace zorv
