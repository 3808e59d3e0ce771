#include "host/UIKit/UIToolbar.h"

std::shared_ptr<UIToolbar> UIToolbar::initWithFrame(CGRect frame) {
    auto toolbar = std::make_shared<UIToolbar>();
    toolbar->setFrame(frame);
    return toolbar;
}
