// How the bar looks on the screen: its cells in 3D and flat mode and in the
// three heights, separators (also transparent ones), a forced face colour,
// icons from the built-in set, the icon folder and the items' programs, the
// cached bar picture beside the configuration, and a change of the system's
// colours. Judged by the pixels the screen shows.
#include <algorithm>
#include <cstdio>

#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

constexpr std::uint32_t kDesktop = 0x256F95;  // Wine's desktop background
constexpr int kHeights[] = {20, 21, 19};      // by ButH_id

struct Look {
    std::string settings;
    bool flat = false;
    int hId = 0;
    bool holes = false;      // SepColor=4: the desktop shows through separators
    std::uint32_t face = 0;  // a forced face colour; 0: the system's
};

// A pixel the bar must show, relative to its top-left corner.
struct Expect {
    int X, Y;
    std::uint32_t Colour;
    std::string What;
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

// The failed expectations, one line each; empty when all hold.
std::string Mismatches(const Pixels& shot, const std::vector<Expect>& expects) {
    std::string out;
    int shown = 0;
    for (const Expect& e : expects) {
        const bool inside = e.X < shot.Width && e.Y < shot.Height;
        if (inside && shot.At(e.X, e.Y) == e.Colour) continue;
        if (++shown > 12) continue;
        char line[160];
        std::snprintf(line, sizeof line, "%s: (%d,%d) is #%06X, want #%06X\n", e.What.c_str(), e.X,
                      e.Y, inside ? shot.At(e.X, e.Y) : 0u, e.Colour);
        out += line;
    }
    return shown > 12 ? out + "... " + std::to_string(shown - 12) + " more\n" : out;
}

class BarDrawing : public ZorvE2E {
  protected:
    void SetUp() override {
        ZorvE2E::SetUp();
        auto ii = LoadBitmapResource(Folder().Exe(), L"II");
        auto im = LoadBitmapResource(Folder().Exe(), L"IM");
        ASSERT_TRUE(ii && im) << "the built-in icons cannot be read from the program";
        ii_ = std::move(*ii);
        im_ = std::move(*im);
    }

    static int Width(const Look& look, const std::vector<int>& cells) {
        int w = 0;
        for (int c : cells) w += c == 0 ? 12 : look.flat ? 21 : 22;
        return w;
    }

    // Built-in icon n at (x, y) over `background`: opaque where its mask is black.
    void AddBuiltIn(std::vector<Expect>& e, int x, int y, int n, std::uint32_t background) const {
        const int sx = 16 * ((n - 1) % 100), sy = 16 * ((n - 1) / 100);
        for (int py = 0; py < 16; ++py) {
            for (int px = 0; px < 16; ++px) {
                const bool opaque = im_.At(sx + px, sy + py) == 0;
                e.push_back({x + px, y + py, opaque ? ii_.At(sx + px, sy + py) : background,
                             "built-in icon " + std::to_string(n) + " at " + std::to_string(x)});
            }
        }
    }

    // What a bar of these cells shows with `look`: n > 0 is a button with
    // built-in icon n, -1 one whose icon is judged elsewhere, 0 a separator.
    // The main-menu cell is listed too: it is the last.
    std::vector<Expect> Expects(const Look& look, const std::vector<int>& cells) const {
        const int h = kHeights[look.hId];
        const std::uint32_t sysFace = RgbOf(GetSysColor(COLOR_3DFACE));
        const std::uint32_t face = look.face ? look.face : sysFace;
        const std::uint32_t hi = RgbOf(GetSysColor(COLOR_3DHIGHLIGHT));
        const std::uint32_t shadow = RgbOf(GetSysColor(COLOR_3DSHADOW));
        const std::uint32_t dark = Darkened(GetSysColor(COLOR_3DDKSHADOW));
        // Characteristic pixels of a 3D face, clear of the icon: the
        // highlight on the left, the dark outer edge on the right, the shadow
        // inside it. The 19-pixel face has no highlight on its top row and
        // only the shadow at the bottom.
        const std::vector<Expect> faces[] = {
            {{5, 0, hi, ""}, {5, 19, dark, ""}, {1, 1, face, ""}},
            {{5, 0, hi, ""}, {5, 20, dark, ""}, {5, 19, shadow, ""}, {1, 1, face, ""}},
            {{5, 0, face, ""}, {5, 18, shadow, ""}}};
        std::vector<Expect> e;
        int x = 0;
        for (int c : cells) {
            const std::string at = " at " + std::to_string(x);
            if (c == 0 && look.holes) {
                for (int dx : {0, 5, 11}) {
                    for (int y : {0, h / 2, h - 1}) e.push_back({x + dx, y, kDesktop, "hole" + at});
                }
            } else if (c == 0) {
                // In the system face ("as dialog's background"), also under a
                // forced face, with an etched groove.
                e.push_back({x + 1, 10, sysFace, "separator" + at});
                e.push_back({x + 10, 10, sysFace, "separator" + at});
                for (int y : {3, 10, h - 4}) {
                    e.push_back({x + 5, y, shadow, "groove" + at});
                    e.push_back({x + 6, y, hi, "groove" + at});
                }
            }
            if (c == 0) {
                x += 12;
                continue;
            }
            // Flat cells are one plain face colour around the icon.
            std::vector<Expect> probes = {{0, 0, face, ""},  {0, 10, face, ""},
                                          {20, 0, face, ""}, {20, 10, face, ""},
                                          {10, 0, face, ""}, {10, h - 1, face, ""}};
            if (!look.flat) {
                probes = {
                    {0, 5, hi, ""}, {21, 5, dark, ""}, {20, 10, shadow, ""}, {19, 10, face, ""}};
                probes.insert(probes.end(), faces[look.hId].begin(), faces[look.hId].end());
            }
            for (const Expect& p : probes) e.push_back({x + p.X, p.Y, p.Colour, "face" + at});
            if (c > 0) AddBuiltIn(e, x + 2, look.hId == 2 ? 1 : 2, c, face);
            x += look.flat ? 21 : 22;
        }
        return e;
    }

