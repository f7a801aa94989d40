// What the shells ask of the file system most often.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv {

// A file (not a folder) at `path`.
bool FileExists(const std::string& path);
// A folder at `path`.
bool FolderExists(const std::string& path);
// The whole file; nullopt when it cannot be opened or a read fails.
std::optional<std::string> ReadFileBytes(const std::string& path);
// Writes `bytes` as the whole file (created or replaced); false on failure.
bool WriteFileBytes(const std::string& path, std::string_view bytes);
// The names of the files (not folders) in `folder` that match `pattern`
// ("*.bmp"); none when the folder is missing.
std::vector<std::string> FileNamesIn(const std::string& folder, std::string_view pattern);

}  // namespace zorv
