#include "host/CoreFoundation/CFNotificationCenter.h"

#include <map>

#include "host/System/Dispatch.h"
#include "host/Runtime/EventLog.h"
#include "host/Runtime/SimulatedDevice.h"

struct __CFNotificationCenter {
    struct Observer {
        std::string name;
        CFNotificationCallback callback;
    };
    std::map<int, Observer> observers;
    int nextToken = 1;
};

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter() {
    static __CFNotificationCenter center;
    return &center;
}

namespace {
const host::SimulatedDevice::ResetStep forgetObservers{[] { CFNotificationCenterGetDarwinNotifyCenter()->observers.clear(); }};
}  // namespace

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, const std::optional<std::string>& name,
    const void*, const void*, bool) {
    if (!center) return;
    if (!name || name->empty()) {
        host::EventLog::shared().diagnostic("refused to post a Darwin notification without a name");
        return;
    }
    host::EventLog::shared().record("notification", {{"name", *name}});
    for (const auto& [token, observer] : center->observers) {
        if (observer.name != *name) continue;
        dispatch_async(dispatch_get_main_queue(), [callback = observer.callback, n = *name] { callback(n); });
    }
}

int CFNotificationCenterAddObserver(CFNotificationCenterRef center, const std::string& name, CFNotificationCallback callback) {
    if (!center) return 0;
    const int token = center->nextToken++;
    center->observers[token] = {name, std::move(callback)};
    return token;
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, int token) {
    if (center) center->observers.erase(token);
}
