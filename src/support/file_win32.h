// What the shells ask of the file system most often.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorv {

// A file (not a folder) at `path`.
bool FileExists(const std::string& path);
// A folder at `path`.
bool FolderExists(const std::string& path);
// The whole file; nullopt when it cannot be opened or a read fails.
std::optional<std::string> ReadFileBytes(const std::string& path);
// Writes `bytes` as the whole file (created or replaced); false on failure.
bool WriteFileBytes(const std::string& path, std::string_view bytes);

}  // namespace zorv
