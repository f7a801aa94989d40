// How the bar looks on the screen: where its cells are, the faces of the
// three heights in 3D and flat mode, separators (also transparent ones), the
// icons from the built-in set, the icon folder and the items' programs, the
// colours it follows, and the cached bar picture beside the configuration.
// Judged by the pixels the screen shows.
#include <cstdio>
#include <cstring>
#include <sstream>

#include "support/screen_pixels.h"
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

constexpr std::uint32_t kDesktop = 0x256F95;  // Wine's desktop background
constexpr int kRightGap = 58;                 // 2 * SM_CXSIZE + 22 with SM_CXSIZE 18

// ---- Configuration files ------------------------------------------------

// One [Button] section with every key, as the program writes them.
std::string ButtonItem(std::string_view desc, std::string_view icon, std::string_view path = "") {
    std::string s = "[Button]\r\nDesc=";
    s.append(desc).append("\r\nPath=").append(path);
    s.append("\r\nWrkDir=\r\nUserType=0\r\nIcon=").append(icon);
    s.append("\r\nActivate=0\r\nTitle=\r\nStyle=1\r\nPrio=2\r\nHotkey=0\r\n\r\n");
    return s;
}

std::string Separator() {
    return ButtonItem("-", "");
}

std::string Ini(const std::vector<std::string>& buttons, std::string_view settings) {
    std::string s = "; ZorvPanel V0.01\r\n\r\n\r\n";
    for (const std::string& b : buttons) s += b;
    s.append("[Settings]\r\n\r\n").append(settings);
    return s;
}

// ---- Expected colours ---------------------------------------------------

enum class Role { Highlight, Shadow, Face, Dark };

struct FaceColours {
    std::uint32_t Highlight, Shadow, Face, Dark;

    std::uint32_t Of(Role r) const {
        switch (r) {
            case Role::Highlight:
                return Highlight;
            case Role::Shadow:
                return Shadow;
            case Role::Face:
                return Face;
            case Role::Dark:
                break;
        }
        return Dark;
    }
};

// The outer edge is the 3D dark shadow with its green brought down to 64.
std::uint32_t Darkened(COLORREF c) {
    unsigned r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    if (g > 64) {
        auto scale = [g](unsigned v) { return (128 * v + g) / (2 * g); };
        r = scale(r), b = scale(b), g = scale(g);
    }
    return (r << 16) | (g << 8) | b;
}

FaceColours SystemFaceColours() {
    return {RgbOf(GetSysColor(COLOR_3DHIGHLIGHT)), RgbOf(GetSysColor(COLOR_3DSHADOW)),
            RgbOf(GetSysColor(COLOR_3DFACE)), Darkened(GetSysColor(COLOR_3DDKSHADOW))};
}

// A pixel the bar must show, relative to the bar's top-left corner.
struct Expect {
    int X, Y;
    std::uint32_t Colour;
    std::string What;
};

struct Probe {
    int Dx, Dy;
    Role R;
};

// Characteristic pixels of an empty 3D button of each height (ButH_id 0, 1,
// 2), clear of the icon: the highlight on the left, the dark outer edge on
// the right, the shadow inside it, the face. The 19-pixel face has no
// highlight on its top row and only the shadow at the bottom.
std::vector<Probe> FaceProbes(int butHId) {
    using enum Role;
    switch (butHId) {
        case 1:
            return {{0, 5, Highlight}, {5, 0, Highlight}, {21, 5, Dark},  {5, 20, Dark},
                    {20, 10, Shadow},  {5, 19, Shadow},   {19, 10, Face}, {1, 1, Face}};
        case 2:
            return {{0, 5, Highlight}, {5, 0, Face},     {21, 5, Dark},
                    {5, 18, Shadow},   {20, 10, Shadow}, {19, 10, Face}};
        default:
            return {{0, 5, Highlight}, {5, 0, Highlight}, {21, 5, Dark}, {5, 19, Dark},
                    {20, 10, Shadow},  {19, 10, Face},    {1, 1, Face}};
    }
}

void AddFace(std::vector<Expect>& e, int cellLeft, int butHId, const FaceColours& c) {
    for (const Probe& p : FaceProbes(butHId)) {
        e.push_back(
            {cellLeft + p.Dx, p.Dy, c.Of(p.R), "face of the cell at " + std::to_string(cellLeft)});
    }
}