    // Starts the program with `ini` and answers its bar once it stands
    // right-aligned at the top, `width` wide and `height` high.
    HWND ShowBar(const std::string& ini, int width, int height) {
        HWND bar = StartBar(ini);
        EXPECT_TRUE(bar) << "the bar did not appear";
        const int cx = GetSystemMetrics(SM_CXSCREEN);
        const RECT want{cx - kRightGap - width, 0, cx - kRightGap, height};
        RECT got{};
        EXPECT_TRUE(bar &&
                    WaitFor([&] { return EqualRect(&(got = WindowRect(bar)), &want); }, Ms(3000)))
            << "want " << Describe(want) << ", got " << Describe(got);
        return bar;
    }

    // What the bar shows once every expectation holds (or after 3 s). With
    // ZORV_E2E_SHOTS set to a folder, the picture is kept there.
    Pixels ExpectPixels(HWND bar, const std::vector<Expect>& expects, const std::string& name) {
        Pixels shot;
        std::string failed;
        WaitFor(
            [&] {
                return (failed = Mismatches(shot = GrabScreen(WindowRect(bar)), expects)).empty();
            },
            Ms(3000), Ms(50));
        EXPECT_EQ(failed, "") << name;
        const std::wstring dir = EnvVar(L"ZORV_E2E_SHOTS");
        if (!dir.empty()) WriteBmpFile(fs::path(dir) / (name + ".bmp"), shot);
        return shot;
    }

