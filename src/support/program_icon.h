// The icon of an item's program without a window: which file on disk stands
// for the program an item's command names, and how an icon drawn on black
// and on white separates into picture and mask. Portable: no Windows headers.
// Shared by the bar's buttons and the item dialog.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv {

// The files that may hold the icon of an item whose `Path` is `path`, most
// likely first: the quoted name, or else the first blank-separated word and
// then every longer run of words (an unquoted "C:\Program Files\x.exe -a"
// means "C:\Program Files\x.exe"). Nothing for an empty path, for the
// program's own commands ("*CLIP*" ...) and for URLs. Environment variables
// are left for the caller to expand.
std::vector<std::string> ProgramFileCandidates(std::string_view path);

// One pixel of an icon drawn once on black and once on white (0x00RRGGBB or
// any other fixed channel order; the channels are treated alike). The
// difference is what shines through: a pixel is opaque when it covers at
// least half of the background, and its colour is then taken back from the
// black drawing without the black. Pixels that invert the background
// (white on black, black on white) count as opaque.
struct IconPixel {
    std::uint32_t Pixel = 0;
    bool Opaque = false;

    bool operator==(const IconPixel&) const = default;
};
IconPixel SeparateIconPixel(std::uint32_t onBlack, std::uint32_t onWhite);

// At most this many candidates: a long path of many words would otherwise
// cost one file-system search per word.
inline constexpr std::size_t kMaxProgramFileCandidates = 8;

// What naming a program needs of the file system.
class NameOnDiskLookup {
  public:
    virtual ~NameOnDiskLookup() = default;
    // The file as it is named on disk (the last part only), when it exists.
    virtual std::optional<std::string> NameOnDisk(const std::string& path) = 0;
};

// The name of the program a command line names, without folder and
// extension: as the file is named on disk when some candidate exists,
// otherwise the first candidate as written with its first letter in upper
// case.
std::string ProgramNameOf(std::string_view path, NameOnDiskLookup& files);

// The name of a new icon file for the program of `path`: its program file
// without folder and extension, characters that cannot stand in a file
// name replaced by "_", "_noname" when nothing is left; "_2", "_3" ... is
// added until the name is not in `taken` (compared without case).
std::string NewIconFileName(std::string_view path, const std::vector<std::string>& taken);

}  // namespace zorv