// Flat cells are one plain face colour around the icon.
void AddFlatFace(std::vector<Expect>& e, int cellLeft, int height, std::uint32_t face) {
    for (auto [dx, dy] : {std::pair{0, 0}, {0, 10}, {20, 0}, {20, 10}, {10, 0}, {10, height - 1}}) {
        e.push_back({cellLeft + dx, dy, face, "flat cell at " + std::to_string(cellLeft)});
    }
}

// A 16 x 16 picture drawn at (x, y) over `background`: opaque where the mask
// is black.
void AddIcon(std::vector<Expect>& e, int x, int y, const Pixels& picture, const Pixels& mask,
             int sx, int sy, std::uint32_t background, const std::string& what) {
    for (int py = 0; py < 16; ++py) {
        for (int px = 0; px < 16; ++px) {
            const bool opaque = mask.At(sx + px, sy + py) == 0;
            e.push_back({x + px, y + py, opaque ? picture.At(sx + px, sy + py) : background, what});
        }
    }
}

std::string Hex(std::uint32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%06X", c);
    return buf;
}

// The failed expectations, one line each; empty when all hold.
std::string Mismatches(const Pixels& shot, const std::vector<Expect>& expects) {
    std::ostringstream out;
    int shown = 0;
    for (const Expect& e : expects) {
        if (e.X >= shot.Width || e.Y >= shot.Height) {
            out << e.What << ": (" << e.X << "," << e.Y << ") is outside the bar\n";
            continue;
        }
        const std::uint32_t got = shot.At(e.X, e.Y);
        if (got == e.Colour || ++shown > 12) continue;
        out << e.What << ": (" << e.X << "," << e.Y << ") is " << Hex(got) << ", want "
            << Hex(e.Colour) << "\n";
    }
    if (shown > 12) out << "... " << shown - 12 << " more\n";
    return out.str();
}

// ---- Fixture ---------------------------------------------------------------

class BarDrawing : public ZorvE2E {
  protected:
    void SetUp() override {
        ZorvE2E::SetUp();
        colours_ = SystemFaceColours();
        auto ii = LoadBitmapResource(Folder().Exe(), L"II");
        auto im = LoadBitmapResource(Folder().Exe(), L"IM");
        ASSERT_TRUE(ii && im) << "the built-in icons cannot be read from the program";
        ii_ = std::move(*ii);
        im_ = std::move(*im);
    }

    // Starts the program with `ini` and returns its bar once it stands
    // right-aligned at the top, `width` wide and `height` high.
    HWND ShowBar(const std::string& ini, int width, int height) {
        Folder().WriteIni(ini);
        return ShowWrittenBar(width, height);
    }

    // The same with the INI already in place.
    HWND ShowWrittenBar(int width, int height) {
        process_ = &Start(L"noau nostart");
        HWND bar = WaitForShownBar(*process_);
        if (!bar) {
            ADD_FAILURE() << "the bar did not appear";
            return nullptr;
        }
        const int cx = GetSystemMetrics(SM_CXSCREEN);
        const RECT want{cx - kRightGap - width, 0, cx - kRightGap, height};
        RECT got{};
        WaitFor(
            [&] {
                got = WindowRect(bar);
                return EqualRect(&want, &got) != FALSE;
            },
            Ms(3000));
        EXPECT_TRUE(EqualRect(&want, &got))
            << "want " << Describe(want) << ", got " << Describe(got);
        return bar;
    }

    void CloseBar() {
        if (HWND bar = FindBarOf(process_->Id())) PostMessageW(bar, WM_CLOSE, 0, 0);
        if (!process_->WaitExit(Ms(10000))) process_->Terminate();
    }

    // What the bar shows once every expectation holds (or after 3 s); failures
    // are reported with the test's location.
    Pixels ExpectPixels(HWND bar, const std::vector<Expect>& expects, const char* shotName) {
        Pixels shot;
        std::string failed;
        WaitFor(
            [&] {
                shot = GrabScreen(WindowRect(bar));
                failed = Mismatches(shot, expects);
                return failed.empty();
            },
            Ms(3000), Ms(50));
        EXPECT_EQ(failed, "");
        SaveShot(shot, shotName);
        return shot;
    }

