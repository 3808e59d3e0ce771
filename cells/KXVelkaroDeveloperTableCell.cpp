#include "cells/KXVelkaroDeveloperTableCell.h"

#include "cells/KXVelkaroDeviceIdiom.h"
#include "host/CoreFoundation/CFURL.h"
#include "host/Preferences/PSClassFactories.h"
#include "host/Foundation/NSString.h"
#include "host/Foundation/NSURL.h"
#include "host/UIKit/NSLayoutConstraint.h"
#include "host/UIKit/UIApplication.h"

namespace {

constexpr const char* kReuseIdentifier = "KXVelkaroDeveloperTableCell";
constexpr const char* kFontName = "Helvetica Light";
// Escaped in a user name besides the characters that are never legal in an address.
constexpr const char* kEscapedInUserName = ":/=,!$& '()*+;[]@#?";

struct Client {
    const char* probe;          // the address asked with canOpenURL:
    const char* profilePrefix;  // followed directly by the escaped user name
};

// In probe order; the first installed one opens the profile.
constexpr Client kClients[] = {
    {"aphelion://", "aphelion://profile/"},
    {"tweetbot://", "tweetbot:///user_profile/"},
    {"twitterrific://", "twitterrific:///profile?screen_name="},
    {"tweetings://", "tweetings:///user?screen_name="},
    {"twitter://", "twitter://user?screen_name="},
};

}  // namespace

std::shared_ptr<KXVelkaroDeveloperTableCell> KXVelkaroDeveloperTableCell::initWithStyle(NSInteger style,
    const std::string& reuseIdentifier, const std::shared_ptr<PSSpecifier>& specifier) {
    auto cell = std::make_shared<KXVelkaroDeveloperTableCell>();
    auto property = [&](const char* key) { return specifier ? specifier->propertyForKey(key).text() : std::nullopt; };
    // A missing name formats as "(null)", as %@ prints nil: no such file, so no picture.
    const auto image = UIImage::initWithContentsOfFile(
        NSString::stringWithFormat(kImagePathFormat, property("devImage").value_or("(null)")));
    cell->_user = property("twitterUsername");
    return cell->initWithDevName(property("devName"), property("realName"), property("job"), image);
}

std::shared_ptr<KXVelkaroDeveloperTableCell> KXVelkaroDeveloperTableCell::initWithDevName(
    const std::optional<std::string>& devName, const std::optional<std::string>& realName,
    const std::optional<std::string>& jobSubtitle, const std::shared_ptr<UIImage>& devImage) {
    if (!initialiseBase(UITableViewCellStyleDefault, kReuseIdentifier, nullptr)) return nullptr;

    setDevImageView(UIImageView::initWithImage(devImage));
    if (const auto& picture = devImageView()) {
        picture->setFrame({{10, 15}, {70, 70}});
        picture->layer().setShadowColor(UIColor::blackColor().CGColor());
        picture->layer().setShadowOffset({0, 1});
        picture->layer().setShadowOpacity(0.2f);
        picture->layer().setShadowRadius(1);
        picture->setClipsToBounds(false);
        addSubview(picture);
    }

    const auto self = std::static_pointer_cast<UIView>(shared_from_this());
    setDevNameLabel(addLabel(devName, UIColor::darkGrayColor(), KXVelkaroDeviceIsPad() ? 30 : 20));
    addEqualConstraint(devNameLabel(), NSLayoutAttributeLeft, devImageView(), NSLayoutAttributeRight, 30);
    addEqualConstraint(devNameLabel(), NSLayoutAttributeCenterY, self, NSLayoutAttributeCenterY, -20);

    setRealNameLabel(addLabel(realName, UIColor::grayColor(), 15));
    addEqualConstraint(realNameLabel(), NSLayoutAttributeLeft, devImageView(), NSLayoutAttributeRight, 30);
    addEqualConstraint(realNameLabel(), NSLayoutAttributeTop, devNameLabel(), NSLayoutAttributeBottom, 0);

    setJobLabel(addLabel(jobSubtitle, UIColor::grayColor(), 12));
    addEqualConstraint(jobLabel(), NSLayoutAttributeLeft, devImageView(), NSLayoutAttributeRight, 30);
    addEqualConstraint(jobLabel(), NSLayoutAttributeTop, realNameLabel(), NSLayoutAttributeBottom, 5);

    return std::static_pointer_cast<KXVelkaroDeveloperTableCell>(self);
}

std::shared_ptr<UILabel> KXVelkaroDeveloperTableCell::addLabel(const std::optional<std::string>& text,
    const UIColor& color, CGFloat fontSize) {
    auto label = UILabel::initWithFrame(CGRectZero);
    if (!label) return nullptr;
    label->setText(text);
    label->setBackgroundColor(UIColor::clearColor());
    label->setTextColor(color);
    label->setFont(UIFont::fontWithName(kFontName, fontSize));
    label->setTextAlignment(NSTextAlignmentCenter);
    addSubview(label);
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    return label;
}

void KXVelkaroDeveloperTableCell::addEqualConstraint(const std::shared_ptr<UIView>& item, NSLayoutAttribute attribute,
    const std::shared_ptr<UIView>& toItem, NSLayoutAttribute toAttribute, CGFloat constant) {
    if (!item || !toItem) return;
    addConstraint(
        NSLayoutConstraint::constraintWithItem(item, attribute, NSLayoutRelationEqual, toItem, toAttribute, 1, constant));
}

void KXVelkaroDeveloperTableCell::setSelectionStyle(NSInteger style) {
    PSTableCell::setSelectionStyle(UITableViewCellSelectionStyleBlue);
}

void KXVelkaroDeveloperTableCell::setSelected(bool selected, bool animated) {
    if (selected) openProfile();
    else PSTableCell::setSelected(selected, animated);
}

void KXVelkaroDeveloperTableCell::openProfile() const {
    // A row without a user name has nothing to link to.
    if (!_user) return;
    const auto escaped =
        CFURLCreateStringByAddingPercentEscapes(*_user, std::nullopt, kEscapedInUserName, kCFStringEncodingUTF8);
    if (!escaped) return;
    auto app = UIApplication::sharedApplication();
    std::string prefix = kWebProfilePrefix;
    for (const Client& client : kClients) {
        if (app->canOpenURL(NSURL::URLWithString(client.probe))) {
            prefix = client.profilePrefix;
            break;
        }
    }
    app->openURL(NSURL::URLWithString(prefix + *escaped));
}

static host::RegisterCell<KXVelkaroDeveloperTableCell> registration;
