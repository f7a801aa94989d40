#include "dialogs/options_dialog.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_set>

#include "dialogs/options_dialog_ids.h"
#include "support/format.h"
#include "support/startup_state.h"
#include "support/texts.h"

namespace zorv {

namespace {

constexpr std::int32_t kBarRightMax = 200;
// Fading and a transparent line need more than 256 colours.
constexpr std::int32_t kHiColorBits = 15;
constexpr std::int32_t kTransparentColor = 4;
constexpr std::int32_t kProcessPrioMax = 2;
constexpr std::string_view kNoTimeLimit = "---";
// Icon fields that name one of the program's own pictures, not a file.
constexpr std::string_view kBuiltInIconMark = "**";

std::vector<std::string> Numbers(std::int32_t from, std::int32_t to, std::int32_t step) {
    std::vector<std::string> items;
    for (std::int32_t n = from; n <= to; n += step) items.push_back(std::to_string(n));
    return items;
}

// The item's number as the form shows it; an index off the list gives none.
std::optional<double> NumberAt(const std::vector<std::string>& items, std::int32_t index) {
    if (index < 0 || index >= static_cast<std::int32_t>(items.size())) return std::nullopt;
    return ItemNumber(items[static_cast<std::size_t>(index)]);
}

std::int32_t ClampIndex(std::int32_t value, std::size_t count) {
    return std::clamp(value, 0, static_cast<std::int32_t>(count) - 1);
}

std::string LowerText(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = LowerAscii(c);
    return lower;
}

}  // namespace

std::vector<std::string> AlphaItems() {
    std::vector<std::string> items;
    for (const char* n : {"25", "50", "75", "100"})
        items.push_back(std::string(n) + "% transparent");
    return items;
}

// A machine with one processor reacts to the mouse sooner, so its steps are finer.
std::vector<std::string> RestoreDelayItems(std::int32_t processors) {
    const std::int32_t step = processors <= 1 ? 10 : 15;
    return Numbers(0, 20 * step, step);
}

std::vector<std::string> AstDelayItems() {
    std::vector<std::string> items;
    for (std::int32_t n = 0; n <= 9; ++n) items.push_back(" " + std::to_string(n));
    for (const char* n : {"10", "15", "20", "25", "30", "60"}) items.emplace_back(n);
    return items;
}

std::vector<std::string> AstPauseItems() {
    return {"0.1", "0.25", "0.5", "0.75", "1", "1.5", "2", "5"};
}

std::vector<std::string> ASTimeLimitItems() {
    std::vector<std::string> items{std::string(kNoTimeLimit)};
    for (const std::string& n : Numbers(2, 10, 1)) items.push_back(n);
    for (const char* n : {"15", "20", "30", "60"}) items.emplace_back(n);
    return items;
}

std::vector<std::string> ProcessPrioItems(bool english) {
    if (english) return {"Always normal", "Always high when active", "Always high"};
    return {"Immer normal", "Hoch wenn aktiv", "Immer Hoch!"};
}

std::vector<std::string> ColorItems(bool english) {
    if (english)
        return {"As dialog's background", "As desktop", "As a titlebar", "Black", "Transparent"};
    return {"Dialogfarbe", "Desktopfarbe", "Titelzeilenfarbe", "Schwarz", "Transparent"};
}

std::vector<std::string> ButSizeItems() {
    std::vector<std::string> items;
    for (const std::int32_t pixels : ButtonSizes) items.push_back(std::to_string(pixels));
    return items;
}

double ItemNumber(std::string_view item) {
    return item == kNoTimeLimit ? 0.0 : ParseDecimalNumberPrefix(item);
}

std::int32_t EqualItemOrFirst(const std::vector<std::string>& items, double value) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (ItemNumber(items[i]) == value) return static_cast<std::int32_t>(i);
    }
    return 0;
}

std::int32_t TimeLimitItem(const std::vector<std::string>& items, std::int32_t minutes) {
    if (minutes == 0) return 0;  // "---"
    for (std::size_t i = 1; i < items.size(); ++i) {
        if (ItemNumber(items[i]) >= minutes) return static_cast<std::int32_t>(i);
    }
    return static_cast<std::int32_t>(items.size()) - 1;
}

