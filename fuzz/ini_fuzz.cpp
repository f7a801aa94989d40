// Configuration file: arbitrary text is read into the lists and settings;
// what that gives must then be a fixed point of writing and reading: the
// written text reads back to the same settings and items and writes again
// byte for byte the same.
#include <array>

#include "fuzz_common.h"
#include "items/config_file.h"

namespace zorv::fuzz {
namespace {

ItemLists NamedLists() {
    ItemLists lists = CreateItemLists();
    SetListNames(lists, true);
    return lists;
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

const std::array<IniContext, 3> kContexts = {{
    {1024, 768, 15, 15, false, true},
    {1366, 768, 12, 20, true, false},
    {20, 10, 0, 1, false, true},  // tiny screen, a broken twips value
}};

}  // namespace

void FuzzOne(std::string_view input) {
    const IniContext& c = kContexts[input.empty() ? 0 : std::uint8_t(input[0]) % kContexts.size()];
    ResetSharedParseRecord();
    ItemLists first = NamedLists();
    Settings s1 = DefaultSettings(c.Win9x);
    ReadIniText(input, first, s1, c);
    for (const clsItems& list : first) {
        for (std::int32_t i = 0; i < list.Count(); ++i) {
            if (Unwritable(list.GetPath(i), list.IsClipboardList())) return;
        }
    }
    const std::string t1 = FormatIni(first, s1, c);
    ItemLists second = NamedLists();
    Settings s2 = Scrambled();
    ReadIniText(t1, second, s2, c);
    Check(s2 == s1);
    for (int l = 0; l < kListCount; ++l) {
        Check(first[l].Count() == second[l].Count());
        for (std::int32_t i = 0; i < first[l].Count(); ++i) {
            Item x, y;
            first[l].GetItem(i, x);
            second[l].GetItem(i, y);
            Check(SameInText(x, y, first[l].IsClipboardList()));
        }
    }
    Check(FormatIni(second, s2, c) == t1);
}

}  // namespace zorv::fuzz
