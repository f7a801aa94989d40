// The whole clipboard kept across a paste: every format it held that can
// be copied (the plan is the core's PlanClipboardSave) and put back in the
// order found once the target has taken the pasted text.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace zorv {

class SavedClipboard {
  public:
    // Copies what the clipboard holds now; empty when it could not be opened.
    static SavedClipboard Take(HWND owner);
    // Up to kRestoreTries times: waits kRestoreStepMs and tries to empty the
    // clipboard; then puts the saved formats back (also when emptying never
    // worked: the text of the paste must not stay in the user's clipboard).
    void Restore(HWND owner) const;
    std::size_t FormatCount() const { return formats_.size(); }
    // False when the clipboard could not be opened: nothing was saved, so
    // a paste must not go on and overwrite it.
    bool Opened() const { return opened_; }

  private:
    struct Format {
        UINT Id = 0;
        bool EnhMetafile = false;
        std::vector<std::uint8_t> Bytes;
    };
    std::vector<Format> formats_;
    bool opened_ = false;
};

// `SetClipboardText`: the text as the clipboard's only content; one retry
// after kClipboardRetryMs. False when the clipboard stayed busy.
bool SetClipboardText(HWND owner, std::string_view utf8);

}  // namespace zorv
