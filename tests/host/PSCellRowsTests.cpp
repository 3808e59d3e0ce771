// The host's cells for the row types of other bundles' page lists (segments, text fields, buttons,
// static text, spinners): each row gets its cell, shows its stored value, and stores what the
// user chooses or types through a plain host page.
#include <gtest/gtest.h>

#include "host/Preferences/PSEditableTableCell.h"
#include "host/Preferences/PSListController.h"
#include "host/Preferences/PSSegmentTableCell.h"
#include "host/Preferences/PSSpinnerTableCell.h"
#include "host/Preferences/PreferenceStore.h"
#include "host/UIKit/UITableView.h"
#include "tests/support/DeviceFixture.h"

namespace {

constexpr const char* kDomain = "com.example.cells";

// A host page showing one page list of the bundle, its own object as the rows' target.
class ListPage : public PSListController {
public:
    explicit ListPage(std::string plist) : _plist(std::move(plist)) {}
    std::shared_ptr<PSSpecifierArray> specifiers() override {
        if (!_specifiers) _specifiers = loadSpecifiersFromPlistName(_plist, shared_from_this());
        return _specifiers;
    }
    void respondTo(const std::string& selector, SelectorHandler handler) { exposeSelector(selector, std::move(handler)); }

private:
    std::string _plist;
};

// One row of every kind, in the old text format (values are strings there).
const char* kRows = R"({ title = Cells; items = (
    { cell = PSGroupCell; label = Cells; },
    { cell = PSSegmentCell; label = Quality; key = quality; defaults = com.example.cells; default = 1;
      validTitles = (Low, Medium, High); validValues = (0, 1, 2); PostNotification = com.example.cells/changed; },
    { cell = PSEditTextCell; label = Name; key = name; defaults = com.example.cells; placeholder = "Your name";
      autoCaps = words; autoCorrection = NO; },
    { cell = PSEditTextCell; label = Phone; key = phone; defaults = com.example.cells; keyboard = phone; default = 555; },
    { cell = PSSecureEditTextCell; label = Password; key = password; defaults = com.example.cells; default = "päss"; },
    { cell = PSButtonCell; label = Reset; action = "resetAll:"; },
    { cell = PSStaticTextCell; label = "Version 1.0"; },
    { cell = PSSpinnerCell; label = Loading; },
    { cell = PSFancyCell; label = Odd; }
); })";

class CellRowsTest : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        useWritableBundleCopy();
    }
    // Shows `rows` as the page list "Cells" and returns the page.
    std::shared_ptr<ListPage> show(const std::string& rows = kRows) {
        writeFile(std::string(kBundlePath) + "/Cells.plist", rows);
        auto page = std::make_shared<ListPage>("Cells");
        _root = showPage(page);
        return page;
    }
    template <class Cell> std::shared_ptr<Cell> cell(const std::shared_ptr<ListPage>& page, NSInteger row) {
        return std::dynamic_pointer_cast<Cell>(page->table()->cellForRowAtIndexPath({0, row}));
    }
    static PlistValue stored(const std::string& key) { return host::PreferenceStore::valueForKey(kDomain, key); }

private:
    std::shared_ptr<PSRootController> _root;
};

// Each row type gets its own cell showing the stored value or the row's default.
TEST_F(CellRowsTest, EveryRowTypeShowsItsValueInItsCell) {
    ASSERT_TRUE(host::PreferenceStore::setValue(kDomain, "quality", PlistValue("2")));
    auto page = show();
    auto quality = cell<PSSegmentTableCell>(page, 0);
    ASSERT_TRUE(quality);
    EXPECT_EQ(quality->control()->titles(), (std::vector<std::string>{"Low", "Medium", "High"}));
    EXPECT_EQ(quality->control()->selectedSegmentIndex(), 2) << "the stored value, not the default";
    EXPECT_TRUE(quality->textLabel()->isHidden());

    struct Field { NSInteger row; const char* text; const char* shown; const char* placeholder; UIKeyboardType keyboard; bool secure; };
    const Field fields[] = {
        {1, "", "", "Your name", UIKeyboardTypeDefault, false},
        {2, "555", "555", "", UIKeyboardTypePhonePad, false},
        {3, "p\u00e4ss", "\u2022\u2022\u2022\u2022", "", UIKeyboardTypeDefault, true},  // a bullet per character
    };
    for (const auto& f : fields) {
        SCOPED_TRACE(f.row);
        auto row = cell<PSEditableTableCell>(page, f.row);
        ASSERT_TRUE(row);
        const auto& field = row->textField();
        EXPECT_EQ(std::tuple(field->text(), field->displayedText(), field->placeholder(), field->keyboardType(), field->isSecureTextEntry()),
            std::tuple(f.text, f.shown, f.placeholder, f.keyboard, f.secure));
        // The field lies right of the row's name, inside the row.
        EXPECT_GT(field->frame().minX(), row->textLabel()->frame().maxX());
        EXPECT_LE(field->frame().maxX(), row->frame().width());
    }
    auto name = cell<PSEditableTableCell>(page, 1)->textField();
    EXPECT_EQ(std::tuple(name->autocapitalizationType(), name->autocorrectionType()),
        std::tuple(UITextAutocapitalizationTypeWords, UITextAutocorrectionTypeNo));

    auto button = cell<PSTableCell>(page, 4);
    EXPECT_EQ(button->textLabel()->textColor(), UIColor::systemBlueColor());
    EXPECT_NE(button->selectionStyle(), UITableViewCellSelectionStyleNone);
    // Static text, and a cell type the host does not know, is a label that cannot be selected.
    for (NSInteger row : {5, 7})
        EXPECT_EQ(std::tuple(cell<PSTableCell>(page, row)->selectionStyle(), cell<PSTableCell>(page, row)->accessoryType()),
            std::tuple(UITableViewCellSelectionStyleNone, UITableViewCellAccessoryNone)) << row;
    auto spinner = cell<PSSpinnerTableCell>(page, 6);
    ASSERT_TRUE(spinner);
    EXPECT_EQ(std::tuple(spinner->textLabel()->text(), spinner->spinner()->isAnimating(), spinner->spinner()->isHidden(), spinner->accessoryView()),
        std::tuple(std::optional<std::string>("Loading"), true, false, std::static_pointer_cast<UIView>(spinner->spinner())));
}

