#include "host/Runtime/EventLog.h"

#include <gtest/gtest.h>

#include "tests/support/DeviceFixture.h"

namespace {

using EventLogTest = DeviceFixture;

// A long session keeps only the newest events; the listener still sees every one, and the
// numbering says how many went by.
TEST_F(EventLogTest, KeepsTheNewestEventsOnly) {
    auto& log = host::EventLog::shared();
    std::size_t heard = 0;
    log.setListener([&](const host::Event&) { ++heard; });
    const std::size_t total = host::EventLog::kCapacity + 3;
    for (std::size_t k = 0; k < total; ++k) log.record("tick", {{"n", std::to_string(k)}});
    log.setListener(nullptr);

    ASSERT_EQ(log.events().size(), host::EventLog::kCapacity);
    EXPECT_EQ(std::tuple(heard, log.events().front().field("n"), log.events().back().field("n"), log.recorded(), log.firstKept()),
        std::tuple(total, "3", std::to_string(total - 1), total, std::size_t(3)));
    log.clear();
    EXPECT_EQ(log.recorded(), 0u);
}

}  // namespace
