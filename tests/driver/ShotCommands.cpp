// Subcommands of the driver: see Driver.h.
#include "Driver.h"

namespace kadtest {

std::vector<Command> ShotCommands() { return {}; }

}  // namespace kadtest