    // With ZORV_E2E_SHOTS set to a folder, every judged picture is kept there.
    static void SaveShot(const Pixels& shot, const char* name) {
        const std::wstring dir = EnvVar(L"ZORV_E2E_SHOTS");
        if (dir.empty() || shot.Width == 0) return;
        WriteBmpFile(fs::path(dir) / (std::wstring(name, name + strlen(name)) + L".bmp"), shot);
    }

    void AddBuiltIn(std::vector<Expect>& e, int x, int y, int n, std::uint32_t background) {
        AddIcon(e, x, y, ii_, im_, 16 * ((n - 1) % 100), 16 * ((n - 1) / 100), background,
                "built-in icon " + std::to_string(n) + " at " + std::to_string(x));
    }

    FaceColours colours_{};
    Pixels ii_, im_;
    Process* process_ = nullptr;
};

TEST_F(BarDrawing, ThreeDButtons_SeparatorAndMenuCell_AtTheirPlaces_RightAligned) {
    // Cells at 0, 22 (separator, 12 wide), 34; the main-menu cell at 56; W = 78.
    HWND bar =
        ShowBar(Ini({ButtonItem("Terminal", "**012"), Separator(), ButtonItem("Folder", "**004")},
                    "ButFlat=0\r\nButH_id=0\r\nSepColor=0\r\n"),
                78, 20);
    ASSERT_TRUE(bar);
    std::vector<Expect> e;
    for (int left : {0, 34, 56}) AddFace(e, left, 0, colours_);
    // The separator in the face colour carries an etched groove.
    e.push_back({22 + 1, 10, colours_.Face, "separator"});
    e.push_back({22 + 10, 10, colours_.Face, "separator"});
    for (int y : {3, 10, 16}) {
        e.push_back({22 + 5, y, colours_.Shadow, "separator groove"});
        e.push_back({22 + 6, y, colours_.Highlight, "separator groove"});
    }
    AddBuiltIn(e, 0 + 2, 2, 12, colours_.Face);
    AddBuiltIn(e, 34 + 2, 2, 4, colours_.Face);
    AddBuiltIn(e, 56 + 2, 2, 1, colours_.Face);  // main-menu cell without ZorvMainMenu.bmp
    ExpectPixels(bar, e, "bar_3d");
}

TEST_F(BarDrawing, FlatButtons_ArePlainFaceAndOnePixelNarrower) {
    // Cells at 0, 21 (separator), 33; the main-menu cell at 54; W = 75.
    HWND bar =
        ShowBar(Ini({ButtonItem("Terminal", "**012"), Separator(), ButtonItem("Folder", "**004")},
                    "ButFlat=1\r\nButH_id=0\r\n"),
                75, 20);
    ASSERT_TRUE(bar);
    std::vector<Expect> e;
    for (int left : {0, 33, 54}) AddFlatFace(e, left, 20, colours_.Face);
    e.push_back({21 + 5, 10, colours_.Shadow, "separator groove"});
    AddBuiltIn(e, 0 + 2, 2, 12, colours_.Face);
    AddBuiltIn(e, 33 + 2, 2, 4, colours_.Face);
    AddBuiltIn(e, 54 + 2, 2, 1, colours_.Face);
    ExpectPixels(bar, e, "bar_flat");
}

TEST_F(BarDrawing, EachButtonHeight_GivesItsWindowHeightFaceAndIconTop) {
    struct Case {
        int butHId, height, iconTop;
    };
    for (const Case& c : {Case{0, 20, 2}, Case{1, 21, 2}, Case{2, 19, 1}}) {
        SCOPED_TRACE("ButH_id=" + std::to_string(c.butHId));
        HWND bar = ShowBar(Ini({ButtonItem("Calculator", "**015")},
                               "ButH_id=" + std::to_string(c.butHId) + "\r\n"),
                           44, c.height);
        ASSERT_TRUE(bar);
        std::vector<Expect> e;
        AddFace(e, 0, c.butHId, colours_);
        AddFace(e, 22, c.butHId, colours_);
        AddBuiltIn(e, 2, c.iconTop, 15, colours_.Face);
        AddBuiltIn(e, 22 + 2, c.iconTop, 1, colours_.Face);
        ExpectPixels(bar, e, ("bar_height_" + std::to_string(c.butHId)).c_str());
        CloseBar();
    }
}

