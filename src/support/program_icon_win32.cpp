#include "support/program_icon_win32.h"

#include <shellapi.h>

#include <optional>
#include <vector>

#include "support/file_win32.h"
#include "support/gdi_win32.h"
#include "support/late_bound_win32.h"
#include "support/log.h"
#include "support/program_icon.h"
#include "support/text_win32.h"

namespace zorv {

namespace {

std::wstring ExpandEnvironment(const std::wstring& text) {
    wchar_t buf[MAX_PATH * 2];
    const DWORD n =
        ExpandEnvironmentStringsW(text.c_str(), buf, static_cast<DWORD>(std::size(buf)));
    if (n == 0 || n > std::size(buf)) return text;
    return buf;
}

// As the command would find it: as written (relative to the current folder),
// else along the search path with ".exe" added when the name has no extension.
std::optional<std::wstring> FindProgramFile(const std::string& itemPath) {
    for (const std::string& candidate : ProgramFileCandidates(itemPath)) {
        const std::wstring name = ExpandEnvironment(Widen(candidate));
        if (GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES) return name;
        wchar_t found[MAX_PATH];
        const DWORD n = SearchPathW(nullptr, name.c_str(), L".exe",
                                    static_cast<DWORD>(std::size(found)), found, nullptr);
        if (n > 0 && n < std::size(found)) return std::wstring(found);
    }
    return std::nullopt;
}

// Programs and icon libraries carry their own icons, in several sizes: the
// one nearest `size` is taken (a larger screen gets a larger image, not a
// small one stretched). For documents and folders the shell knows the icon of
// their type: the small one for 16 pixels, else the large one.
HICON ExtractIconOfSize(const std::wstring& file, std::int32_t size) {
    static const auto extract =
        LateBound<decltype(&ExtractIconExW)>(L"shell32.dll", "ExtractIconExW");
    static const auto extractSized =
        LateBound<decltype(&PrivateExtractIconsW)>(L"user32.dll", "PrivateExtractIconsW");
    static const auto fileInfo =
        LateBound<decltype(&SHGetFileInfoW)>(L"shell32.dll", "SHGetFileInfoW");
    HICON icon = nullptr;
    if (size == kIconPixels) {
        if (extract && extract(file.c_str(), 0, nullptr, &icon, 1) > 0 && icon) return icon;
    } else if (extractSized) {
        UINT id = 0;
        const UINT n = extractSized(file.c_str(), 0, size, size, &icon, &id, 1, 0);
        if (n != 0 && n != 0xFFFFFFFF && icon) return icon;
        icon = nullptr;
    }
    SHFILEINFOW info{};
    const UINT which = size <= kIconPixels ? SHGFI_SMALLICON : SHGFI_LARGEICON;
    if (fileInfo && fileInfo(file.c_str(), 0, &info, sizeof info, SHGFI_ICON | which)) {
        return info.hIcon;
    }
    return nullptr;
}

// An icon may be a mask and a picture, or 32-bit with alpha and an empty
// mask: drawn once on black and once on white, it shows which pixels it
// covers whatever its format.
bool DrawIconIntoPlace(HICON icon, const IconPlace& to) {
    const int size = to.Size;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -2 * size;  // top-down: the icon on black above, on white below
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return false;
    UniqueDC dc(CreateCompatibleDC(to.Dc));
    SelectGuard select(dc.get(), dib.get());
    PatBlt(dc.get(), 0, 0, size, size, BLACKNESS);
    PatBlt(dc.get(), 0, size, size, size, WHITENESS);
    if (!DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL) ||
        !DrawIconEx(dc.get(), 0, size, icon, size, size, 0, nullptr, DI_NORMAL)) {
        return false;
    }
    GdiFlush();
    auto* px = static_cast<std::uint32_t*>(bits);
    const int area = size * size;
    for (int i = 0; i < area; ++i) {
        const IconPixel p = SeparateIconPixel(px[i], px[area + i]);
        px[i] = p.Opaque ? p.Pixel : 0;
        px[area + i] = p.Opaque ? 0 : 0xFFFFFF;
    }
    BitBlt(to.Dc, to.Icon.X, to.Icon.Y, size, size, dc.get(), 0, 0, SRCCOPY);
    BitBlt(to.Dc, to.Mask.X, to.Mask.Y, size, size, dc.get(), 0, size, SRCCOPY);
    return true;
}

}  // namespace

