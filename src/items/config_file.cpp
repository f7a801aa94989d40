// Reading and writing the configuration file's text. Every item has its own
// section header line; the lines between two headers are handed to the item
// list's text parser as one item.
#include "items/config_file.h"

#ifndef ZORV_VERSION_MAJOR
#error "ZORV_VERSION_MAJOR and ZORV_VERSION_MINOR come from the build (zorv_core)"
#endif

namespace zorv {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kSettingsHeader = "[Settings]";
constexpr int kNoList = -1;  // settings area
constexpr int kNotHeader = -2;

// The list a header line opens, kNoList for "[Settings]". Headers are compared
// exactly, untrimmed: "[button]" is an ordinary line.
int HeaderIndex(std::string_view line, const ItemLists& lists) {
    if (line.empty() || line.front() != '[') return kNotHeader;
    if (line == kSettingsHeader) return kNoList;
    for (int i = 0; i < kListCount; ++i) {
        if (line == lists[i].SectionName) return i;
    }
    return kNotHeader;
}

// Calls `f` with each line of `text`. A line ends at LF; a CR before it (and a
// CR at the very end) is not part of the line. A last line without LF counts.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        f(line);
        if (nl == std::string_view::npos) break;
        pos = nl + 1;
    }
}

bool IsCommentOrEmpty(std::string_view line) {
    return TrimBlanks(line).empty() || line.front() == ';';
}

// Roughly the written size (a typical item takes a few hundred bytes), so
// that the text rarely has to regrow.
std::size_t EstimateSize(const ItemLists& lists) {
    std::size_t n = 2048;
    for (const clsItems& list : lists) n += std::size_t(list.Count()) * 256;
    return n;
}

}  // namespace

bool HasUtf8Bom(std::string_view bytes) {
    return bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom;
}

std::string IniHeaderLine() {
    std::string minor = std::to_string(ZORV_VERSION_MINOR);
    if (minor.size() < 2) minor.insert(0, 2 - minor.size(), '0');
    return "; ZorvPanel V" + std::to_string(ZORV_VERSION_MAJOR) + "." + minor;
}

void ClearItemLists(ItemLists& lists) {
    for (clsItems& list : lists) list.Clear();
}

void ReadIniText(std::string_view text, ItemLists& lists, Settings& settings,
                 const IniContext& context) {
    ClearItemLists(lists);
    if (HasUtf8Bom(text)) text.remove_prefix(kUtf8Bom.size());
    // Keys a file may leave out on purpose: absent, they mean these values.
    settings.ForcedColor3DFace = -1;
    settings.RefreshOnCDS = true;
    settings.TransparencyIdx = 0;
    if (context.Win9x) settings.SendWmPaints = true;

    int current = kNoList;
    std::string collected;
    auto addCollected = [&] {
        if (current == kNoList || collected.empty()) return;
        lists[current].AddItemByString(collected);
        collected.clear();
    };
    ForEachLine(text, [&](std::string_view line) {
        if (IsCommentOrEmpty(line)) return;
        if (int header = HeaderIndex(line, lists); header != kNotHeader) {
            addCollected();
            current = header;
        } else if (current == kNoList) {
            ApplySettingLine(line, settings, context);
        } else {
            collected += line;
            collected += kCrLf;
        }
    });
    addCollected();
    UpdateDerivedSettings(settings, context.Win2000OrLater);
}

std::string FormatIni(const ItemLists& lists, const Settings& settings, const IniContext& context) {
    std::string out;
    out.reserve(EstimateSize(lists));
    out += IniHeaderLine();
    out += "\r\n\r\n\r\n";
    for (const clsItems& list : lists) {
        for (std::int32_t i = 0; i < list.Count(); ++i) {
            out += list.GetItemAsString(i);
            out += kCrLf;
        }
        out += kCrLf;
    }
    out += kSettingsHeader;
    out += "\r\n\r\n";
    AppendSettingLines(out, settings, context);
    out += kCrLf;
    return out;
}

}  // namespace zorv
