// Changing the process's current folder with a way back: a start may need
// another current folder for a moment (FindExecutable resolves relative to
// it), and the folder it came from is recorded so that a change with an
// empty target returns there.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "launch/launch_platform.h"

namespace zorv {

class FolderHistory {
  public:
    static constexpr std::size_t kPlaces = 11;

    explicit FolderHistory(CommandPlatform& platform) : platform_(platform) {}

    // A target changes there and records the folder left; an empty target
    // returns to the last recorded folder. False when the change failed,
    // when there is nothing to return to, and when more than two folders
    // are recorded (a way back that is never taken: the change is made
    // anyway). A full history changes without recording.
    bool PushChDir(const std::string& target);

    std::size_t Depth() const { return folders_.size(); }

  private:
    CommandPlatform& platform_;
    std::vector<std::string> folders_;
};

}  // namespace zorv
