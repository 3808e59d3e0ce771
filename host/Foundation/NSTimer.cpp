#include "host/Foundation/NSTimer.h"

#include "host/Runtime/RunLoop.h"

std::shared_ptr<NSTimer> NSTimer::scheduledTimerWithTimeInterval(NSTimeInterval interval, const id& target,
    const std::string& selector, const id& userInfo, bool repeats) {
    auto timer = std::make_shared<NSTimer>();
    timer->_interval = interval;
    timer->_target = target;
    timer->_selector = selector;
    timer->_userInfo = userInfo;
    timer->_repeats = repeats;
    timer->arm();
    return timer;
}

void NSTimer::arm() {
    // The run loop holds the timer (and through it the target) until it fires.
    auto self = std::static_pointer_cast<NSTimer>(shared_from_this());
    _handle = host::RunLoop::main().schedule(_interval, [self] {
        if (!self->_valid) return;
        auto target = self->_target;
        if (target) target->performSelector(self->_selector, self);
        if (self->_repeats && self->_valid) self->arm();
        else self->invalidate();
    });
}

void NSTimer::invalidate() {
    if (!_valid) return;
    _valid = false;
    host::RunLoop::main().cancel(_handle);
    _target.reset();
    _userInfo.reset();
}
