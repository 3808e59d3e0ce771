#pragma once
// One row of a preference page: a display name, the row's properties as the page's property list
// gave them, and the value-to-title maps of list rows.
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/Foundation/NSObject.h"
#include "host/Foundation/PlistObject.h"

class UIImage;

// A title dictionary: stored preference values (keys) to display titles, in enumeration order.
using PSTitleDictionary = std::vector<std::pair<PlistValue, std::string>>;

enum PSCellType : long {
    PSGroupCell = 0,
    PSLinkCell,
    PSLinkListCell,
    PSListItemCell,
    PSTitleValueCell,
    PSSliderCell,
    PSSwitchCell,
    PSStaticTextCell,
    PSEditTextCell,
    PSSegmentCell,
    PSGiantIconCell,
    PSGiantCell,
    PSSecureEditTextCell,
    PSButtonCell,
    PSEditTextViewCell,
    PSSpinnerCell,
};

class PSSpecifier : public NSObject {
public:
    NS_CLASS(PSSpecifier)

    const std::optional<std::string>& name() const { return _name; }
    void setName(std::optional<std::string> name) { _name = std::move(name); }
    const std::string& identifier() const { return _identifier; }
    void setIdentifier(std::string identifier) { _identifier = std::move(identifier); }

    // propertyForKey: — nil for a missing key.
    const PlistValue& propertyForKey(const std::string& key) const;
    // setProperty:forKey: — a nil value removes the key.
    void setProperty(PlistValue value, const std::string& key);
    const PlistValue::Dictionary& properties() const { return _properties; }
    void setProperties(PlistValue::Dictionary properties) { _properties = std::move(properties); }

    const std::shared_ptr<PSTitleDictionary>& titleDictionary() const { return _titleDictionary; }
    void setTitleDictionary(std::shared_ptr<PSTitleDictionary> titles) { _titleDictionary = std::move(titles); }
    const std::shared_ptr<PSTitleDictionary>& shortTitleDictionary() const { return _shortTitleDictionary; }
    void setShortTitleDictionary(std::shared_ptr<PSTitleDictionary> titles) { _shortTitleDictionary = std::move(titles); }
    // The title shown for a stored value, or nothing.
    std::optional<std::string> titleForValue(const PlistValue& value) const;

    PSCellType cellType() const { return _cellType; }
    void setCellType(PSCellType type) { _cellType = type; }
    // The cell class, sub-page class and row action named by the property list.
    const std::string& cellClassName() const { return _cellClassName; }
    void setCellClassName(std::string name) { _cellClassName = std::move(name); }
    const std::string& detailControllerClassName() const { return _detailClassName; }
    void setDetailControllerClassName(std::string name) { _detailClassName = std::move(name); }
    const std::string& action() const { return _action; }
    void setAction(std::string selector) { _action = std::move(selector); }
    std::shared_ptr<NSObject> target() const { return _target.lock(); }
    void setTarget(const std::shared_ptr<NSObject>& target) { _target = target; }
    // The icon its cell shows at the left of the title (the "iconImage" property), or nullptr.
    const std::shared_ptr<UIImage>& iconImage() const { return _iconImage; }
    void setIconImage(std::shared_ptr<UIImage> image) { _iconImage = std::move(image); }

    // The cell type named by a property list's "cell" value; nothing for an unknown name.
    static std::optional<PSCellType> cellTypeFromString(const std::string& name);
    static const char* cellTypeName(PSCellType type);

private:
    std::optional<std::string> _name;
    std::string _identifier;
    PlistValue::Dictionary _properties;
    std::shared_ptr<PSTitleDictionary> _titleDictionary, _shortTitleDictionary;
    PSCellType _cellType = PSStaticTextCell;
    std::string _cellClassName, _detailClassName, _action;
    std::shared_ptr<UIImage> _iconImage;
    std::weak_ptr<NSObject> _target;
};

using PSSpecifierArray = std::vector<std::shared_ptr<PSSpecifier>>;