TEST_F(BarDrawing, TransparentSeparators_ShowTheDesktopThroughTheRegion) {
    // Cells at 0, 22 and 34 (separators), 46; the main-menu cell at 68; W = 90.
    HWND bar = ShowBar(Ini({ButtonItem("Terminal", "**012"), Separator(), Separator(),
                            ButtonItem("Folder", "**004")},
                           "SepColor=4\r\n"),
                       90, 20);
    ASSERT_TRUE(bar);
    std::vector<Expect> e;
    for (int x : {22, 27, 33, 34, 40, 45}) {
        for (int y : {0, 10, 19}) e.push_back({x, y, kDesktop, "separator hole"});
    }
    for (int left : {0, 46, 68}) AddFace(e, left, 0, colours_);
    AddBuiltIn(e, 46 + 2, 2, 4, colours_.Face);
    ExpectPixels(bar, e, "bar_transparent");
}

// A 16 x 16 picture `image` with mask `mask` side by side, or the image alone.
Pixels IconFile(std::uint32_t colour, bool withMask) {
    Pixels p(withMask ? 32 : 16, 16, colour);
    if (!withMask) return p;
    // Mask: white (transparent) frame of 4 pixels, black (opaque) inside.
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
            p.Set(16 + x, y, inside ? 0x000000 : 0xFFFFFF);
        }
    }
    return p;
}

TEST_F(BarDrawing, Icons_FromFilesProgramsAndFallback) {
    const fs::path icons = Folder().Path() / L"Icons";
    ASSERT_TRUE(WriteBmpFile(icons / L"square.bmp", IconFile(0xCC0000, true)));
    ASSERT_TRUE(WriteBmpFile(icons / L"plain.bmp", IconFile(0x0000CC, false)));
    ASSERT_TRUE(WriteBmpFile(icons / L"ZorvMainMenu.bmp", IconFile(0x00AA00, false)));
    // Cells at 0, 22, 44, 66, 88, 110; the main-menu cell at 132; W = 154.
    HWND bar =
        ShowBar(Ini({ButtonItem("Square", "square.bmp"), ButtonItem("Plain", "plain.bmp"),
                     ButtonItem("Notepad", "", "notepad.exe"),
                     ButtonItem("Notepad too", "", "\"%SystemRoot%\\system32\\notepad.exe\" /a"),
                     ButtonItem("Missing", "missing.bmp"), ButtonItem("Bad number", "**0")},
                    ""),
                154, 20);
    ASSERT_TRUE(bar);
    std::vector<Expect> e;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
            e.push_back({2 + x, 2 + y, inside ? 0xCC0000u : colours_.Face, "masked icon file"});
            e.push_back({22 + 2 + x, 2 + y, 0x0000CC, "icon file without mask"});
            e.push_back({132 + 2 + x, 2 + y, 0x00AA00, "ZorvMainMenu.bmp"});
        }
    }
    // A missing file and an unusable number keep the generic program icon.
    AddBuiltIn(e, 88 + 2, 2, 3, colours_.Face);
    AddBuiltIn(e, 110 + 2, 2, 3, colours_.Face);
    const Pixels shot = ExpectPixels(bar, e, "bar_icons");

    // The program's own icon: something is drawn, it is not the fallback, and
    // both ways of naming the program give the same picture.
    int drawn = 0, unlikeFallback = 0, unlikeOther = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const std::uint32_t got = shot.At(44 + 2 + x, 2 + y);
            const std::uint32_t fallback = shot.At(88 + 2 + x, 2 + y);
            drawn += got != colours_.Face;
            unlikeFallback += got != fallback;
            unlikeOther += got != shot.At(66 + 2 + x, 2 + y);
        }
    }
    EXPECT_GE(drawn, 40) << "the program's icon is (nearly) empty";
    EXPECT_GE(unlikeFallback, 20) << "the program's icon is the fallback";
    EXPECT_EQ(unlikeOther, 0) << "quoted path with variables gives another icon";
}

