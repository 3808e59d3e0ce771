#pragma once
// The banner above the root page's first section: the product name, the tagline and a thank-you
// line, grey and centred, stacked by constraints. Its size comes from the table that shows it.
#include <memory>
#include <string>

#include "host/UIKit/UILabel.h"
#include "host/UIKit/UIView.h"

class KXVelkaroCustomHeaderView : public UIView {
public:
    // init — nullptr when the platform view's initialiser gives nil; no label is built then.
    static std::shared_ptr<KXVelkaroCustomHeaderView> init();
    NS_CLASS(KXVelkaroCustomHeaderView)

    // Plain references; the labels are held as the view's subviews. The setters neither add nor
    // remove a subview.
    std::shared_ptr<UILabel> headerLabel() const { return _headerLabel.lock(); }
    void setHeaderLabel(const std::shared_ptr<UILabel>& label) { _headerLabel = label; }
    std::shared_ptr<UILabel> subHeaderLabel() const { return _subHeaderLabel.lock(); }
    void setSubHeaderLabel(const std::shared_ptr<UILabel>& label) { _subHeaderLabel = label; }
    std::shared_ptr<UILabel> randomLabel() const { return _randomLabel.lock(); }
    void setRandomLabel(const std::shared_ptr<UILabel>& label) { _randomLabel = label; }

private:
    std::weak_ptr<UILabel> _headerLabel, _subHeaderLabel, _randomLabel;
};
