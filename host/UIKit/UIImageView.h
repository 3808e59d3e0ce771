#pragma once
// A view showing an image; its natural size is the image's (zero without one).
#include <memory>

#include "host/UIKit/UIImage.h"
#include "host/UIKit/UIView.h"

class UIImageView : public UIView {
public:
    // initWithImage: sized to the image; an absent image gives an empty view of zero size.
    static std::shared_ptr<UIImageView> initWithImage(const std::shared_ptr<UIImage>& image);
    NS_CLASS(UIImageView)

    const std::shared_ptr<UIImage>& image() const { return _image; }
    void setImage(std::shared_ptr<UIImage> image) { _image = std::move(image); }

    CGSize intrinsicContentSize() const override { return _image ? _image->size() : CGSize{0, 0}; }

private:
    std::shared_ptr<UIImage> _image;
};
