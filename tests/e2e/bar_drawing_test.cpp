// How the bar looks on the screen, judged by its pixels: cells in 3D and flat mode and three
// heights, separators, a forced face colour, icons, the cached picture, new system colours.
#include <cstdio>

#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

constexpr int kHeights[] = {20, 21, 19};  // by ButH_id

struct Look {
    std::string settings;
    bool flat = false;
    int hId = 0;
    bool holes = false;      // SepColor=4: the desktop shows through separators
    std::uint32_t face = 0;  // a forced face colour; 0: the system's
};

struct Expect {  // a pixel the bar must show, relative to its top-left corner
    int X, Y;
    std::uint32_t Colour;
};

// The failed expectations, one line each (a dozen at most); empty when all hold.
std::string Mismatches(const Pixels& shot, const std::vector<Expect>& expects) {
    std::string out;
    int failed = 0;
    for (const Expect& e : expects) {
        const std::uint32_t got = e.X < shot.Width && e.Y < shot.Height ? shot.At(e.X, e.Y) : 1u;
        char line[160];
        std::snprintf(line, sizeof line, "(%d,%d) is #%06X, want #%06X\n", e.X, e.Y, got, e.Colour);
        if (got != e.Colour && ++failed <= 12) out += line;
    }
    return failed > 12 ? out + "... " + std::to_string(failed - 12) + " more\n" : out;
}

// The face colour and depth the configuration stores once saved on this display.
std::string StoredColours() {
    HDC screen = GetDC(nullptr);
    char stored[96];
    std::snprintf(stored, sizeof stored, "LastColor3DFace=%lX\r\nLastBitsPerPixel=%d\r\n",
                  GetSysColor(COLOR_3DFACE),
                  GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES));
    ReleaseDC(nullptr, screen);
    return stored;
}

class BarDrawing : public ZorvE2E {
  protected:
    void SetUp() override {
        ZorvE2E::SetUp();
        ASSERT_FALSE(ii_.Px.empty() || im_.Px.empty()) << "no built-in icons in the program";
    }

    // Built-in icon n at (x, y) over `background`: opaque where its mask is black.
    void AddBuiltIn(std::vector<Expect>& e, int x, int y, int n, std::uint32_t background) const {
        const int sx = 16 * ((n - 1) % 100), sy = 16 * ((n - 1) / 100);
        for (int i = 0; i < 256; ++i) {
            const int px = sx + i % 16, py = sy + i / 16;
            e.push_back({x + i % 16, y + i / 16, im_.At(px, py) ? background : ii_.At(px, py)});
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
        const COLORREF dk = GetSysColor(COLOR_3DDKSHADOW);
        const unsigned g = GetGValue(dk);
        const auto scale = [g](unsigned v) { return g > 64 ? (128 * v + g) / (2 * g) : v; };
        const std::uint32_t dark =
            scale(GetRValue(dk)) << 16 | scale(g) << 8 | scale(GetBValue(dk));
        // The outer edge is the 3D dark shadow with its green brought down to 64. A 3D face:
        // highlight left, dark edge right, shadow inside it; 19 pixels high, no highlight on top
        // and only the shadow at the bottom. Flat cells are one plain colour.
        const std::vector<Expect> faces[] = {
            {{5, 0, hi}, {5, 19, dark}, {1, 1, face}},
            {{5, 0, hi}, {5, 20, dark}, {5, 19, shadow}, {1, 1, face}},
            {{5, 0, face}, {5, 18, shadow}}};
        std::vector<Expect> probes = {{0, 5, hi}, {21, 5, dark}, {20, 10, shadow}, {19, 10, face}};
        probes.insert(probes.end(), faces[look.hId].begin(), faces[look.hId].end());
        if (look.flat)
            probes = {{0, 0, face}, {0, 10, face}, {20, 0, face}, {20, 10, face}, {10, 0, face},
                      {10, h - 1, face}};
        std::vector<Expect> e;
        for (int x = 0, i = 0; i < int(cells.size()); x += cells[i++] ? 22 - look.flat : 12) {
            if (cells[i] == 0) {
                // Holes to the desktop, or the system face (also under a forced one) and a groove.
                for (int j = 0; j < 3; ++j) {
                    const int dx[] = {0, 5, 11}, y[] = {0, h / 2, h - 1}, groove[] = {3, 10, h - 4};
                    for (int k = 0; k < 3 && look.holes; ++k) e.push_back({x + dx[j], y[k], 0x256F95});
                    if (look.holes) continue;
                    e.push_back({x + 5, groove[j], shadow});
                    e.push_back({x + 6, groove[j], hi});
                    e.push_back({x + (j ? 10 : 1), 10, sysFace});
                }
                continue;
            }
            for (const Expect& p : probes) e.push_back({x + p.X, p.Y, p.Colour});
            if (cells[i] > 0) AddBuiltIn(e, x + 2, look.hId == 2 ? 1 : 2, cells[i], face);
        }
        return e;
    }

    // The bar of `ini`, once it stands right-aligned at the top, `width` x `height`.
    HWND ShowBar(const std::string& ini, int width, int height) {
        HWND bar = StartBar(ini);
        const int cx = GetSystemMetrics(SM_CXSCREEN);
        const RECT want{cx - kRightGap - width, 0, cx - kRightGap, height};
        RECT got{};
        EXPECT_TRUE(bar &&
                    WaitFor(Ms(3000), [&] { return EqualRect(&(got = WindowRect(bar)), &want); }))
            << "want " << Describe(want) << ", got " << Describe(got);
        return bar;
    }

    // What the bar shows once every expectation holds (or after 3 s).
    Pixels ExpectPixels(HWND bar, const std::vector<Expect>& expects) {
        Pixels shot;
        std::string failed;
        WaitFor(Ms(3000), [&] {
            return (failed = Mismatches(shot = GrabScreen(WindowRect(bar)), expects)).empty();
        });
        EXPECT_EQ(failed, "");
        return shot;
    }

    const Pixels ii_ = ReadBitmap(Folder().Exe(), L"II"), im_ = ReadBitmap(Folder().Exe(), L"IM");
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
        int width = 0;
        for (int n : c.cells) {
            width += n ? 22 - c.look.flat : 12;
            buttons.emplace_back(n ? "Cell" : "-", "", n ? "**" + std::to_string(n) : "");
        }
        buttons.pop_back();  // the main-menu cell
        Reset();
        HWND bar = ShowBar(Ini(buttons, c.look.settings), width, kHeights[c.look.hId]);
        ASSERT_TRUE(bar);
        ExpectPixels(bar, Expects(c.look, c.cells));
    }
}

