// The bar on a screen scaled to 150 % or 200 %: cells, separators and icons grow with the
// resolution, icons come from the larger pictures (pixel for pixel, nothing stretched), menu
// entries are tall enough for their font, and a change of resolution is followed at once.
// Runs at whatever resolution the screen has; under Wine the runs e2e.HighDpi (144 dpi) and
// e2e.HighDpi192 give the prefix that resolution (ZORV_WINE_DPI).
#include <algorithm>

#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

// The program's rule: a 96-dpi length at `dpi`, halves rounded up.
int Px(int v, int dpi) { return (v * dpi + 48) / 96; }

class HighDpi : public ZorvE2E {
  protected:
    void SetUp() override {
        // The driver sees the screen's real pixels, as the bar does.
        using SetContextFn = BOOL(WINAPI*)(HANDLE);
        const auto set = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
        const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
        if (!set || !set(perMonitorV2)) SetProcessDPIAware();
        ZorvE2E::SetUp();
        HDC screen = GetDC(nullptr);
        dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        if (dpi_ == 96) GTEST_SKIP() << "the screen is at 100 %; run under ZORV_WINE_DPI=144";
    }

    int Px(int v) const { return e2e::Px(v, dpi_); }
    int Px(int v, int dpi) const { return e2e::Px(v, dpi); }

    // Waits until the bar is `width` x `height` at the top edge.
    bool BarSizeBecomes(HWND bar, int width, int height, RECT& got) {
        return WaitFor(Ms(5000), [&] {
            got = WindowRect(bar);
            return got.top == 0 && got.right - got.left == width && got.bottom == height;
        });
    }

    // Icon n of the built-in strip of `size` pixels, opaque where its mask is black, drawn at
    // (x, y) of `shot` over `face`: the positions that differ (at most a few listed).
    std::string IconMismatches(const Pixels& shot, int x, int y, int n, int size,
                               std::uint32_t face) {
        const std::wstring suffix = size == 16 ? L"" : std::to_wstring(size);
        const Pixels ii = ReadBitmap(Folder().Exe(), (L"II" + suffix).c_str());
        const Pixels im = ReadBitmap(Folder().Exe(), (L"IM" + suffix).c_str());
        if (ii.Px.empty() || im.Px.empty()) return "no built-in icons of " + std::to_string(size);
        const int sx = size * ((n - 1) % 100), sy = size * ((n - 1) / 100);
        std::string out;
        int wrong = 0;
        for (int i = 0; i < size * size; ++i) {
            const int px = sx + i % size, py = sy + i / size;
            const std::uint32_t want = im.At(px, py) ? face : ii.At(px, py);
            const std::uint32_t got = shot.At(x + i % size, y + i / size);
            if (got != want && ++wrong <= 3) {
                char line[96];
                std::snprintf(line, sizeof line, "(%d,%d) #%06X want #%06X; ", x + i % size,
                              y + i / size, got, want);
                out += line;
            }
        }
        return wrong ? out + std::to_string(wrong) + " pixels differ" : "";
    }

    // The main menu, opened by a click on the main-menu cell at client x `cellLeft`.
    HWND OpenMainMenu(HWND bar, int cellLeft) {
        const RECT r = WindowRect(bar);
        return ClickForMenu(r.left + cellLeft + Px(10), r.top + Px(10));
    }

    // Escape closes the open menu (and a submenu the mouse opened first); FixMnuProblem
    // brings the bar in front for its menu, so that the keys reach it.
    static bool CloseWithEscape(HWND menu) {
        for (int i = 0; i < 3; ++i) {
            TypeKey(VK_ESCAPE);
            if (WaitFor(Ms(1000), [&] { return !IsWindow(menu) || !IsWindowVisible(menu); }))
                return true;
        }
        return false;
    }

    int dpi_ = 96;
};

const std::string kLook =
    "ButFlat=0\r\nButH_id=0\r\nSepColor=0\r\nAutoRed=0\r\nForcedLanguage=2\r\nFixMnuProblem=1\r\n";

