#pragma once
// The credits row of the makers page: the maker's picture with a soft shadow and, right of it,
// display name, real name and job. Selecting the row opens the maker's profile in the first
// installed microblogging client, or on the service's mobile web site.
#include <memory>
#include <optional>
#include <string>

#include "host/Preferences/PSTableCell.h"
#include "host/UIKit/UIImage.h"
#include "host/UIKit/UIImageView.h"
#include "host/UIKit/UILabel.h"

class KXVelkaroDeveloperTableCell : public PSTableCell {
public:
    // The picture of a row's "devImage" (its base name takes the place of "%@").
    static constexpr const char* kImagePathFormat = "/Library/PreferenceBundles/Velkaro.bundle/images/makers/%@.png";
    // Opened when no client is installed; the escaped user name is the whole path.
    static constexpr const char* kWebProfilePrefix = "https://mobile.twitter.com/";

    // initWithStyle:reuseIdentifier:specifier: — reads the row's "devImage", "twitterUsername",
    // "devName", "realName" and "job". The style and reuse identifier are not used.
    static std::shared_ptr<KXVelkaroDeveloperTableCell> initWithStyle(NSInteger style, const std::string& reuseIdentifier,
        const std::shared_ptr<PSSpecifier>& specifier);

    // initWithDevName:realName:jobSubtitle:devImage: — the designated initialiser, sent to a
    // newly made cell: builds the layout, or gives nullptr when the base initialiser fails.
    std::shared_ptr<KXVelkaroDeveloperTableCell> initWithDevName(const std::optional<std::string>& devName,
        const std::optional<std::string>& realName, const std::optional<std::string>& jobSubtitle,
        const std::shared_ptr<UIImage>& devImage);

    NS_CLASS(KXVelkaroDeveloperTableCell)

    // Always the blue style (1), whatever is asked.
    void setSelectionStyle(NSInteger style) override;
    // Selecting opens the profile (and keeps the unselected look); deselecting goes to the base.
    void setSelected(bool selected, bool animated) override;

    const std::shared_ptr<UIImageView>& devImageView() const { return _devImageView; }
    void setDevImageView(std::shared_ptr<UIImageView> view) { _devImageView = std::move(view); }
    const std::shared_ptr<UILabel>& devNameLabel() const { return _devNameLabel; }
    void setDevNameLabel(std::shared_ptr<UILabel> label) { _devNameLabel = std::move(label); }
    const std::shared_ptr<UILabel>& realNameLabel() const { return _realNameLabel; }
    void setRealNameLabel(std::shared_ptr<UILabel> label) { _realNameLabel = std::move(label); }
    const std::shared_ptr<UILabel>& jobLabel() const { return _jobLabel; }
    void setJobLabel(std::shared_ptr<UILabel> label) { _jobLabel = std::move(label); }

private:
    // A centred label on the cell, laid out by constraints; nullptr when the toolkit gives none.
    std::shared_ptr<UILabel> addLabel(const std::optional<std::string>& text, const UIColor& color, CGFloat fontSize);
    // item.attribute = toItem.toAttribute + constant, added to the cell; nothing when a view is missing.
    void addEqualConstraint(const std::shared_ptr<UIView>& item, NSLayoutAttribute attribute,
        const std::shared_ptr<UIView>& toItem, NSLayoutAttribute toAttribute, CGFloat constant);
    void openProfile() const;

    std::optional<std::string> _user;
    std::shared_ptr<UIImageView> _devImageView;
    std::shared_ptr<UILabel> _devNameLabel;
    std::shared_ptr<UILabel> _realNameLabel;
    std::shared_ptr<UILabel> _jobLabel;
};
