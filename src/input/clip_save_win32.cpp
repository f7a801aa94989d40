#include "input/clip_save_win32.h"

#include <string>

#include "input/keys_win32.h"
#include "input/paste.h"
#include "support/clipboard_win32.h"
#include "support/log.h"
#include "support/text_win32.h"
#include "support/win32_constants.h"

namespace zorv {

namespace {

// Formats whose handle is no memory block: GlobalSize would misread them.
bool HandleIsNoMemory(UINT format) {
    using namespace win;
    return format == kCfBitmap || format == kCfPalette || format == kCfMetafilePict ||
           format == kCfEnhMetafile || (format >= kCfOwnerDisplay && format <= kCfDspEnhMetafile) ||
           (format >= kCfPrivateFirst && format <= kCfGdiObjLast);
}

ClipboardFormatFacts FactsOf(UINT format) {
    ClipboardFormatFacts facts;
    facts.Format = format;
    if (format >= 0xC000) {
        wchar_t name[256] = L"";
        const int n = GetClipboardFormatNameW(format, name, 256);
        if (n > 0) facts.Name = Narrow(std::wstring_view(name, static_cast<std::size_t>(n)));
    }
    if (format == CF_ENHMETAFILE) {
        if (HANDLE h = GetClipboardData(format)) {
            facts.Size = GetEnhMetaFileBits(static_cast<HENHMETAFILE>(h), 0, nullptr);
        }
    } else if (!HandleIsNoMemory(format)) {
        if (HANDLE h = GetClipboardData(format)) facts.Size = GlobalSize(h);
    }
    return facts;
}

}  // namespace

SavedClipboard SavedClipboard::Take(HWND owner) {
    SavedClipboard saved;
    OpenClipboardGuard clipboard(owner);
    if (!clipboard) {
        Log(1, "PasteText: the clipboard stayed busy; nothing pasted");
        return saved;
    }
    saved.opened_ = true;
    std::vector<ClipboardFormatFacts> facts;
    for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) {
        facts.push_back(FactsOf(f));
    }
    for (const ClipboardFormatPlan& plan : PlanClipboardSave(facts)) {
        Format kept;
        kept.Id = plan.Format;
        HANDLE h = nullptr;
        if (plan.Keep == ClipboardKeep::Memory) {
            h = GetClipboardData(plan.Format);
            const void* data = h ? GlobalLock(h) : nullptr;
            if (!data) {
                Log(1, "Could not lock memory to copy string from. (format %u)", plan.Format);
                continue;
            }
            const auto* bytes = static_cast<const std::uint8_t*>(data);
            kept.Bytes.assign(bytes, bytes + GlobalSize(h));
            GlobalUnlock(h);
        } else if (plan.Keep == ClipboardKeep::EnhMetafile) {
            h = GetClipboardData(plan.Format);
            const UINT size = h ? GetEnhMetaFileBits(static_cast<HENHMETAFILE>(h), 0, nullptr) : 0;
            if (size == 0) continue;
            kept.EnhMetafile = true;
            kept.Bytes.resize(size);
            GetEnhMetaFileBits(static_cast<HENHMETAFILE>(h), size, kept.Bytes.data());
        } else {
            continue;
        }
        saved.formats_.push_back(std::move(kept));
    }
    Log(4, "Clipboard saved: %u of %u formats", saved.formats_.size(), facts.size());
    return saved;
}

void SavedClipboard::Restore(HWND owner) const {
    bool emptied = false;
    for (std::uint32_t i = 0; i < kRestoreTries && !emptied; ++i) {
        SleepAnsweringSent(kRestoreStepMs);
        OpenClipboardGuard clipboard(owner, 1);
        emptied = clipboard && EmptyClipboard();
    }
    if (!emptied) Log(1, "PasteText: the clipboard could not be emptied; restoring anyway");
    OpenClipboardGuard clipboard(owner);
    if (!clipboard) {
        Log(1, "PasteText: the clipboard stayed busy; its content is not restored");
        return;
    }
    if (!emptied) EmptyClipboard();
    for (const Format& f : formats_) {
        HANDLE h = f.EnhMetafile
                       ? static_cast<HANDLE>(
                             SetEnhMetaFileBits(static_cast<UINT>(f.Bytes.size()), f.Bytes.data()))
                       : static_cast<HANDLE>(CopyToGlobal(f.Bytes.data(), f.Bytes.size()));
        if (!h) continue;
        if (SetClipboardData(f.Id, h)) continue;
        Log(1, "PasteText: format %u not put back", f.Id);
        if (f.EnhMetafile) {
            DeleteEnhMetaFile(static_cast<HENHMETAFILE>(h));
        } else {
            GlobalFree(h);
        }
    }
}

bool SetClipboardText(HWND owner, std::string_view utf8) {
    if (PutTextOnClipboard(owner, utf8)) return true;
    Sleep(kClipboardRetryMs);
    if (PutTextOnClipboard(owner, utf8)) return true;
    Log(1, "SetClipboardText: the clipboard stayed busy");
    return false;
}

}  // namespace zorv
