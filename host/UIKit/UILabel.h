#pragma once
// A label: text in a font and colour, aligned, on one or more lines. Its natural size comes from
// real font metrics.
#include <memory>
#include <optional>
#include <string>

#include "host/UIKit/UIFont.h"
#include "host/UIKit/UIView.h"

enum NSTextAlignment : NSInteger {
    NSTextAlignmentLeft = 0,
    NSTextAlignmentCenter = 1,
    NSTextAlignmentRight = 2,
};

class UILabel : public UIView {
public:
    static std::shared_ptr<UILabel> initWithFrame(CGRect frame);
    NS_CLASS(UILabel)

    const std::optional<std::string>& text() const { return _text; }
    void setText(std::optional<std::string> text) { _text = std::move(text); }
    const UIFont& font() const { return _font; }
    void setFont(std::optional<UIFont> font) { _font = font ? *font : UIFont::systemFontOfSize(17); }
    const UIColor& textColor() const { return _textColor; }
    void setTextColor(std::optional<UIColor> color) { _textColor = color ? *color : UIColor::blackColor(); }
    NSTextAlignment textAlignment() const { return _textAlignment; }
    void setTextAlignment(NSTextAlignment alignment) { _textAlignment = alignment; }
    NSInteger numberOfLines() const { return _numberOfLines; }
    void setNumberOfLines(NSInteger lines) { _numberOfLines = lines; }

    CGSize intrinsicContentSize() const override;

private:
    std::optional<std::string> _text;
    UIFont _font = UIFont::systemFontOfSize(17);
    UIColor _textColor = UIColor::blackColor();
    NSTextAlignment _textAlignment = NSTextAlignmentLeft;
    NSInteger _numberOfLines = 1;
};
