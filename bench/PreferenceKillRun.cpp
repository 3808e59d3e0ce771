// A stress run, not a benchmark: writers storing increasing values are killed at random moments,
// N times (1000 by default, or argv[1]). After every kill the preferences file must parse and
// hold the last value a writer saw stored (or the one it was storing); after the next store no
// temporary file may remain. Prints the counts; exits non-zero on any loss.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/Runtime/AtomicFile.h"
#include "host/Runtime/PropertyList.h"
#include "host/Preferences/PreferenceStore.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/SimulatedDevice.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kDomain = "com.mornvale.velkaro";

int temporaryFilesIn(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        count += entry.path().filename().string().starts_with(host::temporaryNamePrefix(std::string(kDomain) + ".plist"));
    return count;
}

// The stored counter, -1 when the file does not parse or holds none.
long storedCounter() {
    const auto stored = host::DeviceRoot::readFile(host::PreferenceStore::devicePathForDomain(kDomain));
    if (!stored) return -1;
    const auto value = host::PropertyList::parse(*stored);
    if (!value || !value->isDictionary()) return -1;
    const auto text = (*value)["counter"].text();
    return text ? std::stol(*text) : -1;
}

bool store(long counter, const std::string& padding) {
    return host::PreferenceStore::setValue(kDomain, "padding", PlistValue(padding)) &&
           host::PreferenceStore::setValue(kDomain, "counter", PlistValue(std::to_string(counter)));
}

}  // namespace

int main(int argc, char** argv) {
    const int kills = argc > 1 ? std::atoi(argv[1]) : 1000;
    const host::SimulatedDevice device;  // in a temporary folder, removed at the end
    const fs::path& root = device.root();
    const std::string padding(256 * 1024, 'p');  // large enough that kills land inside writes

    long durable = 0;
    const auto start = std::chrono::steady_clock::now();
    if (!store(durable, padding)) return 2;
    const auto oneStore = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
    const fs::path folder = root / "var/mobile/Library/Preferences";
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long> pause(0, 4 * oneStore + 2000);

    int unparsed = 0, lost = 0, cutOff = 0, mostTemporaries = 0;
    long acknowledgedStores = 0;
    for (int k = 0; k < kills; ++k) {
        int acks[2];
        if (::pipe(acks) != 0) return 2;
        const pid_t child = ::fork();
        if (child < 0) return 2;
        if (child == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            ::close(acks[0]);
            for (long counter = durable + 1;; ++counter)
                if (!store(counter, padding) || ::write(acks[1], &counter, sizeof counter) != sizeof counter) ::_exit(2);
        }
        ::close(acks[1]);
        ::usleep(static_cast<useconds_t>(pause(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        long counter = 0, acknowledged = durable;
        while (::read(acks[0], &counter, sizeof counter) == sizeof counter) acknowledged = counter, ++acknowledgedStores;
        ::close(acks[0]);

        const long found = storedCounter();
        if (found < 0) ++unparsed;
        else if (found != acknowledged && found != acknowledged + 1) ++lost;  // the store in flight may have landed
        const int temporaries = temporaryFilesIn(folder);
        cutOff += temporaries > 0;
        mostTemporaries = std::max(mostTemporaries, temporaries);
        durable = std::max(found, acknowledged);
    }
    const bool finalStore = store(durable + 1, padding);
    const int leftAfterNextStore = temporaryFilesIn(folder);
    const bool holdsLast = storedCounter() == durable + 1;
    std::printf("kills %d, stores acknowledged %ld, kills that cut off a write %d, most temporary files at once %d\n", kills,
        acknowledgedStores, cutOff, mostTemporaries);
    std::printf("unparseable files %d, lost acknowledged values %d, temporary files after the next store %d, last value held %s\n",
        unparsed, lost, leftAfterNextStore, holdsLast ? "yes" : "no");
    return unparsed == 0 && lost == 0 && finalStore && leftAfterNextStore == 0 && holdsLast ? 0 : 1;
}
