#include "support/common_controls_win32.h"

#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include "support/late_bound_win32.h"

namespace zorv {

bool InitCommonControls6OrLater() {
    constexpr const wchar_t* kLibrary = L"comctl32.dll";
    const auto init = LateBound<decltype(&InitCommonControlsEx)>(kLibrary, "InitCommonControlsEx");
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    if (!init || !init(&icc)) return false;
    const auto getVersion = LateBound<DLLGETVERSIONPROC>(kLibrary, "DllGetVersion");
    DLLVERSIONINFO dvi{sizeof dvi, 0, 0, 0, 0};
    return getVersion && SUCCEEDED(getVersion(&dvi)) && dvi.dwMajorVersion >= 6;
}

}  // namespace zorv
