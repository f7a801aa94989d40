// What the shells ask of the file system most often.
#pragma once

#include <string>

namespace zorv {

// A file (not a folder) at `path`.
bool FileExists(const std::string& path);
// A folder at `path`.
bool FolderExists(const std::string& path);

}  // namespace zorv
