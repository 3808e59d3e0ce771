#pragma once
// The cell of a numeric preference row shown as a slider. On top of the host's slider cell it
// colours the track and lays an invisible value button over the row's right end; a tap there
// opens a pop-up that asks for an exact number within the row's "min" and "max". An accepted
// number moves the slider, is stored as the row's preference, and 0.2 s later the row's
// "PostNotification" is posted for the running tweak. A refused one brings the error pop-up,
// whose "OK" opens a fresh entry pop-up.
#include <memory>
#include <optional>
#include <string>

#include "host/Preferences/PSSliderTableCell.h"
#include "host/UIKit/UIAlertView.h"
#include "host/UIKit/UILabel.h"
#include "host/UIKit/UITextField.h"

class KXVelkaroSliderCell : public PSSliderTableCell, public UIAlertViewDelegate, public UITextFieldDelegate {
public:
    // initWithStyle:reuseIdentifier:specifier: — the base always gets the default style. nullptr
    // when the base initialiser gives nil.
    static std::shared_ptr<KXVelkaroSliderCell> initWithStyle(NSInteger style, const std::string& reuseIdentifier,
        const std::shared_ptr<PSSpecifier>& specifier);
    NS_CLASS(KXVelkaroSliderCell)

    // The value button's action: shows the entry pop-up for the row's current range.
    void presentPopup();
    // The keypad toolbar's keys: toggle one leading minus sign; append a point.
    void typeMinus();
    void typePoint();

    // alertView:clickedButtonAtIndex: — answers the entry pop-up and the error pop-up.
    void clickedButtonAtIndex(const std::shared_ptr<UIAlertView>& alertView, NSInteger buttonIndex) override;

    const std::shared_ptr<UILabel>& labelText() const { return _labelText; }
    void setLabelText(std::shared_ptr<UILabel> label) { _labelText = std::move(label); }
    const std::shared_ptr<UILabel>& footerText() const { return _footerText; }
    void setFooterText(std::shared_ptr<UILabel> label) { _footerText = std::move(label); }

private:
    // The row's property, or nil when the cell has no row.
    PlistValue rowProperty(const std::string& key) const;
    // Runs 0.2 s after an acceptance: tells the running tweak the row's value changed.
    void postChangeNotification() const;

    // Copies of the row's "label" and "subtitle", taken at creation.
    std::optional<std::string> _label;
    std::optional<std::string> _footerLabel;
    // The entry pop-up most recently presented; the error pop-up is never kept here.
    std::shared_ptr<UIAlertView> alert;
    std::shared_ptr<UILabel> _labelText, _footerText;
};
