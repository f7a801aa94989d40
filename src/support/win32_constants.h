// Win32 values the portable code decides with, mirrored so that it needs no
// <windows.h>. win32_constants_win32.cpp checks every one of them against
// the real headers when the program is built.
#pragma once

#include <cstdint>

namespace zorv::win {

// Window styles (GWL_STYLE) and extended styles (GWL_EXSTYLE).
inline constexpr std::uint32_t kWsPopup = 0x80000000;
inline constexpr std::uint32_t kWsChild = 0x40000000;
inline constexpr std::uint32_t kWsDisabled = 0x08000000;
inline constexpr std::uint32_t kWsMaximize = 0x01000000;
inline constexpr std::uint32_t kWsCaption = 0x00C00000;  // WS_BORDER | WS_DLGFRAME
inline constexpr std::uint32_t kWsSysMenu = 0x00080000;
inline constexpr std::uint32_t kWsThickFrame = 0x00040000;
inline constexpr std::uint32_t kWsMinimizeBox = 0x00020000;
inline constexpr std::uint32_t kWsMaximizeBox = 0x00010000;
inline constexpr std::uint32_t kWsExToolWindow = 0x00000080;

// Show commands.
inline constexpr std::int32_t kSwShowNormal = 1;
inline constexpr std::int32_t kSwShowMaximized = 3;
inline constexpr std::int32_t kSwShowMinNoActive = 7;
inline constexpr std::int32_t kSwForceMinimize = 11;  // the highest show command

// Priority classes.
inline constexpr std::uint32_t kNormalPriorityClass = 0x20;
inline constexpr std::uint32_t kIdlePriorityClass = 0x40;
inline constexpr std::uint32_t kHighPriorityClass = 0x80;
inline constexpr std::uint32_t kRealtimePriorityClass = 0x100;
inline constexpr std::uint32_t kBelowNormalPriorityClass = 0x4000;
inline constexpr std::uint32_t kAboveNormalPriorityClass = 0x8000;

// Files and drives: GetFileAttributes' answer for a missing path, the folder
// bit, and GetDriveType's answer for a drive without a root folder.
inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;
inline constexpr std::uint32_t kDriveNoRootDir = 1;

// Shell hook notifications (the low byte; activation may carry 0x8000).
inline constexpr std::uint64_t kHshellWindowCreated = 1;
inline constexpr std::uint64_t kHshellWindowActivated = 4;

// Menus: entry types, TrackPopupMenuEx flags, WM_MENUCHAR's "execute"
// answer (high word) and the system colours the menus are drawn in.
inline constexpr std::uint32_t kMfOwnerDraw = 0x100;
inline constexpr std::uint32_t kMfSeparator = 0x800;
inline constexpr std::uint32_t kMfMenuBarBreak = 0x20;
inline constexpr std::uint32_t kTpmRightButton = 0x2;
inline constexpr std::uint32_t kTpmCenterAlign = 0x4;
inline constexpr std::uint32_t kTpmRightAlign = 0x8;
inline constexpr std::uint32_t kTpmReturnCmd = 0x100;
inline constexpr std::int32_t kMncExecute = 2;
inline constexpr std::int32_t kColorMenu = 4;
inline constexpr std::int32_t kColorMenuText = 7;
inline constexpr std::int32_t kColorHighlight = 13;
inline constexpr std::int32_t kColorHighlightText = 14;
inline constexpr std::int32_t kColorBtnShadow = 16;
inline constexpr std::int32_t kColorGrayText = 17;
inline constexpr std::int32_t kColorBtnHighlight = 20;

// Virtual keys the keystroke and hotkey rules name.
inline constexpr std::uint8_t kVkCancel = 0x03;
inline constexpr std::uint8_t kVkBack = 0x08;
inline constexpr std::uint8_t kVkTab = 0x09;
inline constexpr std::uint8_t kVkClear = 0x0C;
inline constexpr std::uint8_t kVkReturn = 0x0D;
inline constexpr std::uint8_t kVkShift = 0x10;
inline constexpr std::uint8_t kVkControl = 0x11;
inline constexpr std::uint8_t kVkMenu = 0x12;  // Alt
inline constexpr std::uint8_t kVkCapital = 0x14;
inline constexpr std::uint8_t kVkEscape = 0x1B;
inline constexpr std::uint8_t kVkSpace = 0x20;
inline constexpr std::uint8_t kVkPrior = 0x21;  // Page Up, the first of the navigation keys
inline constexpr std::uint8_t kVkSnapshot = 0x2C;
inline constexpr std::uint8_t kVkHelp = 0x2F;  // the last key before the digits
inline constexpr std::uint8_t kVkLWin = 0x5B;
inline constexpr std::uint8_t kVkNumpad0 = 0x60;
inline constexpr std::uint8_t kVkDecimal = 0x6E;
inline constexpr std::uint8_t kVkDivide = 0x6F;  // the last keypad key
inline constexpr std::uint8_t kVkF1 = 0x70;
inline constexpr std::uint8_t kVkF12 = 0x7B;
inline constexpr std::uint8_t kVkNumLock = 0x90;
inline constexpr std::uint8_t kVkScroll = 0x91;
inline constexpr std::uint8_t kVkLShift = 0xA0;
inline constexpr std::uint8_t kVkRShift = 0xA1;
inline constexpr std::uint8_t kVkLControl = 0xA2;
inline constexpr std::uint8_t kVkRControl = 0xA3;
inline constexpr std::uint8_t kVkLMenu = 0xA4;
inline constexpr std::uint8_t kVkRMenu = 0xA5;

// keybd_event / SendInput flags.
inline constexpr std::uint32_t kKeyEventExtendedKey = 0x1;
inline constexpr std::uint32_t kKeyEventKeyUp = 0x2;

// RegisterHotKey's modifiers and the hotkey control's (HKM_GETHOTKEY, high
// byte), which has Shift and Alt the other way round.
inline constexpr std::uint32_t kModAlt = 0x1;
inline constexpr std::uint32_t kModControl = 0x2;
inline constexpr std::uint32_t kModShift = 0x4;
inline constexpr std::uint32_t kModWin = 0x8;
inline constexpr std::uint32_t kHotkeyfShift = 0x1;
inline constexpr std::uint32_t kHotkeyfAlt = 0x4;
inline constexpr std::uint32_t kHotkeyfExt = 0x8;

// Messages and the edit style the paste and typing rules decide with.
inline constexpr std::uint32_t kWmChar = 0x0102;
inline constexpr std::uint32_t kWmPaste = 0x0302;
inline constexpr std::uint32_t kEmGetSel = 0x00B0;
inline constexpr std::uint32_t kEsWantReturn = 0x1000;

// Standard clipboard formats and the ranges of formats whose data is no
// memory block.
inline constexpr std::uint32_t kCfText = 1;
inline constexpr std::uint32_t kCfBitmap = 2;
inline constexpr std::uint32_t kCfMetafilePict = 3;
inline constexpr std::uint32_t kCfOemText = 7;
inline constexpr std::uint32_t kCfDib = 8;
inline constexpr std::uint32_t kCfPalette = 9;
inline constexpr std::uint32_t kCfUnicodeText = 13;
inline constexpr std::uint32_t kCfEnhMetafile = 14;
inline constexpr std::uint32_t kCfHdrop = 15;
inline constexpr std::uint32_t kCfLocale = 16;
inline constexpr std::uint32_t kCfDibV5 = 17;
inline constexpr std::uint32_t kCfOwnerDisplay = 0x80;
inline constexpr std::uint32_t kCfDspText = 0x81;
inline constexpr std::uint32_t kCfDspEnhMetafile = 0x8E;
inline constexpr std::uint32_t kCfPrivateFirst = 0x200;
inline constexpr std::uint32_t kCfGdiObjLast = 0x3FF;

}  // namespace zorv::win
