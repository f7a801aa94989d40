// The values the portable code mirrors must be the system's.
#include <windows.h>

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

}  // namespace zorv::win