TEST_F(HighDpi, CellsIconsAndMenu_AreDrawnForTheScreen_IconsFromTheLargerPictures) {
    // A 16-pixel picture of the icon folder, a different colour in each pixel, all opaque.
    Pixels square(32, 16, 0);
    for (int i = 0; i < 256; ++i) square.Px[i / 16 * 32 + i % 16] = 0x101010u * (i % 16) + i / 16 * 4;
    WriteBmpFile(Folder().Path() / L"Icons" / L"square.bmp", square);
    HWND bar = StartBar(Ini({{"Terminal", "", "**012"}, {"-", "", ""}, {"Folder", "", "**004"},
                             {"Square", "", "square.bmp"}, {"Notepad", "notepad.exe", ""}},
                            kLook));
    ASSERT_TRUE(bar) << "the bar did not appear";
    const int cell = Px(22), separator = Px(12), icon = Px(16);
    const int width = 5 * cell + separator, height = Px(20);
    RECT r{};
    ASSERT_TRUE(BarSizeBecomes(bar, width, height, r))
        << "want " << width << " x " << height << " at the top, got " << Describe(r) << LogTail();
    EXPECT_LE(r.right, GetSystemMetrics(SM_CXSCREEN));

    // Both icons pixel for pixel from the strip of their size, not a 16-pixel one stretched;
    // the faces keep their bevel: highlight at the left edge, dark at the right.
    const std::uint32_t face = RgbOf(GetSysColor(COLOR_3DFACE));
    std::string wrong;
    Pixels shot;
    WaitFor(Ms(3000), [&] {
        shot = GrabScreen(WindowRect(bar));
        wrong = IconMismatches(shot, Px(2), Px(2), 12, icon, face) +
                IconMismatches(shot, cell + separator + Px(2), Px(2), 4, icon, face);
        return wrong.empty();
    });
    EXPECT_EQ(wrong, "") << "icons at " << icon << " pixels";
    EXPECT_EQ(shot.At(0, height / 2), RgbOf(GetSysColor(COLOR_3DHIGHLIGHT)));
    EXPECT_NE(shot.At(cell - 1, height / 2), face);
    EXPECT_EQ(shot.At(Px(19), height / 2), face);  // right of the icon
    EXPECT_EQ(shot.At(Px(20), height / 2), RgbOf(GetSysColor(COLOR_3DSHADOW)));

    // The small picture grows by whole pixels, never blended: each pixel shown is one of
    // the picture's (at 200 % exactly its 2 x 2 block). The program's icon comes from its
    // file at the size drawn: at 200 % not a 16-pixel icon doubled.
    const int squareX = 2 * cell + separator + Px(2), notepadX = 3 * cell + separator + Px(2);
    int foreign = 0, undoubled = 0;
    for (int y = 0; y < icon; ++y) {
        for (int x = 0; x < icon; ++x) {
            const std::uint32_t got = shot.At(squareX + x, Px(2) + y);
            foreign += std::count(square.Px.begin(), square.Px.end(), got) == 0;
            if (icon == 32) foreign += got != square.At(x / 2, y / 2);
            if (icon == 32 && x % 2 == 0 && y % 2 == 0) {
                const std::uint32_t c = shot.At(notepadX + x, Px(2) + y);
                undoubled += c != shot.At(notepadX + x + 1, Px(2) + y) ||
                             c != shot.At(notepadX + x, Px(2) + y + 1);
            }
        }
    }
    EXPECT_EQ(foreign, 0) << "the icon file's picture was blended or misplaced";
    if (icon == 32) {
        EXPECT_GT(undoubled, 10) << "the program's icon is a small one doubled";
    }

    // A menu entry, highlighted under the mouse, is as tall as the menu font and the icon.
    HWND menu = OpenMainMenu(bar, 4 * cell + separator);
    ASSERT_TRUE(menu) << "no main menu" << LogTail();
    const RECT m = WindowRect(menu);
    MoveMouseAndStay((m.left + m.right) / 2, m.top + Px(12));
    const std::uint32_t highlight = RgbOf(GetSysColor(COLOR_HIGHLIGHT));
    int band = 0;
    WaitFor(Ms(3000), [&] {
        const Pixels column = GrabScreen(RECT{m.right - Px(6), m.top, m.right - Px(5), m.bottom});
        band = 0;
        for (int y = 0; y < column.Height; ++y) band += column.At(0, y) == highlight;
        return band > 0;
    });
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    EXPECT_GE(band, tm.tmHeight + Px(4)) << "menu font " << tm.tmHeight << " pixels high";
    EXPECT_GE(band, icon + Px(2));
    EXPECT_TRUE(CloseWithEscape(menu));
}

