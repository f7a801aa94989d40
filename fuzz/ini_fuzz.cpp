// Configuration file: arbitrary text is read into the lists and settings;
// what that gives must then be a fixed point of writing and reading: the
// written text reads back to the same settings and items and writes again
// byte for byte the same.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "items/config_file.h"

namespace {

using zorv::IniContext;
using zorv::Item;
using zorv::ItemLists;
using zorv::Settings;

void Check(bool ok) {
    if (!ok) std::abort();
}

ItemLists NamedLists() {
    ItemLists lists = zorv::CreateItemLists();
    zorv::SetListNames(lists, true);
    return lists;
}

// Texts the file cannot carry, so the fixed point does not hold for them:
// "Text=" lines give an ordinary item a multi-line Path that its one "Path="
// line cannot hold, and a clipboard line too long for the 66,666-character
// text buffer is dropped on reading.
bool HoldsUnwritableText(const ItemLists& lists) {
    for (const zorv::clsItems& list : lists) {
        for (std::int32_t i = 0; i < list.Count(); ++i) {
            const std::string path = list.GetPath(i);
            if (list.IsClipboardList() ? path.size() + 2 >= 66666
                                       : path.find('\n') != std::string::npos) {
                return true;
            }
        }
    }
    return false;
}

// Settings far from the defaults: reading a written file must overwrite all.
Settings Scrambled() {
    Settings s;
    s.AutoRed = s.RestoreDelay = s.ASDelay = s.SepColor = s.LineColor = 77;
    s.TransparencyIdx = s.MnuHotkey = s.ASTimeLimit = s.ProcessPrio = s.ButH_id = 77;
    s.LastColor3DFace = s.LastBitsPerPixel = s.ForcedBarRight = s.ForcedLanguage = 77;
    s.ForcedColor3DFace = s.LogLevel = s.AutoRedInForce = 77;
    s.SoftRed = s.SendWmPaints = s.ToolTip = s.Hole = s.NoDragDropSource = s.W4Idle = true;
    s.TaskbarTop = s.ACSkip = s.ShowAItems = s.Maximizer = s.FixMnuProblem = s.MnuFlat = true;
    s.ButFlat = s.FixFontProblem = s.WriteLogfile = s.WriteDebugView = s.FadeMode = true;
    s.RefreshOnCDS = false;
    s.ASPause = 3.25;
    s.ListWinSizeButtons = s.ListWinSizeMenu = s.ListWinSizeClip = {1, 1};
    return s;
}

bool SameItems(const ItemLists& a, const ItemLists& b) {
    for (int l = 0; l < zorv::kListCount; ++l) {
        if (a[l].Count() != b[l].Count()) return false;
        for (std::int32_t i = 0; i < a[l].Count(); ++i) {
            Item x, y;
            a[l].GetItem(i, x);
            b[l].GetItem(i, y);
            // The clipboard form carries only these; the rest comes from the
            // parser's shared record.
            if (a[l].IsClipboardList()) {
                if (x.Desc != y.Desc || x.Path != y.Path || x.Activate != y.Activate ||
                    x.Hotkey != y.Hotkey) {
                    return false;
                }
            } else if (!(x == y)) {
                return false;
            }
        }
    }
    return true;
}

const std::array<IniContext, 3> kContexts = {{
    {1024, 768, 15, 15, false, true},
    {1366, 768, 12, 20, true, false},
    {20, 10, 0, 1, false, true},  // tiny screen, a broken twips value
}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const IniContext& c = kContexts[size == 0 ? 0 : data[0] % kContexts.size()];

    zorv::ResetSharedParseRecord();
    ItemLists first = NamedLists();
    Settings s1 = zorv::DefaultSettings(c.Win9x);
    zorv::ReadIniText(text, first, s1, c);
    if (HoldsUnwritableText(first)) return 0;

    const std::string t1 = zorv::FormatIni(first, s1, c);
    ItemLists second = NamedLists();
    Settings s2 = Scrambled();
    zorv::ReadIniText(t1, second, s2, c);
    Check(s2 == s1);
    Check(SameItems(first, second));
    Check(zorv::FormatIni(second, s2, c) == t1);
    return 0;
}
