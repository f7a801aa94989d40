// Zorv.dll, the companion library that starts processes for the launcher.
// For now it refuses every request; the starter itself comes with the launcher.
#include <windows.h>

#include <cstdint>

namespace {
// Offset of ErrorCode in the 808-byte start request.
constexpr std::size_t kErrorCodeOffset = 792;
}  // namespace

extern "C" __declspec(dllexport) std::int32_t __stdcall ExecuteProcessAsync(void* request) {
    if (request) {
        const std::int32_t notSupported = ERROR_NOT_SUPPORTED;
        CopyMemory(static_cast<char*>(request) + kErrorCodeOffset, &notSupported,
                   sizeof notSupported);
    }
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