// The opaque part of the masked icon file: all but a frame of 4 pixels.
bool Inside(int x, int y) { return x >= 4 && x < 12 && y >= 4 && y < 12; }

TEST_F(BarDrawing, Icons_FromFilesProgramsAndFallback_AndThePictureTheSaveWrites) {
    // 16 x 16 pictures; a mask beside one: black (opaque) inside, white around.
    Pixels square(32, 16, 0xCC0000);
    for (int i = 0; i < 256; ++i)
        square.Px[i / 16 * 32 + 16 + i % 16] = Inside(i % 16, i / 16) ? 0 : 0xFFFFFF;
    const fs::path icons = Folder().Path() / L"Icons";
    WriteBmpFile(icons / L"square.bmp", square);
    WriteBmpFile(icons / L"plain.bmp", Pixels(16, 16, 0x0000CC));
    WriteBmpFile(icons / L"ZorvMainMenu.bmp", Pixels(16, 16, 0x00AA00));
    // Cells at 0, 22 (separator), 34, 56, ... 144; the main-menu cell at 166.
    // clang-format off
    HWND bar = ShowBar(Ini({{"Terminal", "", "**012"}, {"-", "", ""}, {"Square", "", "square.bmp"},
                            {"Plain", "", "plain.bmp"}, {"Notepad", "notepad.exe", ""},
                            {"Notepad too", "\"%SystemRoot%\\system32\\notepad.exe\" /a", ""},
                            {"Missing", "", "missing.bmp"}, {"Bad number", "", "**0"}}), 188, 20);
    // clang-format on
    ASSERT_TRUE(bar);
    // A missing file and an unusable number keep the generic program icon.
    std::vector<Expect> e = Expects(Look(), {12, 0, -1, -1, -1, -1, 3, 3, -1});
    const std::vector<Expect> before = Expects(Look(), {12});
    const std::uint32_t face = RgbOf(GetSysColor(COLOR_3DFACE));
    for (int i = 0; i < 256; ++i) {
        const int x = 2 + i % 16, y = 2 + i / 16;
        e.push_back({34 + x, y, Inside(x - 2, y - 2) ? 0xCC0000u : face});
        e.push_back({56 + x, y, 0x0000CC});
        e.push_back({166 + x, y, 0x00AA00});
    }
    const Pixels shot = ExpectPixels(bar, e);
    // The program's own icon: drawn, not the fallback, and the same either way.
    int drawn = 0, unlikeFallback = 0, unlikeOther = 0;
    for (int i = 0; i < 256; ++i) {
        const int x = 2 + i % 16, y = 2 + i / 16;
        drawn += shot.At(78 + x, y) != face;
        unlikeFallback += shot.At(78 + x, y) != shot.At(122 + x, y);
        unlikeOther += shot.At(78 + x, y) != shot.At(100 + x, y);
    }
    EXPECT_GE(drawn, 40) << "the program's icon is (nearly) empty";
    EXPECT_GE(unlikeFallback, 20) << "the program's icon is the fallback";
    EXPECT_EQ(unlikeOther, 0) << "quoted path with variables gives another icon";

    // No stored colours: the save writes the picture: rows 0..19 what the screen shows, then
    // item i's icon at x = 16 i in rows 21..36 and its mask in rows 37..52.
    Pixels picture;
    WaitFor(Ms(10000),
            [&] { return !(picture = ReadBitmap(Folder().Path() / L"ZorvPanel.bmp")).Px.empty(); });
    ASSERT_EQ(picture.Width, 188) << "no ZorvPanel.bmp of the bar's width";
    ASSERT_EQ(picture.Height, 53);
    EXPECT_NE(ReadWholeFile(Folder().IniFile()).value_or("").find(StoredColours()),
              std::string::npos);
    int differ = 0, wrong = 0;
    for (int i = 0; i < 188 * 20; ++i)
        differ += picture.At(i % 188, i / 188) != shot.At(i % 188, i / 188);
    EXPECT_EQ(differ, 0) << "pixels of the painted rows differ from the screen";
    for (int i = 0; i < 256; ++i) {
        const int x = i % 16, y = i / 16, sx = 16 * 11 + x;  // icon 12 in "II"/"IM"
        const bool opaque = im_.At(sx, y) == 0;
        wrong += picture.At(x, 21 + y) != (opaque ? ii_.At(sx, y) : 0u);
        wrong += picture.At(x, 37 + y) != (opaque ? 0u : 0xFFFFFFu);
        wrong += picture.At(16 + x, 37 + y) != 0xFFFFFFu;  // no icon for a separator
    }
    EXPECT_EQ(wrong, 0) << "icon rows of the picture";

    // After WM_SYSCOLORCHANGE the bar is built anew in one set of colours: the new ones on
    // Windows; Wine keeps system colours per process.
    const int element = COLOR_3DFACE;
    const COLORREF old = GetSysColor(element), changed = RGB(200, 120, 40);
    const std::shared_ptr<void> restore(nullptr, [&](void*) { SetSysColors(1, &element, &old); });
    ASSERT_TRUE(SetSysColors(1, &element, &changed));
    EXPECT_TRUE(WaitFor(
        Ms(5000),
        [&] {
            const std::vector<std::string> m = LogMessages();
            const auto at = std::find(m.begin(), m.end(), "frmButtons: system colours changed");
            return std::any_of(at, m.end(), [](auto& s) { return s.starts_with("BarCreate(0)"); });
        }))
        << "no rebuild after the colour change" << LogTail();
    const std::vector<Expect> after = Expects({"", false, 0, false, RgbOf(changed)}, {12});
    Pixels now;
    EXPECT_TRUE(WaitFor(Ms(3000), [&] {
        now = GrabScreen(WindowRect(bar));
        return Mismatches(now, after).empty() || Mismatches(now, before).empty();
    }))
        << "in the new colours:\n"
        << Mismatches(now, after) << "in the old colours:\n"
        << Mismatches(now, before);
    // Drawn, saved and rebuilt: the closing finds every handle freed again.
    PostMessageW(bar, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Last().WaitExit(Ms(5000)));
    EXPECT_EQ(Logged("Own handles at closing: 0 ("), 1) << LogTail();
}