    Pixels ii_, im_;
};

TEST_F(BarDrawing, Cells_InEachLook_AreRightAlignedWithTheirFacesSeparatorsAndIcons) {
    const struct {
        Look look;
        std::vector<int> cells;  // terminal, separator(s), folder, main menu
    } cases[] = {
        {{"ButFlat=0\r\nButH_id=0\r\nSepColor=0\r\n"}, {12, 0, 4, 1}},
        {{"ButFlat=1\r\nButH_id=0\r\n", true}, {12, 0, 4, 1}},
        {{"ButH_id=1\r\nSepColor=4\r\n", false, 1, true}, {12, 0, 0, 4, 1}},
        // 0x40A0E0 as a COLORREF: red E0, green A0, blue 40.
        {{"ButH_id=2\r\nForcedColor3DFace=40A0E0\r\nSepColor=0\r\n", false, 2, false, 0xE0A040},
         {12, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.look.settings);
        std::vector<Button> buttons;
        for (size_t i = 0; i + 1 < c.cells.size(); ++i) {
            buttons.push_back({c.cells[i] ? "Cell" : "-", "",
                               c.cells[i] ? "**" + std::to_string(c.cells[i]) : ""});
        }
        Reset();
        HWND bar =
            ShowBar(Ini(buttons, c.look.settings), Width(c.look, c.cells), kHeights[c.look.hId]);
        ASSERT_TRUE(bar);
        ExpectPixels(bar, Expects(c.look, c.cells), "bar_look_" + std::to_string(&c - cases));
    }
}

// The opaque part of a masked icon file: all but a frame of 4 pixels.
bool Inside(int x, int y) {
    return x >= 4 && x < 12 && y >= 4 && y < 12;
}

// A 16 x 16 picture in `colour`, with its mask beside it when `masked`:
// black (opaque) inside, white (transparent) around.
Pixels IconFile(std::uint32_t colour, bool masked) {
    Pixels p(masked ? 32 : 16, 16, colour);
    for (int y = 0; masked && y < 16; ++y) {
        for (int x = 0; x < 16; ++x) p.Set(16 + x, y, Inside(x, y) ? 0 : 0xFFFFFF);
    }
    return p;
}

// The face colour and depth the bar is built for, as the configuration
// stores them once it was saved on this display.
std::string StoredColours() {
    HDC screen = GetDC(nullptr);
    char stored[96];
    std::snprintf(stored, sizeof stored, "LastColor3DFace=%lX\r\nLastBitsPerPixel=%d\r\n",
                  GetSysColor(COLOR_3DFACE),
                  GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES));
    ReleaseDC(nullptr, screen);
    return stored;
}

// The bar's picture is cached beside the configuration when a save follows
// new colours; a change of the system colours rebuilds the bar.
TEST_F(BarDrawing, Icons_FromFilesProgramsAndFallback_AndThePictureTheSaveWrites) {
    const fs::path icons = Folder().Path() / L"Icons";
    ASSERT_TRUE(WriteBmpFile(icons / L"square.bmp", IconFile(0xCC0000, true)));
    ASSERT_TRUE(WriteBmpFile(icons / L"plain.bmp", IconFile(0x0000CC, false)));
    ASSERT_TRUE(WriteBmpFile(icons / L"ZorvMainMenu.bmp", IconFile(0x00AA00, false)));
    // Cells at 0, 22 (separator), 34, 56, ... 144; the main-menu cell at 166.
    HWND bar = ShowBar(Ini({{"Terminal", "", "**012"},
                            {"-", "", ""},
                            {"Square", "", "square.bmp"},
                            {"Plain", "", "plain.bmp"},
                            {"Notepad", "notepad.exe", ""},
                            {"Notepad too", "\"%SystemRoot%\\system32\\notepad.exe\" /a", ""},
                            {"Missing", "", "missing.bmp"},
                            {"Bad number", "", "**0"}}),
                       188, 20);
    ASSERT_TRUE(bar);
    const Look look;
    // A missing file and an unusable number keep the generic program icon.
    std::vector<Expect> e = Expects(look, {12, 0, -1, -1, -1, -1, 3, 3, -1});
    const std::uint32_t face = RgbOf(GetSysColor(COLOR_3DFACE));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            e.push_back({34 + 2 + x, 2 + y, Inside(x, y) ? 0xCC0000u : face, "masked icon file"});
            e.push_back({56 + 2 + x, 2 + y, 0x0000CC, "icon file without mask"});
            e.push_back({166 + 2 + x, 2 + y, 0x00AA00, "ZorvMainMenu.bmp"});
        }
    }
    const Pixels shot = ExpectPixels(bar, e, "bar_icons");
    // The program's own icon: something is drawn, it is not the fallback, and
    // both ways of naming the program give the same picture.
    int drawn = 0, unlikeFallback = 0, unlikeOther = 0;
    for (int y = 2; y < 18; ++y) {
        for (int x = 2; x < 18; ++x) {
            const std::uint32_t got = shot.At(78 + x, y);
            drawn += got != face;
            unlikeFallback += got != shot.At(122 + x, y);
            unlikeOther += got != shot.At(100 + x, y);
        }
    }
    EXPECT_GE(drawn, 40) << "the program's icon is (nearly) empty";
    EXPECT_GE(unlikeFallback, 20) << "the program's icon is the fallback";
    EXPECT_EQ(unlikeOther, 0) << "quoted path with variables gives another icon";

    // No stored colours: the bar marks the configuration for saving, and the
    // save writes the picture: rows 0..19 what the screen shows, then item
    // i's icon at x = 16 i in rows 21..36 and its mask in rows 37..52.
    std::optional<Pixels> picture;
    WaitFor([&] { return (picture = ReadBmpFile(Folder().Path() / L"ZorvPanel.bmp")).has_value(); },
            Ms(10000), Ms(100));
    ASSERT_TRUE(picture) << "no ZorvPanel.bmp beside the configuration";
    ASSERT_EQ(picture->Width, 188);
    ASSERT_EQ(picture->Height, 53);
    EXPECT_NE(ReadWholeFile(Folder().IniFile()).value_or("").find(StoredColours()),
              std::string::npos);
    int differ = 0, wrong = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 188; ++x) differ += picture->At(x, y) != shot.At(x, y);
    }
    EXPECT_EQ(differ, 0) << "pixels of the painted rows differ from the screen";
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int sx = 16 * 11 + x;  // icon 12 in "II"/"IM"
            const bool opaque = im_.At(sx, y) == 0;
            wrong += picture->At(x, 21 + y) != (opaque ? ii_.At(sx, y) : 0u);
            wrong += picture->At(x, 37 + y) != (opaque ? 0u : 0xFFFFFFu);
            wrong += picture->At(16 + x, 37 + y) != 0xFFFFFFu;  // no icon for a separator
        }
    }
    EXPECT_EQ(wrong, 0) << "icon rows of the picture";

    // SetSysColors broadcasts WM_SYSCOLORCHANGE, and the bar builds its
    // images anew. Windows shares the new colour with every process; Wine
    // keeps system colours per process, so there the program still reads the
    // old one. Either way the rebuilt bar is in one set of colours.
    const std::vector<Expect> sameLook = Expects(look, {12});
    const int element = COLOR_3DFACE;
    const COLORREF before = GetSysColor(element), changed = RGB(200, 120, 40);
    struct Restore {
        int element;
        COLORREF colour;
        ~Restore() { SetSysColors(1, &element, &colour); }
    } restore{element, before};
    ASSERT_TRUE(SetSysColors(1, &element, &changed));
    EXPECT_TRUE(WaitFor(
        [&] {
            const std::vector<std::string> m = LogMessages();
            const auto at = std::find(m.begin(), m.end(), "frmButtons: system colours changed");
            return std::find_if(at, m.end(), [](const std::string& s) {
                       return s.starts_with("BarCreate(0)");
                   }) != m.end();
        },
        Ms(5000)))
        << "no rebuild after the colour change" << LogTail();
    const std::vector<Expect> changedLook = Expects({"", false, 0, false, RgbOf(changed)}, {12});
    Pixels now;
    EXPECT_TRUE(WaitFor(
        [&] {
            now = GrabScreen(WindowRect(bar));
            return Mismatches(now, changedLook).empty() || Mismatches(now, sameLook).empty();
        },
        Ms(3000), Ms(50)))
        << "in the new colours:\n"
        << Mismatches(now, changedLook) << "in the old colours:\n"
        << Mismatches(now, sameLook);
}

