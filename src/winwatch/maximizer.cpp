#include "winwatch/maximizer.h"

namespace zorv {

namespace {

constexpr std::size_t kTitleMatchChars = 4;

}  // namespace

bool MatchesPrevious(const WindowFacts& window, const WindowFacts& previous) {
    if (window.Class != previous.Class) return false;
    const std::string& a = window.Text();
    const std::string& b = previous.Text();
    return FirstChars(a, kTitleMatchChars) == FirstChars(b, kTitleMatchChars) ||
           LastChars(a, kTitleMatchChars) == LastChars(b, kTitleMatchChars);
}

bool MaximizeLikePreviousWanted(const WindowFacts& window, const WindowFacts& previous,
                                const std::function<bool()>& sameSize) {
    if (!(window.Style & win::kWsMaximizeBox)) return false;
    if (previous.Window == 0 || previous.Window == window.Window) return false;
    if (!(previous.Style & win::kWsMaximize) || (window.Style & win::kWsMaximize)) return false;
    return MatchesPrevious(window, previous) && sameSize();
}

}  // namespace zorv
