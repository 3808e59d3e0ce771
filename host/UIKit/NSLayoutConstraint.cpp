#include "host/UIKit/NSLayoutConstraint.h"

#include "host/UIKit/UIView.h"

std::shared_ptr<NSLayoutConstraint> NSLayoutConstraint::constraintWithItem(const std::shared_ptr<UIView>& item,
    NSLayoutAttribute attribute, NSLayoutRelation relation, const std::shared_ptr<UIView>& toItem,
    NSLayoutAttribute toAttribute, CGFloat multiplier, CGFloat constant) {
    auto c = std::make_shared<NSLayoutConstraint>();
    c->_firstItem = item;
    c->_firstAttribute = attribute;
    c->_relation = relation;
    c->_secondItem = toItem;
    c->_secondAttribute = toAttribute;
    c->_multiplier = multiplier;
    c->_constant = constant;
    return c;
}