TEST_F(BarDrawing, ForcedFaceColour_PaintsFacesAndSeparators) {
    // 0x40A0E0 as a COLORREF: red E0, green A0, blue 40.
    HWND bar = ShowBar(Ini({ButtonItem("Terminal", "**012"), Separator()},
                           "ForcedColor3DFace=40A0E0\r\nSepColor=0\r\n"),
                       56, 20);
    ASSERT_TRUE(bar);
    FaceColours forced = colours_;
    forced.Face = 0xE0A040;
    std::vector<Expect> e;
    AddFace(e, 0, 0, forced);
    AddFace(e, 34, 0, forced);
    AddBuiltIn(e, 2, 2, 12, forced.Face);
    // Separators keep the system face ("As dialog's background").
    e.push_back({22 + 1, 10, colours_.Face, "separator"});
    ExpectPixels(bar, e, "bar_forced_face");
}

// The face colour and colour depth the bar is built for, as the
// configuration stores them once it was saved on this display.
std::string StoredColours() {
    HDC screen = GetDC(nullptr);
    const int bpp = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    char buf[96];
    std::snprintf(buf, sizeof buf, "LastColor3DFace=%lX\r\nLastBitsPerPixel=%d\r\n",
                  static_cast<unsigned long>(GetSysColor(COLOR_3DFACE)), bpp);
    return buf;
}

bool SetWriteTime(const fs::path& file, const FILETIME& t) {
    HANDLE h = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = SetFileTime(h, nullptr, nullptr, &t) != FALSE;
    CloseHandle(h);
    return ok;
}

FILETIME WriteTimeOf(const fs::path& file) {
    WIN32_FILE_ATTRIBUTE_DATA d{};
    GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &d);
    return d.ftLastWriteTime;
}

FILETIME SecondsLater(FILETIME t, int seconds) {
    ULARGE_INTEGER u{{t.dwLowDateTime, t.dwHighDateTime}};
    u.QuadPart += static_cast<ULONGLONG>(seconds) * 10'000'000ULL;
    return FILETIME{u.LowPart, u.HighPart};
}

TEST_F(BarDrawing, CachedPicture_StandsInOnlyWithTheConfigurationsTimeAndTheBarsWidth) {
    // Two buttons: W = 66.
    const std::string ini =
        Ini({ButtonItem("Terminal", "**012"), ButtonItem("Folder", "**004")}, StoredColours());
    const fs::path cache = Folder().Path() / L"ZorvPanel.bmp";
    struct Case {
        int width, secondsLater;
        bool used;
    };
    for (const Case& c : {Case{66, 8, true}, Case{66, 12, false}, Case{67, 0, false}}) {
        SCOPED_TRACE("picture " + std::to_string(c.width) + " wide, " +
                     std::to_string(c.secondsLater) + " s after the configuration");
        Folder().WriteIni(ini);
        // Painted rows magenta, icon slots empty (black picture, white mask).
        Pixels picture(c.width, 53, 0xFF00FF);
        for (int y = 21; y < 53; ++y) {
            for (int x = 0; x < c.width; ++x) picture.Set(x, y, y < 37 ? 0 : 0xFFFFFF);
        }
        ASSERT_TRUE(WriteBmpFile(cache, picture));
        ASSERT_TRUE(
            SetWriteTime(cache, SecondsLater(WriteTimeOf(Folder().IniFile()), c.secondsLater)));
        HWND bar = ShowWrittenBar(66, 20);
        ASSERT_TRUE(bar);
        std::vector<Expect> e;
        if (c.used) {
            for (auto [x, y] : {std::pair{0, 0}, {10, 10}, {30, 5}, {50, 19}, {65, 10}}) {
                e.push_back({x, y, 0xFF00FF, "cached picture"});
            }
        } else {
            for (int left : {0, 22, 44}) AddFace(e, left, 0, colours_);
            AddBuiltIn(e, 22 + 2, 2, 4, colours_.Face);
        }
        ExpectPixels(bar, e, c.used ? "bar_cache_used" : "bar_cache_ignored");
        CloseBar();
    }
}

