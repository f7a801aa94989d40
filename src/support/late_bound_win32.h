// System functions that the bar's first show does not need, bound on their
// first call, so their libraries stay out of the start. Under Wine, linking
// comdlg32 alone adds about 9 MB to the working set and comctl32 about 3 MB,
// each with some milliseconds of start. A library, once loaded, stays loaded
// for the rest of the run.
#pragma once

#include <windows.h>

namespace zorv {

// GetProcAddress answers a generic function pointer; going through
// void (*)() keeps the cast free of -Wcast-function-type.
template <class F>
F ProcOf(HMODULE module, const char* name) {
    return module ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
                  : nullptr;
}

// Loads a library of the system folder (never one lying beside the program);
// systems without the search flag fall back to the ordinary search.
inline HMODULE SystemLibrary(const wchar_t* dll) {
    if (HMODULE module = GetModuleHandleW(dll)) return module;
    HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? module : LoadLibraryW(dll);
}

// Function `name` of system library `dll`, typed as F (decltype(&Function));
// null when the library or the function is missing.
//   const auto open = LateBound<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
template <class F>
F LateBound(const wchar_t* dll, const char* name) {
    return ProcOf<F>(SystemLibrary(dll), name);
}

}  // namespace zorv
