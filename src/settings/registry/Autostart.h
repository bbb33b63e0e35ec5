// The autostart choice, which lives only in the Run entries named "Kadrilo":
// 0 none, 1 for all users (the machine's Run key), 2 for the current user.
#pragma once

#include <string>

#include "platform/Ports.h"

namespace kadrilo {

class Autostart {
public:
    explicit Autostart(RegistryPort& registry) : registry_(registry) {}

    // The choice the Run entries show; `current` when there is none. The
    // machine's entry wins over the user's.
    int32_t ReadChoice(int32_t current);
    // Makes the Run entries agree with the choice: the entry holding the
    // executable's path exists exactly in the chosen key. The machine's key is
    // touched only for an administrator.
    void Reconcile(int32_t choice, const std::string& executable, bool isAdmin);

private:
    void ReconcileRunEntry(RegistryRoot root, int32_t target, int32_t choice, const std::string& executable);

    RegistryPort& registry_;
};

}  // namespace kadrilo
