#include "bar/reduce.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "support/format_number.h"
#include "support/log.h"
#include "support/startup_state.h"
#include "support/ascii.h"

namespace zorv {

namespace {

constexpr std::uint32_t kSoftStepMs = 7;
constexpr std::uint32_t kFadeStepMs = 10;
// A soft reduce that falls behind is finished at once: a slow machine would
// otherwise crawl.
constexpr std::uint64_t kSlowStepMs = 30;
constexpr std::uint64_t kSlowReduceMs = 500;
// A drag that just passed over the reduced line must not pull the bar down.
constexpr std::uint64_t kDragOverQuietMs = 100;
constexpr std::int32_t kMaxRestoreDelayMs = 500;
constexpr std::int32_t kSidewaysLimit = 3;
// The half-transparent flash tells a layered window manager to redraw the
// line before it becomes opaque again.
constexpr std::int32_t kFlashAlpha = 128;
constexpr std::int32_t kUnScrollFlashAlpha = 220;

std::int32_t Sign(std::int32_t v) {
    return (v > 0) - (v < 0);
}

}  // namespace

ScreenRect ShownPlacement(const ScreenRect& bar, std::int32_t barHeight) {
    return {bar.Left, 0, bar.Width, barHeight};
}

ScreenRect ReducedPlacement(const ScreenRect& bar, std::int32_t barHeight,
                            std::int32_t lineHeight) {
    return {bar.Left, -barHeight, bar.Width, barHeight + lineHeight};
}

std::int32_t FadedAlpha(const Settings& settings) {
    const auto idx = std::clamp<std::int32_t>(settings.TransparencyIdx, 0,
                                              static_cast<std::int32_t>(lAlphas.size()) - 1);
    return lAlphas[static_cast<std::size_t>(idx)];
}

bool TransparentLine(const Settings& settings, bool layeredOK) {
    return settings.LineColor == 4 && layeredOK;
}

bool UsesAlpha(const Settings& settings, bool layeredOK) {
    return settings.AutoRed == 2 || TransparentLine(settings, layeredOK);
}

// Fifteen or sixteen even steps, placed so that the last one lands exactly on
// `to`: step = floor(diff / 15), count = round-half-even(diff / step - 1).
std::vector<std::int32_t> FadeSequence(std::int32_t from, std::int32_t to) {
    std::vector<std::int32_t> alphas;
    const std::int32_t diff = to - from;
    const auto step = static_cast<std::int32_t>(std::floor(diff / 15.0));
    if (step != 0) {
        const auto count = static_cast<std::int32_t>(
            fmtnum::RoundHalfEven(static_cast<double>(diff) / static_cast<double>(step) - 1.0));
        const std::int32_t last = to - step;
        for (std::int32_t a = to - step * count; step > 0 ? a <= last : a >= last; a += step) {
            alphas.push_back(a);
        }
    }
    alphas.push_back(to);
    return alphas;
}

std::vector<ScreenPoint> RefreshProbePoints(ScreenPoint start, ScreenPoint end, std::int32_t step) {
    step = std::abs(step);
    const std::int32_t dx = Sign(end.X - start.X) * step;
    const std::int32_t dy = Sign(end.Y - start.Y) * step;
    auto passed = [&](ScreenPoint p) {
        return (dx > 0 && p.X > end.X) || (dx < 0 && p.X < end.X) || (dy > 0 && p.Y > end.Y) ||
               (dy < 0 && p.Y < end.Y);
    };
    std::vector<ScreenPoint> points;
    ScreenPoint p = start;
    do {
        points.push_back(p);
        if (dx == 0 && dy == 0) break;
        p.X += dx;
        p.Y += dy;
    } while (!passed(p));
    return points;
}

// Old platforms repaint a caption-less window only on WM_PAINT and need
// WM_NCPAINT for the frame in every case. Later ones need only one of them;
// a DOS box (NTVDM) redraws itself and can hang on the extra message.
ExposedPaint ExposedPaintFor(bool oldPaintRules, bool hasCaption, std::string_view processName) {
    if (oldPaintRules) return {!hasCaption, true};
    const auto slash = processName.find_last_of("\\/");
    if (slash != std::string_view::npos) processName.remove_prefix(slash + 1);
    if (EqualsNoCase(processName, "NTVDM.EXE")) return {};
    return {!hasCaption, hasCaption};
}

bool RestoreContactLost(ScreenPoint before, ScreenPoint after, const ScreenRect& bar,
                        bool mouseButtonDown) {
    return std::abs(after.X - before.X) >= kSidewaysLimit || after.Y >= bar.Bottom() ||
           mouseButtonDown;
}

Reducer::Reducer(BarPlatform& platform, const Settings& settings, PlatformTraits traits)
    : platform_(platform), settings_(settings), traits_(traits) {}

// Runs 667 ms after the last mouse move over the bar; while something holds
// the bar open it keeps running and asks again at the next tick.
void Reducer::AutoReduceTick() {
    Log(5, "timAutoreduce_Timer()");
    if (platform_.IsMenuOrToolbarShown() || platform_.OpenFormCount() > 1) return;
    if (platform_.MouseOnBar() || platform_.BarHasCapture() || state_.Dragging) return;
    platform_.StopAutoReduceTimer();
    if (settings_.AutoRed == 1) ReduceNow();
    if (settings_.AutoRed == 2 && traits_.LayeredOK) {
        FadeNow(false, "AutoreduceTimer");
        // Faded to the last table entry, the bar is as good as gone: move it
        // up as well so it no longer covers anything.
        if (state_.CurrentAlpha == kLineAlpha) ReduceTo1();
    }
    if (settings_.ProcessPrio == 1) platform_.SetNormalPriority();
    platform_.TopNow();
    platform_.EndActivationCycle();
}

void Reducer::RestartAutoReduceTimer() {
    platform_.StopAutoReduceTimer();
    if (!state_.TransitionBusy) platform_.StartAutoReduceTimer();
    platform_.StartPosTimer();
}

void Reducer::ReduceNow() {
    Log(3, "RN_1 ReduceNow()");
    if (platform_.IsMenuOrToolbarShown()) {
        Log(3, " popup active -> abort");
        return;
    }
    if (state_.Reducing) {
        Log(3, "RN_2 raus IsActive");
        return;
    }
    if (platform_.AltDown()) {
        Log(3, "RN_3 raus Alt");
        return;
    }
    state_.Reducing = true;
    state_.TransitionBusy = true;
    if (settings_.ToolTip) platform_.HideToolTip();
    platform_.Try4UnRaise();
    const ScreenRect bar = platform_.BarRect();
    if (bar.Top == 0 && settings_.SoftRed && !SoftReduce(bar, platform_.CurrentBarSize().Height))
        return;
    ReduceTo1();
    state_.Reducing = false;
    state_.TransitionBusy = false;
    platform_.TopNow();
}

// Slides the bar up one pixel per step. False when a restore cleared the busy
// flag meanwhile: the bar stays where it is and the restore takes over.
bool Reducer::SoftReduce(const ScreenRect& start, std::int32_t barHeight) {
    Log(3, "RN_4 soft + me.top=0");
    platform_.BeginTimerResolution();
    platform_.SetHighPriority();
    const std::int32_t probeStep = 2 * platform_.CurrentBarSize().ButtonWidth;
    const std::uint64_t t0 = platform_.NowMs();
    for (std::int32_t i = 1; i <= barHeight - 2; ++i) {
        if (!state_.TransitionBusy) {
            state_.Reducing = false;
            // Every timeBeginPeriod needs its timeEndPeriod.
            platform_.EndTimerResolution();
            return false;
        }
        const std::uint64_t t1 = platform_.NowMs();
        ScreenRect step = start;
        step.Top = -i;
        platform_.MoveBar(step);
        RefreshExposedWindows({step.Left, step.Bottom()}, {step.Right() - 1, step.Bottom()},
                              probeStep);
        const std::uint64_t now = platform_.NowMs();
        if (now - t1 > kSlowStepMs || now - t0 > kSlowReduceMs) {
            ReduceTo1();
            break;
        }
        if (i == barHeight - 2 && settings_.AutoRed == 1 &&
            TransparentLine(settings_, traits_.LayeredOK)) {
            SetAlphaValue(kLineAlpha);
        }
        platform_.Sleep(kSoftStepMs);
    }
    if (settings_.ProcessPrio == 1) platform_.SetNormalPriority();
    platform_.EndTimerResolution();
    return true;
}

void Reducer::ReduceTo1() {
    Log(3, "ReduceTo1...");
    const BarSize size = platform_.CurrentBarSize();
    platform_.MoveBar(ReducedPlacement(platform_.BarRect(), size.Height, size.LineHeight));
    if (TransparentLine(settings_, traits_.LayeredOK)) SetAlphaValue(kLineAlpha);
    const ScreenRect bar = platform_.BarRect();
    Log(3, "pos after reduce %i, %i, %u, %u", bar.Left, bar.Top, bar.Width, bar.Height);
}

void Reducer::UnReduce(bool restartTimer) {
    Log(3, "UnReduce(%i)", restartTimer ? 1 : 0);
    // Set before the re-entry test: this is what stops a running soft reduce.
    state_.TransitionBusy = true;
    if (state_.Restoring) {
        Log(3, "raus");
        return;
    }
    state_.Restoring = true;
    const std::int32_t barHeight = platform_.CurrentBarSize().Height;
    const ScreenRect bar = platform_.BarRect();
    if (IsReduced(bar)) {
        if (settings_.SoftRed) {
            SoftRestore(barHeight);
        } else {
            platform_.MoveBar(ShownPlacement(bar, barHeight));
            FlashTransparentLine();
        }
    } else if (settings_.AutoRed == 1) {
        Log(3, "SR_XXX");
        SetAlphaValue(kOpaque);
    }
    if (settings_.AutoRed == 2 && traits_.LayeredOK && state_.CurrentAlpha < kOpaque) {
        platform_.MoveBar(ShownPlacement(platform_.BarRect(), barHeight));
        FadeNow(true, "UnReduce");
    }
    state_.Restoring = false;
    state_.TransitionBusy = false;
    platform_.RecordForegroundWindow();
    if (restartTimer) RestartAutoReduceTimer();
}

void Reducer::SoftRestore(std::int32_t barHeight) {
    platform_.BeginTimerResolution();
    platform_.SetHighPriority();
    ScreenRect bar = platform_.BarRect();
    bar.Height = barHeight;
    platform_.MoveBar(bar);
    FlashTransparentLine();
    for (std::int32_t top = bar.Top; top <= 0; ++top) {
        bar.Top = top;
        platform_.MoveBar(bar);
        platform_.RepaintBar();
        platform_.Sleep(kSoftStepMs);
    }
    if (settings_.ProcessPrio == 0 || settings_.ProcessPrio == 1) platform_.SetNormalPriority();
    platform_.EndTimerResolution();
}

void Reducer::FlashTransparentLine() {
    if (!TransparentLine(settings_, traits_.LayeredOK)) return;
    SetAlphaValue(kFlashAlpha);
    SetAlphaValue(kOpaque);
}

void Reducer::FadeNow(bool fadeIn, std::string_view caller) {
    const std::int32_t faded = FadedAlpha(settings_);
    const std::int32_t from = fadeIn ? faded : kOpaque;
    const std::int32_t to = fadeIn ? kOpaque : faded;
    Log(3, "FadeNow(%i) %s", fadeIn ? 1 : 0, caller);
    if (to == state_.CurrentAlpha) return;
    platform_.SetHighPriority();
    const std::vector<std::int32_t> alphas = FadeSequence(from, to);
    for (std::size_t i = 0; i + 1 < alphas.size(); ++i) {
        SetAlphaValue(alphas[i]);
        platform_.Sleep(kFadeStepMs);
    }
    SetAlphaValue(alphas.back());
    if (settings_.ProcessPrio == 0 || settings_.ProcessPrio == 1) platform_.SetNormalPriority();
}

void Reducer::UnScrollAndFade() {
    if (UsesAlpha(settings_, traits_.LayeredOK) && state_.CurrentAlpha != kOpaque) {
        SetAlphaValue(kUnScrollFlashAlpha);
        SetAlphaValue(kOpaque);
    }
    platform_.MoveBar(ShownPlacement(platform_.BarRect(), platform_.CurrentBarSize().Height));
}

// Repeats are not sent: each SetLayeredWindowAttributes call makes the
// system recompose the window.
void Reducer::SetAlphaValue(std::int32_t alpha) {
    if (alpha == state_.LastAlphaSent) return;
    state_.LastAlphaSent = alpha;
    Log(4, "SetAlphaValue(%u)", alpha);
    platform_.SendAlpha(static_cast<std::uint8_t>(alpha & 0xFF));
    state_.CurrentAlpha = alpha;
}

bool Reducer::OnMouseMove(std::int32_t clientX, std::int32_t clientY) {
    const bool simulated = clientX == kSimulatedMoveX;
    if (IsReduced(platform_.BarRect())) {
        // The line must be touched on purpose: the mouse rests on it for
        // RestoreDelay ms rather than passing over it on the way elsewhere.
        const ScreenPoint before = platform_.CursorPos();
        const auto delay =
            static_cast<std::uint64_t>(std::clamp(settings_.RestoreDelay, 0, kMaxRestoreDelayMs));
        const std::uint64_t start = platform_.NowMs();
        // Each sleep lasts at least 1 ms, so the count bound never cuts the
        // wait short; it only guards against a clock that stands still.
        for (std::uint64_t n = 0; n < delay && platform_.NowMs() - start < delay; ++n) {
            platform_.Sleep(1);
        }
        const ScreenPoint after = platform_.CursorPos();
        const bool buttonDown = platform_.MouseButtonDown();
        if (buttonDown) Log(4, "mousebutton is pressed -> exit");
        if (RestoreContactLost(before, after, platform_.BarRect(), buttonDown)) return false;
    }
    if (!simulated) RestartAutoReduceTimer();
    if (clientY == platform_.CurrentBarSize().Height &&
        platform_.NowMs() - state_.LastDragOverMs > kDragOverQuietMs) {
        Log(4, "FB_MM4");
        UnReduce(true);
        Log(4, "FB_MM5");
    }
    if (UsesAlpha(settings_, traits_.LayeredOK) && traits_.LayeredOK && !simulated &&
        state_.CurrentAlpha != kOpaque) {
        Log(4, "FB_MM7");
        FadeNow(true, "MouseMove");
        Log(4, "FB_MM8");
    }
    return true;
}

std::int32_t Reducer::RefreshExposedWindows(ScreenPoint start, ScreenPoint end, std::int32_t step) {
    if (!settings_.SendWmPaints) return 0;
    std::int32_t count = 0;
    WindowId previous = 0;
    for (const ScreenPoint& p : RefreshProbePoints(start, end, step)) {
        const WindowId window = platform_.WindowAt(p);
        if (window == 0 || window == previous) continue;
        previous = window;
        const bool caption = platform_.WindowHasCaption(window);
        const std::string process =
            traits_.OldPaintRules ? std::string() : platform_.WindowProcessName(window);
        const ExposedPaint paint = ExposedPaintFor(traits_.OldPaintRules, caption, process);
        if (paint.Paint) platform_.SendPaint(window, false);
        if (paint.NonClient) platform_.SendPaint(window, true);
        if (paint.Paint || paint.NonClient) ++count;
    }
    platform_.Sleep(0);
    return count;
}

}  // namespace zorv