bool LoadProgramIcon(const std::string& itemPath, const IconPlace& to) {
    const std::optional<std::wstring> file = FindProgramFile(itemPath);
    if (!file) return false;
    UniqueIcon icon(ExtractIconOfSize(*file, to.Size));
    if (!icon) {
        Log(2, "LoadProgramIcon: no icon in %s", Narrow(*file));
        return false;
    }
    return DrawIconIntoPlace(icon.get(), to);
}

void DrawIconWithMask(HDC dc, std::int32_t x, std::int32_t y, const IconPlace& from) {
    BitBlt(dc, x, y, from.Size, from.Size, from.Dc, from.Mask.X, from.Mask.Y, SRCAND);
    BitBlt(dc, x, y, from.Size, from.Size, from.Dc, from.Icon.X, from.Icon.Y, SRCPAINT);
}

namespace {
constexpr char kTempIconFile[] = "tmp$$$.bmp";
}  // namespace

// As the command would find it: as written, else along the search path.
std::optional<std::string> Win32NameOnDisk::NameOnDisk(const std::string& path) {
    std::wstring name = ExpandEnvironment(Widen(path));
    wchar_t found[MAX_PATH];
    const DWORD n = SearchPathW(nullptr, name.c_str(), L".exe",
                                static_cast<DWORD>(std::size(found)), found, nullptr);
    if (n > 0 && n < std::size(found)) name = found;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(name.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return std::nullopt;
    FindClose(find);
    return Narrow(data.cFileName);
}

std::vector<std::string> IconFolderFiles(const std::string& folder) {
    std::vector<std::string> names = FileNamesIn(folder, "*.bmp");
    std::erase(names, std::string(kTempIconFile));
    return names;
}

// Writes the icon and its mask kept in `from` into the icon folder as one
// picture twice as wide as high (32 x 16 at 96 dpi) (image left, mask right): under the name of an equal
// file already there, else under a new name for the program of `path`.
// Empty when nothing could be written.
std::string WriteIconPicture(const IconPlace& from, const std::string& folder,
                             const std::string& path) {
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 2 * from.Size;
    bi.bmiHeader.biHeight = from.Size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return {};
    {
        UniqueDC dc(CreateCompatibleDC(from.Dc));
        SelectGuard select(dc.get(), dib.get());
        BitBlt(dc.get(), 0, 0, from.Size, from.Size, from.Dc, from.Icon.X, from.Icon.Y, SRCCOPY);
        BitBlt(dc.get(), from.Size, 0, from.Size, from.Size, from.Dc, from.Mask.X,
               from.Mask.Y, SRCCOPY);
        GdiFlush();
    }
    const std::string temp = folder + "\\" + kTempIconFile;
    if (!WriteDibFile(temp, bi.bmiHeader, bits)) return {};
    const std::string written = ReadFileBytes(temp).value_or("");
    const std::vector<std::string> existing = IconFolderFiles(folder);
    for (const std::string& name : existing) {
        if (ReadFileBytes(folder + "\\" + name) == written) {
            DeleteFileW(Widen(temp).c_str());
            return name;
        }
    }
    const std::string name = NewIconFileName(path, existing);
    if (!MoveFileW(Widen(temp).c_str(), Widen(folder + "\\" + name).c_str())) {
        Log(1, "WriteIconPicture: %s not written (%u)", name, static_cast<std::uint32_t>(GetLastError()));
        DeleteFileW(Widen(temp).c_str());
        return {};
    }
    return name;
}

}  // namespace zorv
