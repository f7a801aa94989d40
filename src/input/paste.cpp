#include "input/paste.h"

#include <algorithm>
#include <array>
#include <utility>

#include "input/key_events.h"
#include "support/ascii.h"
#include "support/log.h"
#include "support/win32_constants.h"

namespace zorv {

bool PasteGuard::TryPaste(std::uint64_t nowMs) {
    if (last_ && nowMs >= *last_ && nowMs - *last_ < kPasteGuardMs) return false;
    last_ = nowMs;
    return true;
}

bool IsSlowTarget(std::string_view className) { return className == "MozillaWindowClass"; }

KeyTarget TypingTarget(const FocusFacts& focus) {
    KeyTarget target;
    target.WantsEnter = !focus.AnswersGetSel || (focus.Style & win::kEsWantReturn) != 0;
    target.Slow = IsSlowTarget(focus.ClassName);
    return target;
}

PastePlan ChoosePasteRoute(const FocusFacts& focus, bool windows95, std::uint8_t pendingModifiers) {
    constexpr std::string_view kRichEdit = "RichEdit20";
    const bool richEdit = focus.ClassName.size() >= kRichEdit.size() &&
                          EqualsNoCase(std::string_view(focus.ClassName).substr(0, kRichEdit.size()),
                                       kRichEdit);
    if (focus.AnswersGetSel && !richEdit) return {PasteRoute::EditPaste, false};
    PastePlan plan;
    plan.WaitCtrlUp = IsSlowTarget(focus.ClassName);
    plan.Route = windows95 && pendingModifiers == kHkAlt ? PasteRoute::WmPaste : PasteRoute::CtrlV;
    return plan;
}

namespace {

bool Has(std::span<const ClipboardFormatFacts> formats, std::uint32_t format) {
    return std::any_of(formats.begin(), formats.end(),
                       [&](const ClipboardFormatFacts& f) { return f.Format == format; });
}

// The formats the system converts into each other: of a group only the
// first one found is kept, the others come back by themselves.
constexpr std::array<std::array<std::uint32_t, 3>, 2> kMemoryGroups = {{
    {win::kCfUnicodeText, win::kCfText, win::kCfOemText},
    {win::kCfDib, win::kCfDibV5, win::kCfDib},
}};

ClipboardKeep KindOf(std::span<const ClipboardFormatFacts> formats, std::size_t at) {
    using namespace win;
    const std::uint32_t f = formats[at].Format;
    for (const auto& group : kMemoryGroups) {
        if (std::find(group.begin(), group.end(), f) == group.end()) continue;
        for (std::size_t i = 0; i < at; ++i) {
            if (std::find(group.begin(), group.end(), formats[i].Format) != group.end()) {
                return ClipboardKeep::Synthesized;
            }
        }
        return ClipboardKeep::Memory;
    }
    const bool dib = Has(formats, kCfDib) || Has(formats, kCfDibV5);
    switch (f) {
        case kCfEnhMetafile:
            return ClipboardKeep::EnhMetafile;
        case kCfMetafilePict:
            return Has(formats, kCfEnhMetafile) ? ClipboardKeep::Synthesized : ClipboardKeep::NotCopyable;
        case kCfBitmap:
        case kCfPalette:
            return dib ? ClipboardKeep::Synthesized : ClipboardKeep::NotCopyable;
        default:
            break;
    }
    if ((f >= kCfOwnerDisplay && f <= kCfDspEnhMetafile) || (f >= kCfPrivateFirst && f <= kCfGdiObjLast)) {
        return ClipboardKeep::NotCopyable;
    }
    return ClipboardKeep::Memory;
}

}  // namespace

std::vector<ClipboardFormatPlan> PlanClipboardSave(std::span<const ClipboardFormatFacts> formats) {
    std::vector<ClipboardFormatPlan> plan;
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < formats.size(); ++i) {
        ClipboardKeep keep = KindOf(formats, i);
        if (keep == ClipboardKeep::Memory || keep == ClipboardKeep::EnhMetafile) {
            if (formats[i].Size > kClipboardCopyCap - total) {
                keep = ClipboardKeep::OverCap;
                Log(1, "Clipboard format %s (%u bytes) not restored: the copy would pass %u MiB",
                    ClipboardFormatName(formats[i]), formats[i].Size, kClipboardCopyCap >> 20);
            } else {
                total += formats[i].Size;
            }
        } else if (keep == ClipboardKeep::NotCopyable) {
            Log(1, "Clipboard format %s not restored: its data cannot be copied",
                ClipboardFormatName(formats[i]));
        }
        plan.push_back({formats[i].Format, keep});
    }
    return plan;
}

std::string ClipboardFormatName(const ClipboardFormatFacts& format) {
    if (!format.Name.empty()) return format.Name;
    static constexpr std::array<std::pair<std::uint32_t, std::string_view>, 19> kNames = {{
        {1, "CF_TEXT"},        {2, "CF_BITMAP"},       {3, "CF_METAFILEPICT"},
        {4, "CF_SYLK"},        {5, "CF_DIF"},          {6, "CF_TIFF"},
        {7, "CF_OEMTEXT"},     {8, "CF_DIB"},          {9, "CF_PALETTE"},
        {10, "CF_PENDATA"},    {11, "CF_RIFF"},        {12, "CF_WAVE"},
        {13, "CF_UNICODETEXT"}, {14, "CF_ENHMETAFILE"}, {15, "CF_HDROP"},
        {16, "CF_LOCALE"},     {17, "CF_DIBV5"},       {0x80, "CF_OWNERDISPLAY"},
        {0x81, "CF_DSPTEXT"},
    }};
    for (const auto& [number, name] : kNames) {
        if (number == format.Format) return std::string(name);
    }
    return "#" + std::to_string(format.Format);
}

}  // namespace zorv