OptionsForm FillOptionsForm(const Settings& s, const OptionsContext& context) {
    OptionsForm f;
    f.AutoReduce = s.AutoRed == 1;
    f.AutoFade = s.AutoRed == 2 && context.FadeAvailable;
    f.Alpha = ClampIndex(s.TransparencyIdx, AlphaItems().size());
    f.Soft = s.SoftRed;
    // A delay written by hand may lie between the steps: then nothing is
    // chosen and OK keeps it.
    const std::vector<std::string> delays = RestoreDelayItems(context.Processors);
    const auto delay = std::find_if(delays.begin(), delays.end(), [&](const std::string& item) {
        return ItemNumber(item) == s.RestoreDelay;
    });
    f.RestoreDelay = delay == delays.end() ? -1 : static_cast<std::int32_t>(delay - delays.begin());
    f.SendWmPaints = s.SendWmPaints;
    f.ButFlat = s.ButFlat;
    f.ToolTips = s.ToolTip;
    f.Hole = s.Hole;
    f.NoDragDropSource = s.NoDragDropSource;
    f.ButSize = ClampIndex(s.ButH_id, ButtonSizes.size());
    f.Wait4Idle = s.W4Idle;
    f.TaskbarOnTop = s.TaskbarTop;
    f.FullRefreshOnColorDepthChange = s.RefreshOnCDS;
    f.StartWithWindows = context.InStartup;
    f.ProcessPrio = std::clamp(s.ProcessPrio, 0, kProcessPrioMax);
    f.FixMnuProblem = s.FixMnuProblem;
    f.MnuNotFlat = !s.MnuFlat;
    f.MnuHotkey = s.MnuHotkey;
    f.AstDelay = EqualItemOrFirst(AstDelayItems(), s.ASDelay);
    f.AstPause = EqualItemOrFirst(AstPauseItems(), s.ASPause);
    f.ASTimeLimit = TimeLimitItem(ASTimeLimitItems(), s.ASTimeLimit);
    f.ACSkip = s.ACSkip;
    f.ShowAItems = s.ShowAItems;
    f.SepColor = ClampIndex(s.SepColor, ColorItems(false).size());
    f.LineColor = ClampIndex(s.LineColor, ColorItems(false).size());
    f.AutoBarRight = s.ForcedBarRight == 0;
    f.BarRight = f.AutoBarRight ? context.AutomaticBarRight : s.ForcedBarRight;
    f.Maximizer = s.Maximizer;
    f.DlgTrueTypeFonts = s.FixFontProblem;
    return f;
}

void ApplyOptionsForm(const OptionsForm& f, const OptionsContext& context, Settings& s) {
    s.AutoRed = f.AutoFade ? 2 : f.AutoReduce ? 1 : 0;
    s.TransparencyIdx = f.Alpha;
    s.SoftRed = f.Soft;
    if (auto delay = NumberAt(RestoreDelayItems(context.Processors), f.RestoreDelay)) {
        s.RestoreDelay = static_cast<std::int32_t>(*delay);
    }
    s.SendWmPaints = f.SendWmPaints;
    s.ButFlat = f.ButFlat;
    s.ToolTip = f.ToolTips;
    s.Hole = f.Hole;
    s.NoDragDropSource = f.NoDragDropSource;
    s.ButH_id = f.ButSize;
    s.W4Idle = f.Wait4Idle;
    s.TaskbarTop = f.TaskbarOnTop;
    s.RefreshOnCDS = f.FullRefreshOnColorDepthChange;
    s.ProcessPrio = std::clamp(f.ProcessPrio, 0, kProcessPrioMax);
    s.FixMnuProblem = f.FixMnuProblem;
    s.MnuFlat = !f.MnuNotFlat;
    s.MnuHotkey = f.MnuHotkey;
    s.ASDelay = static_cast<std::int32_t>(NumberAt(AstDelayItems(), f.AstDelay).value_or(0));
    s.ASPause = NumberAt(AstPauseItems(), f.AstPause).value_or(0);
    s.ASTimeLimit =
        static_cast<std::int32_t>(NumberAt(ASTimeLimitItems(), f.ASTimeLimit).value_or(0));
    s.ACSkip = f.ACSkip;
    s.ShowAItems = f.ShowAItems;
    s.SepColor = f.SepColor;
    s.LineColor = f.LineColor;
    s.ForcedBarRight = f.AutoBarRight ? 0 : f.BarRight;
    s.Maximizer = f.Maximizer;
    s.FixFontProblem = f.DlgTrueTypeFonts;
}

void AutoReduceClicked(OptionsForm& form) {
    if (form.AutoReduce) form.AutoFade = false;
}

void AutoFadeClicked(OptionsForm& form) {
    if (form.AutoFade) form.AutoReduce = false;
}

OptionsEnabling OptionsEnablingOf(const OptionsForm& form, const OptionsContext& context) {
    OptionsEnabling on;
    on.AutoFade = context.FadeAvailable;
    on.Soft = form.AutoReduce;
    on.RestoreDelay = form.AutoReduce || form.AutoFade;
    on.BarRightButtons = !form.AutoBarRight;
    return on;
}