TEST_F(HighDpi, AChangeOfResolution_RedrawsTheBarAtOnce_AlsoWithTheMenuOpen_ADisplayChangeToo) {
    HWND bar = StartBar(Ini({{"Terminal", "", "**012"}, {"-", "", ""}, {"Folder", "", "**004"}},
                            kLook));
    ASSERT_TRUE(bar) << "the bar did not appear";
    auto widthAt = [&](int dpi) { return 3 * Px(22, dpi) + Px(12, dpi); };
    RECT r{};
    ASSERT_TRUE(BarSizeBecomes(bar, widthAt(dpi_), Px(20), r)) << Describe(r);

    // Moved to a screen at 100 % while its menu is open: the menu stays and goes on working;
    // once it closes the bar is drawn at 96 dpi with the 16-pixel icons.
    HWND menu = OpenMainMenu(bar, 2 * Px(22) + Px(12));
    ASSERT_TRUE(menu) << "no main menu" << LogTail();
    PostMessageW(bar, WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
    EXPECT_TRUE(WaitFor(Ms(1000), [&] { return Logged("frmButtons: 96 dots per inch after") == 1; }))
        << LogTail();
    EXPECT_TRUE(IsWindowVisible(menu));
    EXPECT_TRUE(CloseWithEscape(menu));
    EXPECT_TRUE(BarSizeBecomes(bar, widthAt(96), 20, r)) << Describe(r) << LogTail();
    const std::uint32_t face = RgbOf(GetSysColor(COLOR_3DFACE));
    std::string wrong;
    WaitFor(Ms(3000), [&] {
        wrong = IconMismatches(GrabScreen(WindowRect(bar)), 2, 2, 12, 16, face);
        return wrong.empty();
    });
    EXPECT_EQ(wrong, "");

    // A change of the displays (a monitor plugged in or out) makes the bar look at its
    // screen again: back to the screen's resolution, at the top right of the primary screen.
    // The menu opens again at that size and still answers.
    PostMessageW(bar, WM_DISPLAYCHANGE, 32, MAKELPARAM(GetSystemMetrics(SM_CXSCREEN),
                                                       GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_TRUE(BarSizeBecomes(bar, widthAt(dpi_), Px(20), r)) << Describe(r) << LogTail();
    EXPECT_LE(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_GT(r.left, GetSystemMetrics(SM_CXSCREEN) / 2);
    MoveMouseAndStay(kAway.x, kAway.y);
    menu = OpenMainMenu(bar, 2 * Px(22) + Px(12));
    ASSERT_TRUE(menu) << "no main menu after the change" << LogTail();

    // Configure > Options: a dialog drawn for the screen (its buttons grow with the font);
    // the resolution changing while it is open redraws the bar and leaves the dialog working.
    TypeKey('C');
    ASSERT_TRUE(WaitFor(Ms(3000), [&] {
        const std::vector<HWND> menus = TopLevelWindows(Last().Id(), L"#32768");
        return std::count_if(menus.begin(), menus.end(), IsWindowVisible) == 2;
    })) << LogTail();
    TypeKey('O');
    HWND options = WaitForWindow(Last().Id(), L"#32770", L"Options", Ms(5000));
    ASSERT_TRUE(options) << LogTail();
    const RECT ok = WindowRect(GetDlgItem(options, IDOK));
    EXPECT_GE(ok.bottom - ok.top, Px(20)) << "the OK button " << Describe(ok);
    PostMessageW(bar, WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
    EXPECT_TRUE(BarSizeBecomes(bar, widthAt(96), 20, r)) << Describe(r) << LogTail();
    SetForegroundWindow(options);
    TypeKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor(Ms(5000), [&] { return !IsWindow(options); })) << "the dialog hangs";
    EXPECT_TRUE(Last().IsRunning()) << "the program ended";
    EXPECT_EQ(Logged("frmButtons: 96 dots per inch (was"), 2) << LogTail();
}

}  // namespace
}  // namespace zorv::e2e
