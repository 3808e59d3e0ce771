#include "host/Runtime/FailureInjection.h"

#include <map>

namespace host {
namespace {
std::map<std::string, int>& armed() {
    static std::map<std::string, int> m;
    return m;
}
}  // namespace

void FailureInjection::failNextInitialiser(const std::string& className) { ++armed()[className]; }

bool FailureInjection::shouldFail(const std::string& className) {
    auto it = armed().find(className);
    if (it == armed().end() || it->second == 0) return false;
    if (--it->second == 0) armed().erase(it);
    return true;
}

void FailureInjection::reset() { armed().clear(); }

}  // namespace host
