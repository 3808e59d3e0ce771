#pragma once
// Lets a test make the next base initialiser of a class fail, so that the "base gives nil"
// paths of the bundle's initialisers are real; and a step of the host's own that cannot be
// made to fail from outside.
#include <string>

namespace host {

class FailureInjection {
public:
    // The next call of `className`'s base initialiser (e.g. "UIView", "PSTableCell") gives nil.
    static void failNextInitialiser(const std::string& className);
    // The next time the host reaches the named step of its own (e.g. "folder flush"), it fails.
    static void failNextStep(const std::string& step) { failNextInitialiser(step); }
    // True once for each armed failure; consumes it.
    static bool shouldFail(const std::string& className);

private:
    friend class SimulatedDevice;
    static void reset();  // disarms every failure (a fresh device)
};

}  // namespace host
