#pragma once
// A layout constraint kept as data: item.attribute = multiplier * toItem.attribute2 + constant.
#include <memory>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/Foundation/NSObject.h"

class UIView;

enum NSLayoutAttribute : NSInteger {
    NSLayoutAttributeNotAnAttribute = 0,
    NSLayoutAttributeLeft = 1,
    NSLayoutAttributeRight = 2,
    NSLayoutAttributeTop = 3,
    NSLayoutAttributeBottom = 4,
    NSLayoutAttributeLeading = 5,
    NSLayoutAttributeTrailing = 6,
    NSLayoutAttributeWidth = 7,
    NSLayoutAttributeHeight = 8,
    NSLayoutAttributeCenterX = 9,
    NSLayoutAttributeCenterY = 10,
};

enum NSLayoutRelation : NSInteger {
    NSLayoutRelationLessThanOrEqual = -1,
    NSLayoutRelationEqual = 0,
    NSLayoutRelationGreaterThanOrEqual = 1,
};

class NSLayoutConstraint : public NSObject {
public:
    // constraintWithItem:attribute:relatedBy:toItem:attribute:multiplier:constant:
    static std::shared_ptr<NSLayoutConstraint> constraintWithItem(const std::shared_ptr<UIView>& item,
        NSLayoutAttribute attribute, NSLayoutRelation relation, const std::shared_ptr<UIView>& toItem,
        NSLayoutAttribute toAttribute, CGFloat multiplier, CGFloat constant);

    NS_CLASS(NSLayoutConstraint)

    // Constraints refer to their views weakly; the views own each other through the tree.
    std::shared_ptr<UIView> firstItem() const { return _firstItem.lock(); }
    std::shared_ptr<UIView> secondItem() const { return _secondItem.lock(); }
    NSLayoutAttribute firstAttribute() const { return _firstAttribute; }
    NSLayoutAttribute secondAttribute() const { return _secondAttribute; }
    NSLayoutRelation relation() const { return _relation; }
    CGFloat multiplier() const { return _multiplier; }
    CGFloat constant() const { return _constant; }

private:
    std::weak_ptr<UIView> _firstItem, _secondItem;
    NSLayoutAttribute _firstAttribute = NSLayoutAttributeNotAnAttribute;
    NSLayoutAttribute _secondAttribute = NSLayoutAttributeNotAnAttribute;
    NSLayoutRelation _relation = NSLayoutRelationEqual;
    CGFloat _multiplier = 1, _constant = 0;
};
