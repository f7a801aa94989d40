#include "support/program_icon.h"

#include <algorithm>

#include "support/ascii.h"

namespace zorv {

namespace {

// "http://...", "mailto:x" and the like. A drive letter ("C:\") has a
// one-letter scheme and is a path.
bool LooksLikeUrl(std::string_view path) {
    const std::size_t colon = path.find(':');
    if (colon == std::string_view::npos || colon < 2) return false;
    const std::string_view scheme = path.substr(0, colon);
    return std::all_of(scheme.begin(), scheme.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '+' || c == '-' || c == '.';
    });
}

std::string_view LastPart(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view WithoutExtension(std::string_view name) {
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

// The program file the command line names, as written: its first candidate.
std::string ProgramFileOf(std::string_view path) {
    const std::vector<std::string> candidates = ProgramFileCandidates(path);
    return candidates.empty() ? std::string(path) : candidates.front();
}

}  // namespace

std::vector<std::string> ProgramFileCandidates(std::string_view path) {
    std::vector<std::string> out;
    path = TrimBlanks(path);
    if (path.empty() || path.front() == '*' || LooksLikeUrl(path)) return out;
    if (path.front() == '"') {
        const std::size_t close = path.find('"', 1);
        std::string_view name = TrimBlanks(
            path.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        if (!name.empty()) out.emplace_back(name);
        return out;
    }
    // Each blank run ends one candidate; the whole text is the last.
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !IsBlank(path[i])) continue;
        if (i > 0 && i < path.size() && IsBlank(path[i - 1])) continue;
        out.emplace_back(path.substr(0, i));
        if (out.size() == kMaxProgramFileCandidates) break;
    }
    return out;
}

// Per channel, black background: b = a*c; white: w = a*c + (1 - a)*255, so
// w - b = (1 - a)*255. The alpha is averaged over the channels, which keeps a
// pixel that a rounding spreads unevenly in one piece.
IconPixel SeparateIconPixel(std::uint32_t onBlack, std::uint32_t onWhite) {
    std::int32_t coverSum = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::int32_t b = static_cast<std::int32_t>((onBlack >> shift) & 0xFF);
        const std::int32_t w = static_cast<std::int32_t>((onWhite >> shift) & 0xFF);
        coverSum += std::clamp(255 - (w - b), 0, 255);
    }
    const std::int32_t alpha = (coverSum + 1) / 3;
    IconPixel p;
    p.Opaque = alpha >= 128;
    if (!p.Opaque) return p;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t b = (onBlack >> shift) & 0xFF;
        const std::uint32_t c = std::min<std::uint32_t>(255, (b * 255 + alpha / 2) / alpha);
        p.Pixel |= c << shift;
    }
    return p;
}

std::string ProgramNameOf(std::string_view path, NameOnDiskLookup& files) {
    for (const std::string& candidate : ProgramFileCandidates(path)) {
        if (std::optional<std::string> onDisk = files.NameOnDisk(candidate)) {
            return std::string(WithoutExtension(LastPart(*onDisk)));
        }
    }
    std::string name(WithoutExtension(LastPart(ProgramFileOf(path))));
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
}


std::string NewIconFileName(std::string_view path, const std::vector<std::string>& taken) {
    std::string base(WithoutExtension(LastPart(ProgramFileOf(TrimBlanks(path)))));
    for (char& c : base) {
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos ||
            static_cast<unsigned char>(c) < 32) {
            c = '_';
        }
    }
    if (base.empty()) base = "_noname";
    const auto isTaken = [&](const std::string& name) {
        return std::any_of(taken.begin(), taken.end(),
                           [&](const std::string& t) { return EqualsNoCase(t, name); });
    };
    std::string name = base + ".bmp";
    for (int n = 2; isTaken(name); ++n) name = base + "_" + std::to_string(n) + ".bmp";
    return name;
}

}  // namespace zorv
