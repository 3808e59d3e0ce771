#pragma once
// The Darwin notify centre: system-wide notifications that carry a name and nothing else.
// Observers are told on the main run loop. Every post is recorded in the event log with its time.
#include <functional>
#include <optional>
#include <string>

struct __CFNotificationCenter;
using CFNotificationCenterRef = __CFNotificationCenter*;

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();

// Posts `name`. Object and user info are ignored, as the Darwin centre ignores them. A missing or
// empty name is invalid: it is refused (with a diagnostic), never delivered.
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, const std::optional<std::string>& name,
    const void* object, const void* userInfo, bool deliverImmediately);

// Observes `name` (the running tweak's side). Returns a token for removal.
using CFNotificationCallback = std::function<void(const std::string& name)>;
int CFNotificationCenterAddObserver(CFNotificationCenterRef center, const std::string& name, CFNotificationCallback callback);
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, int token);
