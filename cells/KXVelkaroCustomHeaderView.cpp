#include "cells/KXVelkaroCustomHeaderView.h"

#include "cells/KXVelkaroDeviceIdiom.h"
#include "host/UIKit/NSLayoutConstraint.h"
#include "host/UIKit/UIFont.h"

namespace {

constexpr const char* kFontName = "HelveticaNeue-Light";

// One line of the banner: grey and centred in the light face, added to `header` and placed by
// constraints only. A label the platform could not create is passed over, as a message to nil is.
void styleLabel(UIView& header, const std::shared_ptr<UILabel>& label, const std::string& text, CGFloat fontSize) {
    if (!label) return;
    label->setNumberOfLines(1);
    label->setFont(UIFont::fontWithName(kFontName, fontSize));
    label->setText(text);
    label->setBackgroundColor(UIColor::clearColor());
    label->setTextColor(UIColor::grayColor());
    label->setTextAlignment(NSTextAlignmentCenter);
    header.addSubview(label);
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
}

// The line's top hangs from `above`'s bottom (the header's own bottom, scaled, for the first
// line); its centre is the header's centre.
void constrainLabel(const std::shared_ptr<UIView>& header, const std::shared_ptr<UILabel>& label,
    const std::shared_ptr<UIView>& above, CGFloat multiplier, CGFloat constant) {
    if (!label) return;
    header->addConstraint(NSLayoutConstraint::constraintWithItem(label, NSLayoutAttributeTop, NSLayoutRelationEqual,
        above, NSLayoutAttributeBottom, multiplier, constant));
    header->addConstraint(NSLayoutConstraint::constraintWithItem(label, NSLayoutAttributeCenterX,
        NSLayoutRelationEqual, header, NSLayoutAttributeCenterX, 1.0, 0));
}

}  // namespace

std::shared_ptr<KXVelkaroCustomHeaderView> KXVelkaroCustomHeaderView::init() {
    auto view = std::make_shared<KXVelkaroCustomHeaderView>();
    if (!view->initialiseBase(CGRectZero)) return nullptr;

    auto title = UILabel::initWithFrame(CGRectZero);
    view->setHeaderLabel(title);
    styleLabel(*view, title, "Velkaro", KXVelkaroDeviceIsPad() ? 44 : 36);
    // One fifth of the header's height down: 28 points in the root page's 140-point header.
    constrainLabel(view, title, view, 0.2, 0);

    auto tagline = UILabel::initWithFrame(CGRectZero);
    view->setSubHeaderLabel(tagline);
    styleLabel(*view, tagline, "Beautifully Redesigned Music Controls", KXVelkaroDeviceIsPad() ? 22 : 17);
    constrainLabel(view, tagline, title, 1.0, 5);

    auto thanks = UILabel::initWithFrame(CGRectZero);
    view->setRandomLabel(thanks);
    styleLabel(*view, thanks, "Thanks for the support", 15);
    constrainLabel(view, thanks, tagline, 1.0, 5);

    return view;
}
