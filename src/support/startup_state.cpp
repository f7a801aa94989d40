#include "support/startup_state.h"

namespace zorv {

WindowsVersionInfo MakeWindowsVersion(std::uint32_t platform, std::uint32_t major,
                                      std::uint32_t minor, std::uint32_t build, bool wow64,
                                      bool is64) {
    WindowsVersionInfo v;
    v.Platform = platform;
    v.Major = major;
    v.Minor = minor;
    v.Build = build;
    v.Code = major * 256 + minor;
    v.NT = platform == 2;
    v.Win2000OrLater = v.NT && v.Code >= 0x500;
    v.VistaOrLater = v.NT && major >= 6;
    v.Wow64 = wow64;
    v.Is64 = is64 || wow64;
    return v;
}

}  // namespace zorv