// A segment's value is found whatever numeric type stored it; a value no segment has selects none.
TEST_F(CellRowsTest, SegmentSelectionFollowsTheStoredValue) {
    const std::string page = "<plist><dict><key>items</key><array><dict><key>cell</key><string>PSSegmentCell</string>"
        "<key>key</key><string>mode</string><key>defaults</key><string>com.example.cells</string>"
        "<key>validTitles</key><array><string>A</string><string>B</string></array>"
        "<key>validValues</key><array><integer>1</integer><integer>2</integer></array></dict></array></dict></plist>";
    const std::pair<PlistValue, NSInteger> cases[] = {
        {PlistValue(2.0), 1}, {PlistValue(1), 0}, {PlistValue(7), UISegmentedControlNoSegment}, {PlistValue("1"), UISegmentedControlNoSegment},
    };
    for (const auto& [value, selected] : cases) {
        freshDevice();
        useWritableBundleCopy();
        ASSERT_TRUE(host::PreferenceStore::setValue(kDomain, "mode", value));
        auto row = cell<PSSegmentTableCell>(show(page), 0);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->control()->selectedSegmentIndex(), selected) << value.description();
    }
}

// Choosing a segment stores its value and posts the row's notification; typing is stored when
// editing ends, once, and a field left unchanged stores nothing.
TEST_F(CellRowsTest, ChoicesAndTypingAreStoredThroughThePage) {
    auto page = show();
    auto quality = cell<PSSegmentTableCell>(page, 0)->control();
    quality->tapSegment(2);
    EXPECT_EQ(stored("quality"), PlistValue("2"));
    ASSERT_EQ(events("notification").size(), 1u);
    EXPECT_EQ(events("notification")[0].field("name"), "com.example.cells/changed");
    quality->tapSegment(2);
    EXPECT_EQ(events("preference").size(), 1u) << "the segment already chosen changes nothing";

    auto name = cell<PSEditableTableCell>(page, 1)->textField();
    ASSERT_TRUE(name->becomeFirstResponder());
    name->typeText("Ann");
    EXPECT_TRUE(stored("name").isNil()) << "nothing is stored while typing";
    EXPECT_TRUE(name->pressReturn());
    EXPECT_EQ(std::tuple(name->isFirstResponder(), stored("name")), std::tuple(false, PlistValue("Ann")));

    // The keyboard leaving (another field taking it) ends editing too.
    auto phone = cell<PSEditableTableCell>(page, 2)->textField();
    phone->becomeFirstResponder();
    EXPECT_EQ(phone->typeText("+1-2"), 3u) << "the phone pad has no '-'";
    phone->resignFirstResponder();
    EXPECT_EQ(stored("phone"), PlistValue("555+12"));

    const auto before = events("preference").size();
    name->becomeFirstResponder();
    name->pressReturn();
    EXPECT_EQ(events("preference").size(), before) << "an unchanged field stores nothing";
    // The page reloading shows what was stored.
    page->reloadSpecifiers();
    EXPECT_EQ(cell<PSEditableTableCell>(page, 1)->textField()->text(), "Ann");
}

// A button row sends its action to the row's target while the row is highlighted; a plain host
// page that lacks the action gives one diagnostic and nothing else.
TEST_F(CellRowsTest, ButtonRowsSendTheirActionOrSayItIsMissing) {
    auto page = show();
    host::EventLog::shared().clear();  // the odd row's note from loading
    const NSIndexPath reset{0, 4};
    page->table()->selectRowAtIndexPath(reset);
    ASSERT_EQ(diagnostics().size(), 1u);
    EXPECT_NE(diagnostics()[0].find("resetAll:"), std::string::npos) << diagnostics()[0];
    EXPECT_FALSE(page->table()->cellForRowAtIndexPath(reset)->isSelected());

    bool highlighted = false;
    page->respondTo("resetAll:", [&](const id&) { highlighted = page->table()->cellForRowAtIndexPath(reset)->isSelected(); });
    page->table()->selectRowAtIndexPath(reset);
    EXPECT_TRUE(highlighted);
    EXPECT_EQ(diagnostics().size(), 1u);
}

}  // namespace
