#pragma once
// The root object. Reference counted through std::shared_ptr; messages that the platform sends
// by selector name (target/action pairs, timers, row actions named in property lists) arrive
// through performSelector. A class makes a method reachable by name with exposeSelector, once,
// in its constructor; the table lives in the object, so the runtime needs no global state.
#include <functional>
#include <map>
#include <memory>
#include <string>

// Names a class for the runtime, in its class body: NS_CLASS(UILabel). The one spelling of the
// name that property lists, the class table and className() all use.
#define NS_CLASS(Name)                              \
    static constexpr const char* kClassName = #Name; \
    std::string className() const override { return kClassName; }

class NSObject : public std::enable_shared_from_this<NSObject> {
public:
    using SelectorHandler = std::function<void(const std::shared_ptr<NSObject>& argument)>;

    NSObject() = default;
    NSObject(const NSObject&) = delete;
    NSObject& operator=(const NSObject&) = delete;
    virtual ~NSObject() = default;

    // The class name as the platform's runtime knows it (NS_CLASS names it in each class).
    static constexpr const char* kClassName = "NSObject";
    virtual std::string className() const { return kClassName; }

    // Sends `selector` with an optional argument (the sender, for actions). Returns false, and
    // does nothing, when this object does not implement it.
    bool performSelector(const std::string& selector, const std::shared_ptr<NSObject>& argument = nullptr);
    virtual bool respondsToSelector(const std::string& selector) const;

    template <class T> std::shared_ptr<T> sharedAs() { return std::dynamic_pointer_cast<T>(shared_from_this()); }

protected:
    void exposeSelector(const std::string& selector, SelectorHandler handler);

private:
    std::map<std::string, SelectorHandler> _selectorTable;
};

using id = std::shared_ptr<NSObject>;