TEST_F(BarDrawing, SaveAfterNewColours_WritesTheBarPictureBesideTheConfiguration) {
    // No stored colours: the bar marks the configuration for saving, and the
    // save writes the picture. Cells at 0, 22 (separator), 34, menu at 56.
    HWND bar = ShowBar(
        Ini({ButtonItem("Terminal", "**012"), Separator(), ButtonItem("Folder", "**004")}, ""), 78,
        20);
    ASSERT_TRUE(bar);
    const fs::path cache = Folder().Path() / L"ZorvPanel.bmp";
    std::optional<Pixels> picture;
    WaitFor(
        [&] {
            picture = ReadBmpFile(cache);
            return picture.has_value();
        },
        Ms(10000), Ms(100));
    ASSERT_TRUE(picture) << "no ZorvPanel.bmp beside the configuration";
    ASSERT_EQ(picture->Width, 78);
    ASSERT_EQ(picture->Height, 53);
    const std::string saved = ReadWholeFile(Folder().IniFile()).value_or("");
    EXPECT_NE(saved.find(StoredColours()), std::string::npos) << saved;

    // Rows 0..19 are what the screen shows.
    const Pixels shot = GrabScreen(WindowRect(bar));
    int differ = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 78; ++x) differ += picture->At(x, y) != shot.At(x, y);
    }
    EXPECT_EQ(differ, 0) << "pixels of the painted rows differ from the screen";
    // Item i's icon at x = 16 i in rows 21..36, its mask in rows 37..52: the
    // separator (item 1) has none, the folder is item 2.
    int wrong = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int sx = 16 * 3 + x, sy = y;  // icon 4 in "II"/"IM"
            const bool opaque = im_.At(sx, sy) == 0;
            wrong += picture->At(32 + x, 21 + y) != (opaque ? ii_.At(sx, sy) : 0u);
            wrong += picture->At(32 + x, 37 + y) != (opaque ? 0u : 0xFFFFFFu);
            wrong += picture->At(16 + x, 37 + y) != 0xFFFFFFu;  // no icon for a separator
        }
    }
    EXPECT_EQ(wrong, 0) << "icon rows of the picture";
}

// SetSysColors broadcasts WM_SYSCOLORCHANGE, and the bar builds its images
// anew. Windows shares the new colour with every process; Wine keeps system
// colours per process, so there the program still reads the old one. Either
// way the rebuilt bar is complete and in one set of colours, never a mix.
TEST_F(BarDrawing, SystemColourChange_RebuildsTheBarInTheColoursItReads) {
    HWND bar =
        ShowBar(Ini({ButtonItem("Terminal", "**012")}, "LogLevel=1\r\nWriteLogfile=1\r\n"), 44, 20);
    ASSERT_TRUE(bar);
    const int element = COLOR_3DFACE;
    const COLORREF before = GetSysColor(element);
    const COLORREF changed = RGB(200, 120, 40);
    struct Restore {
        int element;
        COLORREF colour;
        ~Restore() { SetSysColors(1, &element, &colour); }
    } restore{element, before};
    ASSERT_TRUE(SetSysColors(1, &element, &changed));
    const fs::path log = Folder().Path() / L"zorv.log";
    EXPECT_TRUE(WaitFor(
        [&] {
            const std::string text = ReadWholeFile(log).value_or("");
            const size_t at = text.find("system colours changed");
            return at != std::string::npos && text.find("BarCreate(0)", at) != std::string::npos;
        },
        Ms(5000)))
        << "no rebuild after the colour change:\n"
        << ReadWholeFile(log).value_or("");

    auto expectsWith = [&](std::uint32_t face) {
        FaceColours c = colours_;
        c.Face = face;
        std::vector<Expect> e;
        AddFace(e, 0, 0, c);
        AddFace(e, 22, 0, c);
        AddBuiltIn(e, 2, 2, 12, c.Face);
        return e;
    };
    const std::vector<Expect> changedLook = expectsWith(RgbOf(changed));
    const std::vector<Expect> sameLook = expectsWith(RgbOf(before));
    Pixels shot;
    const bool oneLook = WaitFor(
        [&] {
            shot = GrabScreen(WindowRect(bar));
            return Mismatches(shot, changedLook).empty() || Mismatches(shot, sameLook).empty();
        },
        Ms(3000), Ms(50));
    SaveShot(shot, "bar_colour_change");
    EXPECT_TRUE(oneLook) << "in the new colours:\n"
                         << Mismatches(shot, changedLook) << "in the old colours:\n"
                         << Mismatches(shot, sameLook);
}

}  // namespace
}  // namespace zorv::e2e
