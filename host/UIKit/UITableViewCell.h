#pragma once
// A table cell: an optional image at the left, a title label, an optional detail label, an
// accessory, a selection style, and a content view. Subclasses add their own subviews.
#include <memory>
#include <string>

#include "host/UIKit/UIImageView.h"
#include "host/UIKit/UILabel.h"
#include "host/UIKit/UIView.h"

enum UITableViewCellStyle : NSInteger { UITableViewCellStyleDefault = 0, UITableViewCellStyleValue1 = 1 };
enum UITableViewCellSelectionStyle : NSInteger {
    UITableViewCellSelectionStyleNone = 0,
    UITableViewCellSelectionStyleBlue = 1,
    UITableViewCellSelectionStyleGray = 2,
};
enum UITableViewCellAccessoryType : NSInteger {
    UITableViewCellAccessoryNone = 0,
    UITableViewCellAccessoryDisclosureIndicator = 1,
    UITableViewCellAccessoryCheckmark = 3,
};

class UITableViewCell : public UIView {
public:
    UITableViewCell();
    NS_CLASS(UITableViewCell)

    const std::shared_ptr<UILabel>& textLabel() const { return _textLabel; }
    const std::shared_ptr<UILabel>& detailTextLabel() const { return _detailTextLabel; }
    // The image at the row's left (an icon); the title moves right of it while it has an image.
    const std::shared_ptr<UIImageView>& imageView() const { return _imageView; }
    void setImage(std::shared_ptr<UIImage> image);
    const std::shared_ptr<UIView>& contentView() const { return _contentView; }
    const std::string& reuseIdentifier() const { return _reuseIdentifier; }
    UITableViewCellStyle style() const { return _style; }

    virtual void setSelectionStyle(NSInteger style) { _selectionStyle = style; }
    NSInteger selectionStyle() const { return _selectionStyle; }
    virtual void setSelected(bool selected, bool animated) { _selected = selected; }
    bool isSelected() const { return _selected; }
    UITableViewCellAccessoryType accessoryType() const { return _accessoryType; }
    void setAccessoryType(UITableViewCellAccessoryType type) { _accessoryType = type; }
    const std::shared_ptr<UIView>& accessoryView() const { return _accessoryView; }
    void setAccessoryView(std::shared_ptr<UIView> view);

    void setFrame(CGRect frame) override;  // keeps the content view and labels laid out

protected:
    // The base initialiser's work: style and reuse identifier.
    void configure(UITableViewCellStyle style, std::string reuseIdentifier);

private:
    // Swaps the content view and accessory across the cell, for a right-to-left layout.
    void mirrorLayout();

    std::shared_ptr<UIView> _contentView;
    std::shared_ptr<UILabel> _textLabel, _detailTextLabel;
    std::shared_ptr<UIImageView> _imageView;
    std::shared_ptr<UIView> _accessoryView;
    std::string _reuseIdentifier;
    UITableViewCellStyle _style = UITableViewCellStyleDefault;
    NSInteger _selectionStyle = UITableViewCellSelectionStyleBlue;
    bool _selected = false;
    UITableViewCellAccessoryType _accessoryType = UITableViewCellAccessoryNone;
};