std::int32_t SteppedBarRight(std::int32_t shown, std::int32_t step) {
    const std::int32_t next = shown + step;
    return next < 0 || next > kBarRightMax ? shown : next;
}

std::vector<std::string> AutoFadeWarnings(std::int32_t bitsPerPixel, bool english) {
    if (bitsPerPixel >= kHiColorBits) return {};
    return {TextIn(Txt::HiColorOnly, english)};
}

std::vector<std::string> LineColorWarnings(std::int32_t color, std::int32_t bitsPerPixel,
                                           bool win2000OrLater, bool english) {
    if (color != kTransparentColor) return {};
    std::vector<std::string> warnings = AutoFadeWarnings(bitsPerPixel, english);
    if (!win2000OrLater) warnings.push_back(TextIn(Txt::Win2000Only, english));
    return warnings;
}

// File names compare without case, as the file system does: a used icon
// written with other letter case must not be deleted.
std::vector<std::string> UnusedIconFiles(const std::vector<std::string>& fileNames,
                                         const ItemLists& lists) {
    std::unordered_set<std::string> used;
    for (const clsItems& list : lists) {
        for (std::int32_t i = 0; i < list.Count(); ++i) {
            const std::string icon = list.GetIcon(i);
            const std::string_view name = TrimBlanks(icon);
            if (name.empty() || name.starts_with(kBuiltInIconMark)) continue;
            used.insert(LowerText(name));
        }
    }
    std::vector<std::string> unused;
    for (const std::string& file : fileNames) {
        if (!used.contains(LowerText(file))) unused.push_back(file);
    }
    return unused;
}

std::string IconFilesDeletedText(std::uint32_t deleted, std::uint32_t files, bool english) {
    return sprintf(TextIn(Txt::IconFilesDeleted, english), {deleted, files});
}

std::vector<std::string> HotkeyListLines(const ItemLists& lists, std::int32_t mnuHotkey,
                                         const std::vector<std::string>& takenByOthers,
                                         const std::function<std::string(std::int32_t)>& name,
                                         HotkeyOrder order) {
    struct Line {
        std::string Hotkey;
        std::string Owner;
    };
    std::vector<Line> lines;
    for (const clsItems& list : lists) {
        for (std::int32_t i = 0; i < list.Count(); ++i) {
            const std::int32_t hotkey = list.GetHotkey(i);
            if (hotkey == 0) continue;
            const std::string desc = list.GetDesc(i);
            lines.push_back({name(hotkey), list.ListName + " -> " + std::string(StripDepth(desc))});
        }
    }
    if (mnuHotkey != 0) lines.push_back({name(mnuHotkey), lists[kListMenu].ListName});
    // "241 Ctrl+A": the name follows the first blank.
    for (const std::string& taken : takenByOthers) {
        const std::size_t blank = taken.find(' ');
        lines.push_back({blank == std::string::npos ? taken : taken.substr(blank + 1),
                         std::string(kOthersOwner)});
    }
    const auto key = [order](const Line& line) {
        return LowerText(order == HotkeyOrder::ByHotkey ? line.Hotkey : line.Owner);
    };
    std::stable_sort(lines.begin(), lines.end(),
                     [&](const Line& a, const Line& b) { return key(a) < key(b); });
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const Line& line : lines) out.push_back(line.Hotkey + "\t" + line.Owner);
    return out;
}

std::string OptionsCaption(bool english) {
    return english ? "Options" : "Optionen";
}

