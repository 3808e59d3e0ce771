#include "host/Preferences/PSRootController.h"

#include <gtest/gtest.h>

#include "host/Runtime/DeviceProfile.h"
#include "tests/support/DeviceFixture.h"

namespace {

class PSRootControllerTest : public DeviceFixture {};

// The host nests a bundle's pages from release 8.0 through 9.0, both included, comparing the
// version as a double.
TEST_F(PSRootControllerTest, NestsBundlePagesFrom8Through9) {
    const struct {
        const char* profile;
        bool nests;
    } profiles[] = {{"iphone6", true}, {"iphone6s", false}, {"ipad-air2", true}, {"iphone7", false}};
    for (const auto& c : profiles) {
        useProfile(c.profile);
        EXPECT_EQ(PSRootController::nestsBundlePages(), c.nests) << c.profile;
    }
    const struct {
        double version;
        bool nests;
    } versions[] = {{847.24, false}, {1140.0999999, false}, {1140.10, true}, {1240.10, true}, {1240.1000001, false}, {1241.11, false}};
    for (const auto& c : versions) {
        kCFCoreFoundationVersionNumber = c.version;
        EXPECT_EQ(PSRootController::nestsBundlePages(), c.nests) << c.version;
    }
}

}  // namespace
