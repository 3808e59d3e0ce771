#include "host/Foundation/NSUserDefaults.h"

#include "host/Runtime/EventLog.h"

std::shared_ptr<NSUserDefaults> NSUserDefaults::standardUserDefaults() {
    static auto defaults = std::make_shared<NSUserDefaults>();
    return defaults;
}

bool NSUserDefaults::synchronize() {
    host::EventLog::shared().record("synchronize", {});
    return true;
}