std::vector<ControlCaption> OptionsControlCaptions(bool english, bool win9x) {
    struct Row {
        std::int32_t Id;
        std::string_view German;
        std::string_view English;
    };
    // Where the English column repeats the German one the caption is the
    // same in both languages.
    static constexpr Row kRows[] = {
        {IDC_OPT_FRA_GENERAL, "Allgemein", "&General"},
        {IDC_OPT_FRA_BAR, "Buttonleiste", "Button&bar"},
        {IDC_OPT_FRA_MISC, "Sonstiges", "Mis&cellaneous"},
        {IDC_OPT_FRA_COLORS, "Farben", "Colors"},
        {IDC_OPT_AUTO_REDUCE, "automatisch auf &1 Pixel reduzieren",
         "&Automatic Reduce to 1 Pixel"},
        {IDC_OPT_AUTO_FADE, "&automatisch ausblenden", "A&utomatic fade out"},
        {IDC_OPT_SOFT, "S&oftscroll", "Reduce &soft"},
        {IDC_OPT_RESTORE_DELAY_LABEL, "Verzögerung Wiederherst.:", "Restore dela&y"},
        {IDC_OPT_SEND_WM_PAINTS, "Freigelegte Fenster refreshen", "Refresh e&xposed windows"},
        {IDC_OPT_BUT_FLAT, "&Flache Button", "&Flat buttons"},
        {IDC_OPT_TOOLTIPS, "&Tool-Tips", "&Tool-Tips"},
        {IDC_OPT_HOLE, "&Loch bei Shift", "&Hole on Shift"},
        {IDC_OPT_NO_DRAG_SOURCE, "Keine Quelle für &Drag+Drop", "No source for &drag'n drop"},
        {IDC_OPT_BUT_SIZE_LABEL, "&Höhe", "&Height"},
        {IDC_OPT_WAIT4IDLE, "&Beim Start erst zeigen wenn System bereit",
         "&Don't show on startup until system is ready"},
        {IDC_OPT_TASKBAR_TOP, "Windows Taskbar auch im &Vordergrund halten",
         "&Hold Windows Taskbar on top too"},
        {IDC_OPT_REFRESH_ON_CDS, "&Icons bei Wechsel der Windows Farbtiefe neu erzeugen",
         "&Reload icons on change of Windows' color depth"},
        {IDC_OPT_START_WITH_WINDOWS, "&mit &Windows starten", "Start &with Windows"},
        {IDC_OPT_PRIO_LABEL, "Prozess-Priorität:", "Process priority"},
        {IDC_OPT_HK_CLIP_LABEL, "Hotkey-&Liste ins Clipboard:", "List of hotkeys to Cli&pboard"},
        {IDC_OPT_HK_BY_TYPE, "Nach Typ", "Sorted by type"},
        {IDC_OPT_HK_BY_HOTKEY, "Nach Hotkey", "Sorted by hotkey"},
        {IDC_OPT_FRA_MENU, "Menü", "Menu"},
        {IDC_OPT_FIX_MNU, "&Problem beim Öffnen beheben", "Fi&x problems opening it"},
        {IDC_OPT_MNU_NOT_FLAT, "&3D-Effe&kt", "3D Effect"},
        {IDC_OPT_HOTKEY_LABEL, "&Hotkey:", "&Hotkey:"},
        {IDC_OPT_FRA_AUTOSTART, "Aut&ostart / Autoclose", "Aut&ostart / Autoclose"},
        {IDC_OPT_AST_DELAY_LABEL, "Autostart-&Verz:", "Autostart &delay"},
        {IDC_OPT_AST_PAUSE_LABEL, "Autostart-&Pause:", "Autostart &pause"},
        {IDC_OPT_AC_SKIP, "Autoclose Ü&bergehen, wenn manuell beendet",
         "Skip Autoclose if closed manuall&y"},
        {IDC_OPT_SHOW_AITEMS, "Einträge im Menü &zeigen", "Sho&w items in menu"},
        {IDC_OPT_SEP_COLOR_LABEL, "Button-&Separatoren:", "Se&parator color"},
        {IDC_OPT_LINE_COLOR_LABEL, "Button-&Linie:", "Bar &line color"},
        {IDC_OPT_FRA_BAR_RIGHT, "Abstand der Buttonleiste von rechts", "Bar distance from right"},
        {IDC_OPT_AUTO_BAR_RIGHT, "&auto", "&auto"},
        {IDC_OPT_BAR_RIGHT_MORE, "<", "<"},
        {IDC_OPT_BAR_RIGHT_LESS, ">", ">"},
        {IDC_OPT_FRA_CLEAN_ICONS, "Icons", "Icons"},
        {IDC_OPT_CLEAN_ICONS, "Nicht benutzte &Icons löschen", "Delete Unused &Icons"},
        {IDC_OPT_MAXIMIZER, "Ma&ximizer", "Ma&ximizer"},
        {IDC_OPT_FRA_FONT, "Dialog-Font", "Dialog-Font"},
        {IDC_OPT_TRUETYPE_FONTS, "True Type", "True Type"},
        {IDC_OPT_HELP, "Hilfe", "Help"},
        {kDialogIdOk, "OK", "OK"},
        {kDialogIdCancel, "Abbrechen", "Cancel"},
    };
    std::vector<ControlCaption> captions;
    for (const Row& row : kRows) captions.push_back({row.Id, english ? row.English : row.German});
    // The time limit counts from the logon, on Windows 95/98/ME from the boot.
    static constexpr std::array<std::string_view, 4> kTimeLimit = {
        "Autostart &über- gehen, wenn seit Login mehr als:",
        "Autostart &über- gehen, wenn seit Boot mehr als:",
        "S&kip Autostart if since logon more than", "S&kip Autostart if since boot more than"};
    captions.push_back({IDC_OPT_AST_LIMIT_LABEL, kTimeLimit[(english ? 2 : 0) + (win9x ? 1 : 0)]});
    return captions;
}

}  // namespace zorv
