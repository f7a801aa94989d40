#include "launch/folder_history.h"

#include "support/log.h"

namespace zorv {

bool FolderHistory::PushChDir(const std::string& target) {
    if (target.empty()) {
        if (folders_.empty()) return false;
        std::string back = std::move(folders_.back());
        folders_.pop_back();
        Log(5, "y ChDir(%s)", back);
        return platform_.SetCurrentFolder(back);
    }
    if (folders_.size() < kPlaces) folders_.push_back(platform_.CurrentFolder());
    Log(5, "x ChDir(%s)", target);
    const bool changed = platform_.SetCurrentFolder(target);
    return changed && folders_.size() <= 2;
}

}  // namespace zorv
