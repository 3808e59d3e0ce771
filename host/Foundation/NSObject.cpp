#include "host/Foundation/NSObject.h"

bool NSObject::performSelector(const std::string& selector, const std::shared_ptr<NSObject>& argument) {
    auto it = _selectorTable.find(selector);
    if (it == _selectorTable.end()) return false;
    auto keepAlive = weak_from_this().lock();  // the receiver survives its own action
    it->second(argument);
    return true;
}

bool NSObject::respondsToSelector(const std::string& selector) const { return _selectorTable.count(selector) != 0; }

void NSObject::exposeSelector(const std::string& selector, SelectorHandler handler) {
    _selectorTable[selector] = std::move(handler);
}
