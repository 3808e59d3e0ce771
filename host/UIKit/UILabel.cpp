#include "host/UIKit/UILabel.h"

#include "host/Runtime/FailureInjection.h"
#include "host/UIKit/TextMetrics.h"

std::shared_ptr<UILabel> UILabel::initWithFrame(CGRect frame) {
    if (host::FailureInjection::shouldFail("UILabel")) return nullptr;
    auto label = std::make_shared<UILabel>();
    label->setFrame(frame);
    return label;
}

CGSize UILabel::intrinsicContentSize() const {
    if (!_text || _text->empty()) return {0, 0};
    return host::TextMetrics::sizeOfText(*_text, _font, _numberOfLines);
}
