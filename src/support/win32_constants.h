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

}  // namespace zorv::win
