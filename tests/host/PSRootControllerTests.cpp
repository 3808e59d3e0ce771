#include "host/Preferences/PSRootController.h"

#include <gtest/gtest.h>

#include "host/Runtime/DeviceProfile.h"
#include "tests/support/DeviceFixture.h"

namespace {

using PSRootControllerTest = DeviceFixture;

// The host nests a bundle's pages from release 8.0 through 9.0, both included, comparing the
// version as a double.
TEST_F(PSRootControllerTest, NestsBundlePagesFrom8Through9) {
    for (const auto& [profile, nests] : {std::pair{"iphone6", true}, {"iphone6s", false}, {"ipad-air2", true}, {"iphone7", false}}) {
        useProfile(profile);
        EXPECT_EQ(PSRootController::nestsBundlePages(), nests) << profile;
    }
    for (const auto& [version, nests] :
        {std::pair{847.24, false}, {1140.0999999, false}, {1140.10, true}, {1240.10, true}, {1240.1000001, false}, {1241.11, false}}) {
        kCFCoreFoundationVersionNumber = version;
        EXPECT_EQ(PSRootController::nestsBundlePages(), nests) << version;
    }
}

}  // namespace
