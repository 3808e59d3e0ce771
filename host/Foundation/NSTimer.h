#pragma once
// One-shot and repeating timers on the main run loop, sending a selector to a target.
#include <memory>
#include <string>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/Foundation/NSObject.h"

class NSTimer : public NSObject {
public:
    // scheduledTimerWithTimeInterval:target:selector:userInfo:repeats: — the timer holds its
    // target until it has fired (for a one-shot timer) or been invalidated.
    static std::shared_ptr<NSTimer> scheduledTimerWithTimeInterval(NSTimeInterval interval, const id& target,
        const std::string& selector, const id& userInfo, bool repeats);

    NS_CLASS(NSTimer)
    void invalidate();
    bool isValid() const { return _valid; }
    NSTimeInterval timeInterval() const { return _interval; }
    const id& userInfo() const { return _userInfo; }

private:
    void arm();

    NSTimeInterval _interval = 0;
    id _target;
    std::string _selector;
    id _userInfo;
    bool _repeats = false;
    bool _valid = true;
    std::uint64_t _handle = 0;
};
