// The text form of an item: the unit of the configuration file and of copy and
// paste between list editors.
#include <algorithm>
#include <cstdlib>
#include <limits>

#include "items/items.h"

namespace zorv {

namespace {

constexpr std::string_view kCrLf = "\r\n";
// Clipboard texts are collected in a buffer of this size; longer lines are
// dropped rather than cut.
constexpr std::size_t kTextBufferSize = 66666;

std::string_view SkipBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The record every parse starts from. It is deliberately not cleared between
// items: a key left out of an item keeps the value of the item parsed before.
Item& SharedRecord() {
    static Item record;
    return record;
}

// Line `line` of the text, already trimmed, applied to `r`. Returns false at a
// section header: the text of the next item starts there.
bool ApplyLine(std::string_view line, Item& r, std::string& textBuffer, bool& sawText) {
    if (IsSectionHeader(line)) return false;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return true;
    std::string_view key = line.substr(0, eq + 1);
    std::string_view value = line.substr(eq + 1);
    if (key == "Desc=") {
        r.Desc = value;
    } else if (key == "Path=") {
        r.Path = value;
    } else if (key == "WrkDir=") {
        r.WrkDir = value;
    } else if (key == "Icon=") {
        r.Icon = value;
    } else if (key == "Title=") {
        r.Title = value;
    } else if (key == "UserType=") {
        std::int32_t n = ParseDecimalPrefix(value);
        r.UserType = n == std::numeric_limits<std::int32_t>::min()
                         ? std::numeric_limits<std::int32_t>::max()
                         : std::abs(n);
    } else if (key == "Style=") {
        r.Style = ParseDecimalPrefix(value);
    } else if (key == "Prio=") {
        if (!value.empty()) r.Prio = ParseDecimalPrefix(value);
    } else if (key == "Activate=") {
        std::int32_t n = ParseDecimalPrefix(value);
        if (n == 255) n = 1;  // a true flag stored in a byte
        r.Activate = static_cast<std::uint8_t>(std::clamp(n, 0, 2));
    } else if (key == "Hotkey=") {
        r.Hotkey = ParseHexPrefix(value);
    } else if (key == "Text=") {
        sawText = true;
        if (textBuffer.size() + value.size() + kCrLf.size() < kTextBufferSize) {
            textBuffer += value;
            textBuffer += kCrLf;
        }
    }
    return true;
}

Item ParseItemText(std::string_view text) {
    Item& r = SharedRecord();
    r.Prio = 2;
    std::string textBuffer;
    bool sawText = false;
    // Lines end with CR LF; a bare LF (text pasted from elsewhere) ends a line too.
    for (std::size_t pos = 0; pos <= text.size();) {
        std::size_t nl = text.find('\n', pos);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::string_view line = text.substr(pos, end - pos);
        if (nl != std::string_view::npos && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!ApplyLine(TrimBlanks(line), r, textBuffer, sawText)) break;
        if (nl == std::string_view::npos) break;
        pos = nl + 1;
    }
    if (r.Desc.empty()) r.Desc = "-";
    if (sawText) {
        if (textBuffer.size() >= kCrLf.size()) textBuffer.resize(textBuffer.size() - kCrLf.size());
        r.Path = textBuffer;
    }
    return r;
}

void AppendLine(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += value;
    out += kCrLf;
}

}  // namespace


std::int32_t ParseDecimalPrefix(std::string_view text) {
    text = SkipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Accumulate one past the largest magnitude so that the clamp below sees
    // an overflow without the accumulator itself overflowing.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        n = std::min(n * 10 + (c - '0'), kLimit);
    }
    if (negative) n = -n;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        n, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// A value of up to four digits as written is a 16-bit code, so 8000..FFFF
// carry the sign; longer ones are 32-bit, leading zeros included, so
// "0000FFFF" is 65535. Every value FormatHex writes comes back unchanged.
std::int32_t ParseHexPrefix(std::string_view text) {
    text = SkipBlanks(text);
    std::uint64_t n = 0;
    int written = 0, significant = 0;
    for (char c : text) {
        int d = HexDigitValue(c);
        if (d < 0) break;
        ++written;
        if (n == 0 && d == 0) continue;
        if (++significant > 8) return 0;  // no 32-bit hotkey or colour has more digits
        n = n * 16 + static_cast<std::uint64_t>(d);
    }
    if (written <= 4) return static_cast<std::int16_t>(static_cast<std::uint16_t>(n));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
}

std::string FormatHex(std::int32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    auto n = static_cast<std::uint32_t>(value);
    std::string out;
    do {
        out.insert(out.begin(), kDigits[n & 0xF]);
        n >>= 4;
    } while (n != 0);
    // Four digits would read back as negative: the one zero that keeps the value.
    if (value >= 0x8000 && value <= 0xFFFF) out.insert(0, "0");
    return out;
}

void ResetSharedParseRecord() {
    SharedRecord() = Item{};
}

void clsItems::AddItemByString(std::string_view text) {
    AddItemAtByString(Count(), text);
}

void clsItems::AddItemAtByString(std::int32_t index, std::string_view text) {
    AddItemAt(index, ParseItemText(text));
}

bool clsItems::IsClipboardList() const {
    constexpr std::string_view kClip = "clip";
    if (ListName.size() < kClip.size()) return false;
    for (std::size_t i = 0; i < kClip.size(); ++i) {
        char c = ListName[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kClip[i]) return false;
    }
    return true;
}

std::string clsItems::GetItemAsString(std::int32_t index) const {
    if (!ValidIndex(index)) return {};
    const Item& it = items_[index];
    std::string out;
    AppendLine(out, SectionName, "");
    AppendLine(out, "Desc=", it.Desc);
    if (IsClipboardList()) {
        // One "Text=" line per line of the clipboard text.
        std::string_view path = it.Path;
        for (std::size_t pos = 0;;) {
            std::size_t br = path.find(kCrLf, pos);
            AppendLine(
                out, "Text=",
                path.substr(pos, br == std::string_view::npos ? std::string_view::npos : br - pos));
            if (br == std::string_view::npos) break;
            pos = br + kCrLf.size();
        }
        AppendLine(out, "Activate=", std::to_string(it.Activate));
    } else {
        AppendLine(out, "Path=", it.Path);
        AppendLine(out, "WrkDir=", it.WrkDir);
        AppendLine(out, "UserType=", std::to_string(it.UserType));
        AppendLine(out, "Icon=", it.Icon);
        AppendLine(out, "Activate=", std::to_string(it.Activate));
        AppendLine(out, "Title=", it.Title);
        AppendLine(out, "Style=", std::to_string(it.Style));
        AppendLine(out, "Prio=", std::to_string(it.Prio));
    }
    AppendLine(out, "Hotkey=", FormatHex(it.Hotkey));
    return out;
}

}  // namespace zorv
