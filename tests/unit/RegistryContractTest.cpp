#include <gtest/gtest.h>

#include "contract/RegistryContract.h"
#include "fakes/Fakes.h"

namespace kadrilo {
namespace {

// The same cases run against the real registry under Wine (tests/contract).
TEST(RegistryContract, TheFakeBehavesAsTheRegistry) {
    for (const contract::RegistryCase& c : contract::RegistryCases("Software\\KadriloContract")) {
        testing::FakeRegistry registry;
        EXPECT_EQ(c.run(registry), "") << c.name;
    }
}

}  // namespace
}  // namespace kadrilo
