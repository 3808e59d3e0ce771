// Seeding a device: files land inside the device root, through the device's own links, and
// nothing the device already has is written over.
#include "host/Runtime/DeviceSeed.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "tests/support/Files.h"

namespace {

namespace fs = std::filesystem;
using test::readFile;

TEST(DeviceSeedTest, PlantsWhatIsMissingInsideTheDevice) {
    const test::ScratchFolder scratch;
    const fs::path temp = scratch.path, seed = temp / "seed", outside = temp / "outside";
    const auto put = [](const fs::path& file, const char* bytes) { fs::create_directories(file.parent_path()), void(std::ofstream(file) << bytes); };
    put(seed / "var/lib/dpkg/status", "seeded");
    put(outside / "lib/dpkg/status", "host");

    // `where`: the device file holding the seed, if any.
    const struct { const char* name; std::function<void(const fs::path& device)> prepare; bool planted; const char* where; } cases[] = {
        {"empty device", [](const fs::path&) {}, true, "var/lib/dpkg/status"},
        {"own status kept", [&](const fs::path& d) { put(d / "var/lib/dpkg/status", "own"); }, true, nullptr},
        {"status is a link out", [&](const fs::path& d) {
             fs::create_directories(d / "var/lib/dpkg");
             fs::create_symlink(outside / "lib/dpkg/status", d / "var/lib/dpkg/status");
         }, true, nullptr},
        {"relative device link", [](const fs::path& d) {
             fs::create_directories(d / "private/var"), fs::create_directory_symlink("private/var", d / "var");
         }, true, "private/var/lib/dpkg/status"},
        {"absolute device link", [](const fs::path& d) {
             fs::create_directories(d / "private/var"), fs::create_directory_symlink("/private/var", d / "var");
         }, true, "private/var/lib/dpkg/status"},
        {"absolute link to a host folder", [&](const fs::path& d) { fs::create_directory_symlink(outside, d / "var"); }, false, nullptr},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path device = temp / ("device" + std::to_string(n++));
        fs::create_directories(device);
        c.prepare(device);
        std::string error;
        EXPECT_EQ(host::DeviceSeed::plant(seed, device, &error), c.planted) << error;
        EXPECT_EQ(error.empty(), c.planted);
        if (c.where) {
            EXPECT_EQ(readFile(device / c.where), "seeded");
        }
        EXPECT_EQ(readFile(outside / "lib/dpkg/status"), "host");
        EXPECT_EQ(std::distance(fs::directory_iterator(outside / "lib/dpkg"), fs::directory_iterator()), 1);
    }
    EXPECT_EQ(readFile(temp / "device1/var/lib/dpkg/status"), "own");
}

}  // namespace
