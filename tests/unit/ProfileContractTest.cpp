#include <gtest/gtest.h>

#include "contract/ProfileContract.h"
#include "fakes/Fakes.h"

namespace kadrilo {
namespace {

// The same cases run against the system's profile functions under Wine (tests/contract).
TEST(ProfileContract, TheFakeBehavesAsTheProfileFunctions) {
    for (const contract::ProfileCase& c : contract::ProfileCases()) {
        testing::FakeProfile profile;
        const contract::ProfileFolder folder{"C:\\Contract", [&](const std::string& name, const std::string& text) {
                                                 profile.SetFile("C:\\Contract\\" + name, text);
                                             }};
        EXPECT_EQ(c.run(profile, folder), "") << c.name;
    }
}

}  // namespace
}  // namespace kadrilo
