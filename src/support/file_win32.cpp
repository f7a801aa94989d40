#include "support/file_win32.h"

#include <windows.h>

#include "support/text_win32.h"

namespace zorv {

namespace {

bool PathExists(const std::string& path, bool folder) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
}

}  // namespace

bool FileExists(const std::string& path) {
    return PathExists(path, false);
}

bool FolderExists(const std::string& path) {
    return PathExists(path, true);
}

}  // namespace zorv