TEST_F(BarDrawing, CachedPicture_StandsInOnlyWithTheConfigurationsTimeAndTheBarsWidth) {
    const std::string ini =
        Ini({{"Terminal", "", "**012"}, {"Folder", "", "**004"}}, StoredColours());
    const struct {
        int width, secondsLater;
        bool used;
    } cases[] = {{66, 8, true}, {66, 12, false}, {67, 0, false}};  // the bar is 66 wide
    for (const auto& c : cases) {
        SCOPED_TRACE("picture " + std::to_string(c.width) + " wide, " +
                     std::to_string(c.secondsLater) + " s after the configuration");
        Folder().WriteIni(ini);
        // Painted rows magenta, icon slots empty (black picture, white mask).
        Pixels picture(c.width, 53, 0xFF00FF);
        for (int i = 21 * c.width; i < 53 * c.width; ++i) picture.Px[i] = i < 37 * c.width ? 0 : 0xFFFFFF;
        const fs::path cache = Folder().Path() / L"ZorvPanel.bmp";
        WriteBmpFile(cache, picture);
        fs::last_write_time(
            cache, fs::last_write_time(Folder().IniFile()) + std::chrono::seconds(c.secondsLater));
        HWND bar = WaitForShownBar(Start());
        ASSERT_TRUE(bar);
        std::vector<Expect> e = Expects(Look(), {12, 4, 1});
        if (c.used) {
            e.clear();
            for (int x : {0, 10, 30, 50, 65}) e.push_back({x, x % 20, 0xFF00FF});
        }
        ExpectPixels(bar, e);
        Last().Terminate();
    }
}

}  // namespace
}  // namespace zorv::e2e
