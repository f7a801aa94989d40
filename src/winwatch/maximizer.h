// The Maximizer option: a second window that a program opens at the restored
// size of its maximized first window is maximized too. Portable.
#pragma once

#include <functional>

#include "winwatch/window_rules.h"

namespace zorv {

// Two windows of one program: the same class, and titles that agree in their
// first four or their last four characters ("Report 1 - Editor", "Report 2 -
// Editor").
bool MatchesPrevious(const WindowFacts& window, const WindowFacts& previous);

// Whether `window` is to be shown maximized because `previous` (the window
// seen before it) is: `window` can be maximized and is not, `previous` is,
// the two match, and `sameSize` (their restored rectangles are equally big)
// holds. The styles are looked at first; titles and sizes only when needed.
bool MaximizeLikePreviousWanted(const WindowFacts& window, const WindowFacts& previous,
                                const std::function<bool()>& sameSize);

}  // namespace zorv
