// A stand-in for Zorv.dll that accepts every start request and starts
// nothing: with it, a click on the bar measures only the launcher's own work.
#include <windows.h>

#include <cstdint>

extern "C" __declspec(dllexport) std::int32_t __stdcall ExecuteProcessAsync(void*) {
    return 1;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
