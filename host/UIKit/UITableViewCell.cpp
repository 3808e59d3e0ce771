#include "host/UIKit/UITableViewCell.h"

#include <algorithm>
#include <cmath>

#include "host/UIKit/LayoutDirection.h"

namespace {
constexpr CGFloat kTextInset = 15;     // the platform's left text margin
constexpr CGFloat kAccessoryWidth = 33;
}  // namespace

UITableViewCell::UITableViewCell()
    : _contentView(std::make_shared<UIView>()),
      _textLabel(std::make_shared<UILabel>()),
      _detailTextLabel(std::make_shared<UILabel>()),
      _imageView(std::make_shared<UIImageView>()) {}

void UITableViewCell::configure(UITableViewCellStyle style, std::string reuseIdentifier) {
    _style = style;
    _reuseIdentifier = std::move(reuseIdentifier);
    if (!_contentView->superview()) {
        addSubview(_contentView);
        _contentView->addSubview(_imageView);
        _contentView->addSubview(_textLabel);
        _contentView->addSubview(_detailTextLabel);
        _detailTextLabel->setTextColor(UIColor::colorWithRed(142 / 255.0, 142 / 255.0, 147 / 255.0, 1));
        _detailTextLabel->setTextAlignment(NSTextAlignmentRight);
        // A mirrored cell reads from the right: the title on the right, the detail on the left.
        if (host::LayoutDirection::isRightToLeft()) {
            _textLabel->setTextAlignment(NSTextAlignmentRight);
            _detailTextLabel->setTextAlignment(NSTextAlignmentLeft);
        }
    }
    if (frame().size.width == 0) setFrame(CGRectMake(0, 0, 320, 44));  // the platform's starting cell frame
}

void UITableViewCell::setImage(std::shared_ptr<UIImage> image) {
    _imageView->setImage(std::move(image));
    setFrame(frame());
}

void UITableViewCell::setAccessoryView(std::shared_ptr<UIView> view) {
    if (_accessoryView) _accessoryView->removeFromSuperview();
    _accessoryView = std::move(view);
    if (_accessoryView) addSubview(_accessoryView);
    setFrame(frame());
}

void UITableViewCell::setFrame(CGRect frame) {
    UIView::setFrame(frame);
    const CGFloat w = frame.size.width, h = frame.size.height;
    CGFloat contentWidth = w;
    if (_accessoryView) {
        const CGSize a = _accessoryView->frame().size;
        _accessoryView->setFrame(CGRectMake(w - kTextInset - a.width, (h - a.height) / 2, a.width, a.height));
        contentWidth = w - kTextInset - a.width - 8;
    } else if (_accessoryType != UITableViewCellAccessoryNone) {
        contentWidth = w - kAccessoryWidth;
    }
    _contentView->setFrame(CGRectMake(0, 0, contentWidth, h));
    // An image sits at the left margin, centred, at its size in points; the title starts one
    // margin after it.
    CGFloat textX = kTextInset;
    if (const auto& image = _imageView->image()) {
        const CGSize size = image->size();
        _imageView->setFrame(CGRectMake(kTextInset, std::round((h - size.height) / 2), size.width, size.height));
        textX = kTextInset + size.width + kTextInset;
    } else {
        _imageView->setFrame(CGRectZero);
    }
    _textLabel->setFrame(CGRectMake(textX, 0, std::max<CGFloat>(0, contentWidth - textX - kTextInset), h));
    _detailTextLabel->setFrame(CGRectMake(kTextInset, 0, std::max<CGFloat>(0, contentWidth - 2 * kTextInset), h));
    if (host::LayoutDirection::isRightToLeft()) mirrorLayout();
}

void UITableViewCell::mirrorLayout() {
    // The labels keep their place inside the content view, which moves to the right.
    const CGFloat w = frame().size.width;
    _contentView->setFrame(host::LayoutDirection::flipped(_contentView->frame(), w));
    if (_accessoryView) _accessoryView->setFrame(host::LayoutDirection::flipped(_accessoryView->frame(), w));
}
