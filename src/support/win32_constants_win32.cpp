// The values the portable code mirrors must be the system's.
#include <windows.h>
#include <commctrl.h>

#include "support/win32_constants.h"

namespace zorv::win {

static_assert(kWsPopup == WS_POPUP && kWsChild == WS_CHILD && kWsDisabled == WS_DISABLED);
static_assert(kWsMaximize == WS_MAXIMIZE && kWsCaption == WS_CAPTION);
static_assert(kWsSysMenu == WS_SYSMENU && kWsThickFrame == WS_THICKFRAME);
static_assert(kWsMinimizeBox == WS_MINIMIZEBOX && kWsMaximizeBox == WS_MAXIMIZEBOX);
static_assert(kWsExToolWindow == WS_EX_TOOLWINDOW);

static_assert(kSwShowNormal == SW_SHOWNORMAL && kSwShowMaximized == SW_SHOWMAXIMIZED);
static_assert(kSwShowMinNoActive == SW_SHOWMINNOACTIVE && kSwForceMinimize == SW_FORCEMINIMIZE);
static_assert(kSwForceMinimize == SW_MAX);

static_assert(kNormalPriorityClass == NORMAL_PRIORITY_CLASS);
static_assert(kIdlePriorityClass == IDLE_PRIORITY_CLASS);
static_assert(kHighPriorityClass == HIGH_PRIORITY_CLASS);
static_assert(kRealtimePriorityClass == REALTIME_PRIORITY_CLASS);
static_assert(kBelowNormalPriorityClass == BELOW_NORMAL_PRIORITY_CLASS);
static_assert(kAboveNormalPriorityClass == ABOVE_NORMAL_PRIORITY_CLASS);

static_assert(kInvalidFileAttributes == INVALID_FILE_ATTRIBUTES);
static_assert(kFileAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY);
static_assert(kDriveNoRootDir == DRIVE_NO_ROOT_DIR);

static_assert(kHshellWindowCreated == HSHELL_WINDOWCREATED);
static_assert(kHshellWindowActivated == HSHELL_WINDOWACTIVATED);

static_assert(kMfOwnerDraw == MF_OWNERDRAW && kMfSeparator == MF_SEPARATOR);
static_assert(kMfMenuBarBreak == MF_MENUBARBREAK);
static_assert(kTpmRightButton == TPM_RIGHTBUTTON && kTpmCenterAlign == TPM_CENTERALIGN);
static_assert(kTpmRightAlign == TPM_RIGHTALIGN && kTpmReturnCmd == TPM_RETURNCMD);
static_assert(kMncExecute == MNC_EXECUTE);
static_assert(kColorMenu == COLOR_MENU && kColorMenuText == COLOR_MENUTEXT);
static_assert(kColorHighlight == COLOR_HIGHLIGHT && kColorHighlightText == COLOR_HIGHLIGHTTEXT);
static_assert(kColorBtnShadow == COLOR_BTNSHADOW && kColorBtnHighlight == COLOR_BTNHIGHLIGHT);
static_assert(kColorGrayText == COLOR_GRAYTEXT);

static_assert(kVkCancel == VK_CANCEL && kVkBack == VK_BACK && kVkTab == VK_TAB);
static_assert(kVkClear == VK_CLEAR && kVkReturn == VK_RETURN && kVkShift == VK_SHIFT);
static_assert(kVkControl == VK_CONTROL && kVkMenu == VK_MENU && kVkCapital == VK_CAPITAL);
static_assert(kVkEscape == VK_ESCAPE && kVkSpace == VK_SPACE && kVkPrior == VK_PRIOR);
static_assert(kVkSnapshot == VK_SNAPSHOT && kVkHelp == VK_HELP && kVkLWin == VK_LWIN);
static_assert(kVkNumpad0 == VK_NUMPAD0 && kVkDecimal == VK_DECIMAL && kVkDivide == VK_DIVIDE);
static_assert(kVkF1 == VK_F1 && kVkF12 == VK_F12 && kVkNumLock == VK_NUMLOCK);
static_assert(kVkScroll == VK_SCROLL && kVkLShift == VK_LSHIFT && kVkRShift == VK_RSHIFT);
static_assert(kVkLControl == VK_LCONTROL && kVkRControl == VK_RCONTROL);
static_assert(kVkLMenu == VK_LMENU && kVkRMenu == VK_RMENU);

static_assert(kKeyEventExtendedKey == KEYEVENTF_EXTENDEDKEY && kKeyEventKeyUp == KEYEVENTF_KEYUP);

static_assert(kModAlt == MOD_ALT && kModControl == MOD_CONTROL && kModShift == MOD_SHIFT);
static_assert(kModWin == MOD_WIN);
static_assert(kHotkeyfShift == HOTKEYF_SHIFT && kHotkeyfAlt == HOTKEYF_ALT);
static_assert(kHotkeyfExt == HOTKEYF_EXT);

static_assert(kWmChar == WM_CHAR && kWmPaste == WM_PASTE && kEmGetSel == EM_GETSEL);
static_assert(kEsWantReturn == ES_WANTRETURN);

static_assert(kCfText == CF_TEXT && kCfBitmap == CF_BITMAP && kCfMetafilePict == CF_METAFILEPICT);
static_assert(kCfOemText == CF_OEMTEXT && kCfDib == CF_DIB && kCfPalette == CF_PALETTE);
static_assert(kCfUnicodeText == CF_UNICODETEXT && kCfEnhMetafile == CF_ENHMETAFILE);
static_assert(kCfHdrop == CF_HDROP && kCfLocale == CF_LOCALE && kCfDibV5 == CF_DIBV5);
static_assert(kCfOwnerDisplay == CF_OWNERDISPLAY && kCfDspText == CF_DSPTEXT);
static_assert(kCfDspEnhMetafile == CF_DSPENHMETAFILE && kCfPrivateFirst == CF_PRIVATEFIRST);
static_assert(kCfGdiObjLast == CF_GDIOBJLAST);

}  // namespace zorv::win
