#include "host/UIKit/UIImageView.h"

#include "host/Runtime/FailureInjection.h"

std::shared_ptr<UIImageView> UIImageView::initWithImage(const std::shared_ptr<UIImage>& image) {
    if (host::FailureInjection::shouldFail("UIImageView")) return nullptr;
    auto view = std::make_shared<UIImageView>();
    view->_image = image;
    view->setFrame({{0, 0}, image ? image->size() : CGSize{0, 0}});
    return view;
}
