#pragma once
// A modal alert: title, message, buttons (the cancel button is index 0, the first other button
// index 1), a style that may add a text field, a tag, and a delegate told which button was
// tapped. Shown alerts stack up; the host presses their buttons and types into their fields as a
// user would.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/UIKit/UITextField.h"
#include "host/UIKit/UIView.h"

class UIAlertView;

class UIAlertViewDelegate {
public:
    virtual ~UIAlertViewDelegate() = default;
    // alertView:clickedButtonAtIndex:
    virtual void clickedButtonAtIndex(const std::shared_ptr<UIAlertView>& alertView, NSInteger buttonIndex) = 0;
};

enum UIAlertViewStyle : NSInteger {
    UIAlertViewStyleDefault = 0,
    UIAlertViewStyleSecureTextInput = 1,
    UIAlertViewStylePlainTextInput = 2,
};

class UIAlertView : public UIView {
public:
    // initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:
    static std::shared_ptr<UIAlertView> initWithTitle(std::optional<std::string> title, std::optional<std::string> message,
        const std::shared_ptr<UIAlertViewDelegate>& delegate, std::optional<std::string> cancelButtonTitle,
        std::vector<std::string> otherButtonTitles);
    NS_CLASS(UIAlertView)

    const std::optional<std::string>& title() const { return _title; }
    const std::optional<std::string>& message() const { return _message; }
    std::shared_ptr<UIAlertViewDelegate> delegate() const { return _delegate.lock(); }
    NSInteger numberOfButtons() const { return NSInteger(_buttonTitles.size()); }
    std::optional<std::string> buttonTitleAtIndex(NSInteger index) const;
    NSInteger cancelButtonIndex() const { return _cancelButtonIndex; }
    UIAlertViewStyle alertViewStyle() const { return _style; }
    void setAlertViewStyle(UIAlertViewStyle style);
    // textFieldAtIndex: the style's field (index 0), or nullptr.
    std::shared_ptr<UITextField> textFieldAtIndex(NSInteger index) const;

    // show: puts the alert on screen, on top of any other.
    void show();
    bool isVisible() const { return _visible; }
    // Takes the alert off screen without telling the delegate.
    void dismissWithClickedButtonIndex(NSInteger index, bool animated);

    // A user's tap on a button: the alert goes away, then the delegate is told.
    void clickButtonAtIndex(NSInteger index);

    // The alerts on screen, bottom to top. The host holds them while they are shown.
    static const std::vector<std::shared_ptr<UIAlertView>>& visibleAlerts();
    static std::shared_ptr<UIAlertView> topAlert();

private:
    std::optional<std::string> _title, _message;
    std::weak_ptr<UIAlertViewDelegate> _delegate;
    std::vector<std::string> _buttonTitles;
    NSInteger _cancelButtonIndex = -1;
    UIAlertViewStyle _style = UIAlertViewStyleDefault;
    std::shared_ptr<UITextField> _textField;
    bool _visible = false;
};
