// Runs the registry cases against the real registry and prints a summary line.
#include <cstdio>

#include "contract/RegistryContract.h"
#include "win32/SystemPorts.h"

int wmain() {
    kadrilo::win32::Registry registry;
    int passed = 0, failed = 0;
    for (const kadrilo::contract::RegistryCase& c : kadrilo::contract::RegistryCases("Software\\KadriloContract")) {
        const std::string failure = c.run(registry);
        if (failure.empty()) {
            ++passed;
            std::printf("ok: %s\n", c.name);
        } else {
            ++failed;
            std::printf("FAILED: %s: %s\n", c.name, failure.c_str());
        }
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
