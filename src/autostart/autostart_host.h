// What the autostart and autoclose lists ask of the rest of the program:
// the step timer (one of the application's callback timers) and the
// launcher. The application implements it.
#pragma once

#include <cstdint>

#include "autostart/autostart.h"
#include "items/items.h"

namespace zorv {

class AutostartHost {
  public:
    virtual ~AutostartHost() = default;

    // (Re)starts the autostart step timer with `ms`; stops it.
    virtual void ScheduleAutostartStep(std::uint32_t ms) = 0;
    virtual void CancelAutostartStep() = 0;
    // Brings a running instance of the item's program to the front (by its
    // Title or program file); false when none runs.
    virtual bool ActivateRunningItem(const Item& item) = 0;
    // Starts the item's command without any message, as a normal user.
    virtual ItemStart StartItemQuietly(const Item& item) = 0;
};

}  // namespace zorv