bool SetWriteTime(const fs::path& file, FILETIME t) {
    HANDLE h = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    const bool ok = h != INVALID_HANDLE_VALUE && SetFileTime(h, nullptr, nullptr, &t);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return ok;
}

TEST_F(BarDrawing, CachedPicture_StandsInOnlyWithTheConfigurationsTimeAndTheBarsWidth) {
    // Two buttons: W = 66.
    const std::string ini =
        Ini({{"Terminal", "", "**012"}, {"Folder", "", "**004"}}, StoredColours());
    const fs::path cache = Folder().Path() / L"ZorvPanel.bmp";
    const struct {
        int width, secondsLater;
        bool used;
    } cases[] = {{66, 8, true}, {66, 12, false}, {67, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE("picture " + std::to_string(c.width) + " wide, " +
                     std::to_string(c.secondsLater) + " s after the configuration");
        Folder().WriteIni(ini);
        // Painted rows magenta, icon slots empty (black picture, white mask).
        Pixels picture(c.width, 53, 0xFF00FF);
        for (int y = 21; y < 53; ++y) {
            for (int x = 0; x < c.width; ++x) picture.Set(x, y, y < 37 ? 0 : 0xFFFFFF);
        }
        ASSERT_TRUE(WriteBmpFile(cache, picture));
        WIN32_FILE_ATTRIBUTE_DATA d{};
        GetFileAttributesExW(Folder().IniFile().c_str(), GetFileExInfoStandard, &d);
        ULARGE_INTEGER t{{d.ftLastWriteTime.dwLowDateTime, d.ftLastWriteTime.dwHighDateTime}};
        t.QuadPart += c.secondsLater * 10'000'000ULL;
        ASSERT_TRUE(SetWriteTime(cache, FILETIME{t.LowPart, t.HighPart}));
        HWND bar = WaitForShownBar(Start());
        ASSERT_TRUE(bar);
        std::vector<Expect> e = Expects(Look(), {12, 4, 1});
        if (c.used) {
            e.clear();
            for (int x : {0, 10, 30, 50, 65}) e.push_back({x, x % 20, 0xFF00FF, "cached picture"});
        }
        ExpectPixels(bar, e, c.used ? "bar_cache_used" : "bar_cache_ignored");
        Last().Terminate();
    }
}

}  // namespace
}  // namespace zorv::e2e
