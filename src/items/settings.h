// The configuration's settings with their defaults, and the "[Settings]" keys
// that carry them in the configuration file. Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zorv {

// A list editor's size, held in twips (pixels x twips per pixel); the file
// holds pixels.
struct ListWinSize {
    std::int32_t Width = 0;
    std::int32_t Height = 0;

    bool operator==(const ListWinSize&) const = default;
};

// Member order is the order of the keys in the file.
struct Settings {
    std::int32_t AutoRed = 0;       // 0 none, 1 reduce to a line, 2 fade out
    bool SoftRed = false;           // reduce in steps
    std::int32_t RestoreDelay = 0;  // ms before a reduced bar comes back, 0..500
    bool SendWmPaints = false;      // default on for Windows 95/98/ME (DefaultSettings)
    bool ToolTip = false;
    bool Hole = false;  // hole in the bar while Shift is held
    bool NoDragDropSource = false;
    bool W4Idle = false;  // show the bar only when the system is quiet
    bool TaskbarTop = false;
    std::int32_t ASDelay = 0;          // seconds before the first autostart item, 0..60
    double ASPause = 0.0;              // seconds between autostart items, 0..5
    std::int32_t SepColor = 0;         // 0..4
    std::int32_t LineColor = 0;        // 0..4; 4 (transparent) from Windows 2000 on
    std::int32_t TransparencyIdx = 0;  // 0..3, index into lAlphas
    std::int32_t MnuHotkey = 0;        // hex in the file
    std::int32_t ASTimeLimit = 0;      // minutes; 0 = autostart never skipped
    bool ACSkip = false;               // no autoclose after an exit from the menu
    bool ShowAItems = false;
    bool Maximizer = false;
    std::int32_t ProcessPrio = 0;  // 2 = always high
    ListWinSize ListWinSizeButtons;
    ListWinSize ListWinSizeMenu;
    ListWinSize ListWinSizeClip;
    bool FixMnuProblem = false;
    bool MnuFlat = false;
    bool ButFlat = false;
    bool RefreshOnCDS = true;          // reload icons when the colour depth changes
    std::int32_t ButH_id = 0;          // button size index, 0..2
    std::int32_t LastColor3DFace = 0;  // hex in the file
    std::int32_t LastBitsPerPixel = 0;
    std::int32_t ForcedBarRight = 0;  // 0 = automatic right gap
    std::int32_t ForcedLanguage = 0;  // 0 automatic, 1 German, 2 English
    bool FixFontProblem = false;
    std::int32_t ForcedColor3DFace = -1;  // hex in the file; -1 = none, not written
    std::int32_t LogLevel = 0;
    bool WriteLogfile = false;
    bool WriteDebugView = false;
    // Start with Windows as the file asks: 1 on, 0 off, -1 not asked (not written).
    std::int32_t StartWithWindows = -1;

    // Run-time state derived from the above; never written.
    std::int32_t AutoRedInForce = 0;  // AutoRed as currently in force
    bool FadeMode = false;            // the bar fades rather than shrinks

    bool operator==(const Settings&) const = default;
};

// Facts of the system that reading and writing the settings depend on.
struct IniContext {
    std::int32_t ScreenWidth = 1024;  // pixels
    std::int32_t ScreenHeight = 768;
    std::int32_t TwipsPerPixelX = 15;
    std::int32_t TwipsPerPixelY = 15;
    bool Win9x = false;  // Windows 95/98/ME
    bool Win2000OrLater = true;
};

// The settings of a first start.
Settings DefaultSettings(bool win9x);

// AutoRedInForce and FadeMode from the configured values.
void UpdateDerivedSettings(Settings& settings, bool win2000OrLater);

// Applies one line of the settings area ("Key=value"). Lines whose key is not
// a settings key change nothing; returns whether the key was one.
bool ApplySettingLine(std::string_view line, Settings& settings, const IniContext& context);

// Appends every key in file order, one "Key=value" line each, CR LF ended.
void AppendSettingLines(std::string& out, const Settings& settings, const IniContext& context);

// The decimal-number prefix of `text` ("0.5s" gives 0.5): leading blanks,
// an optional sign, digits, an optional "." and digits; 0 without digits.
double ParseDecimalNumberPrefix(std::string_view text);

// The shortest text with "." that reads back as the same value ("0.5", "3").
std::string FormatDecimalNumber(double value);

}  // namespace zorv
