// frmOptions' decisions: the captions in both languages, the items of the
// choice lists, which item shows a setting and what OK stores, how the check
// boxes depend on each other, which icon files are unused, and the lines of
// the hotkey list. Portable; the Win32 shell is options_dialog_win32.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/clip_dialog.h"  // ControlCaption, kDialogIdOk
#include "items/items.h"
#include "items/settings.h"

namespace zorv {

// What the form holds. The choice lists hold the index of the chosen item
// (-1: none); the items are the lists below.
struct OptionsForm {
    bool AutoReduce = false;
    bool AutoFade = false;
    std::int32_t Alpha = 0;  // TransparencyIdx
    bool Soft = false;
    std::int32_t RestoreDelay = 0;
    bool SendWmPaints = false;
    bool ButFlat = false;
    bool ToolTips = false;
    bool Hole = false;
    bool NoDragDropSource = false;
    std::int32_t ButSize = 0;  // ButH_id
    bool Wait4Idle = false;
    bool TaskbarOnTop = false;
    bool FullRefreshOnColorDepthChange = false;
    bool StartWithWindows = false;
    std::int32_t ProcessPrio = 0;
    bool FixMnuProblem = false;
    bool MnuNotFlat = false;
    std::int32_t MnuHotkey = 0;
    std::int32_t AstDelay = 0;
    std::int32_t AstPause = 0;
    std::int32_t ASTimeLimit = 0;
    bool ACSkip = false;
    bool ShowAItems = false;
    std::int32_t SepColor = 0;
    std::int32_t LineColor = 0;
    bool AutoBarRight = true;
    std::int32_t BarRight = 0;  // the distance lblBarRight shows
    bool Maximizer = false;
    bool DlgTrueTypeFonts = false;

    bool operator==(const OptionsForm&) const = default;
};

// The facts of this machine and run the form depends on.
struct OptionsContext {
    std::int32_t Processors = 1;
    bool FadeAvailable = true;  // layered windows: NT family, Windows 2000 and later
    bool Win9x = false;         // the time limit counts from the boot, not the logon
    bool InStartup = false;
    std::int32_t AutomaticBarRight = 0;
};

// The items of the choice lists, in the order shown.
std::vector<std::string> AlphaItems();
std::vector<std::string> RestoreDelayItems(std::int32_t processors);
std::vector<std::string> AstDelayItems();
std::vector<std::string> AstPauseItems();
std::vector<std::string> ASTimeLimitItems();
std::vector<std::string> ProcessPrioItems(bool english);
std::vector<std::string> ColorItems(bool english);
// The captions of the three button-size options.
std::vector<std::string> ButSizeItems();

// The number an item stands for ("---" is 0).
double ItemNumber(std::string_view item);
// The first item equal to `value`; the first item when none is.
std::int32_t EqualItemOrFirst(const std::vector<std::string>& items, double value);
// "---" for 0, else the first item not below `minutes`, else the last.
std::int32_t TimeLimitItem(const std::vector<std::string>& items, std::int32_t minutes);

OptionsForm FillOptionsForm(const Settings& settings, const OptionsContext& context);
// OK: the form's values into `settings`; StartWithWindows is not a setting
// and stays with the form.
void ApplyOptionsForm(const OptionsForm& form, const OptionsContext& context, Settings& settings);

// The two hiding modes exclude each other: a click that checks one unchecks
// the other.
void AutoReduceClicked(OptionsForm& form);
void AutoFadeClicked(OptionsForm& form);
struct OptionsEnabling {
    bool AutoFade = true;
    bool Soft = false;
    bool RestoreDelay = false;
    bool BarRightButtons = false;
};
OptionsEnabling OptionsEnablingOf(const OptionsForm& form, const OptionsContext& context);

// The shown distance after a click on a distance button (`step` +1 or -1);
// it stays where it is outside 0..200.
std::int32_t SteppedBarRight(std::int32_t shown, std::int32_t step);

// The warnings of checking chkAutoFade and of choosing a line colour; empty
// when there is nothing to say.
std::vector<std::string> AutoFadeWarnings(std::int32_t bitsPerPixel, bool english);
std::vector<std::string> LineColorWarnings(std::int32_t color, std::int32_t bitsPerPixel,
                                           bool win2000OrLater, bool english);

// The names among `fileNames` that no item of any list uses as its icon
// (the icon fields trimmed; empty ones and built-in "**" icons left out).
std::vector<std::string> UnusedIconFiles(const std::vector<std::string>& fileNames,
                                         const ItemLists& lists);
std::string IconFilesDeletedText(std::uint32_t deleted, std::uint32_t files, bool english);

// The hotkey list for the clipboard: "<hotkey>\t<owner>" for every item with
// a hotkey, the main menu's hotkey and each combination other programs hold
// ("241 Ctrl+A" lines), sorted by hotkey or by owner.
inline constexpr std::string_view kOthersOwner = "Windows and other Programs";
enum class HotkeyOrder { ByType, ByHotkey };
std::vector<std::string> HotkeyListLines(const ItemLists& lists, std::int32_t mnuHotkey,
                                         const std::vector<std::string>& takenByOthers,
                                         const std::function<std::string(std::int32_t)>& name,
                                         HotkeyOrder order);

std::string OptionsCaption(bool english);
std::vector<ControlCaption> OptionsControlCaptions(bool english, bool win9x);

}  // namespace zorv
