// Rows of other bundles' kinds on screen: segmented rows, text fields, spinners drawn as the
// platform draws them; clicks and window typing reach them; the script's segment and edit
// commands drive them, and the dump shows their state.
#include <SDL.h>

#include <cstdio>

#include "host/Preferences/PSEditableTableCell.h"
#include "host/Preferences/PSSegmentTableCell.h"
#include "host/Preferences/PSSpinnerTableCell.h"
#include "simulator/WindowInput.h"
#include "tests/simulator/SimulatorFixture.h"

namespace {

using simtest::Rgb;
using simtest::ScreenImage;

// The page the configuration row opens, replaced by one row of each kind.
const char* kRows = R"({ items = (
    { cell = PSGroupCell; label = Rows; },
    { cell = PSSegmentCell; label = Quality; key = quality; defaults = com.mornvale.velkaro; default = 1;
      validTitles = (Low, Medium, High); validValues = (0, 1, 2); },
    { cell = PSEditTextCell; label = Name; key = name; defaults = com.mornvale.velkaro; placeholder = "Your name"; },
    { cell = PSEditTextCell; label = Phone; key = phone; defaults = com.mornvale.velkaro; keyboard = phone; },
    { cell = PSSecureEditTextCell; label = Password; key = password; defaults = com.mornvale.velkaro; default = "abc"; },
    { cell = PSButtonCell; label = Reset; action = "resetAll:"; },
    { cell = PSStaticTextCell; label = "Version 1.0"; },
    { cell = PSSpinnerCell; label = Loading; }
); })";

class PageRowsTest : public SimulatorFixture {
protected:
    void SetUp() override {
        SimulatorFixture::SetUp();
        writeFile(writableBundle() / "VelkaroConfiguration.plist", kRows);
        open();
        tap("Configuration");
        app->finishTransitions();
    }
    template <class Cell> std::shared_ptr<Cell> cell(const std::string& title) {
        return std::dynamic_pointer_cast<Cell>(app->visiblePage()->table()->cellForRowAtIndexPath(rowOf(title)));
    }
    // The screen rect of a view in the row titled `title`.
    CGRect screenRect(const std::shared_ptr<UIView>& view) {
        auto found = viewRect([&](const std::shared_ptr<UITableViewCell>& c) -> std::shared_ptr<UIView> {
            for (auto v = view; v; v = v->superview())
                if (v == c) return view;
            return nullptr;
        });
        EXPECT_TRUE(found);
        return found.value_or(CGRectZero);
    }
};

// The window's tint (which the segments take), the placeholder's grey and the spinner's.
const Rgb kTint{0, 122, 255}, kPlaceholder{199, 199, 205}, kSpokes{128, 128, 128};

// The segmented row is outlined in the tint with the chosen segment filled; an empty field shows
// its placeholder and a typed one its text; a field being edited shows the caret; the spinner
// draws its grey spokes.
TEST_F(PageRowsTest, RowsAreDrawnWithTheirState) {
    auto quality = cell<PSSegmentTableCell>("Quality")->control();
    auto name = cell<PSEditableTableCell>("Name")->textField();
    const CGRect segments = screenRect(quality);
    const auto segment = [&](NSInteger i) {
        const CGRect r = quality->segmentRect(i);
        return CGRectMake(segments.minX() + r.minX() + 3, segments.minY() + 3, r.width() - 6, r.height() - 6);
    };
    const CGRect field = screenRect(name);
    const CGRect spinner = screenRect(cell<PSSpinnerTableCell>("Loading")->spinner());
    {
        ScreenImage screen(*app);
        const double area = segment(1).width() * segment(1).height() * screen.scale() * screen.scale();
        EXPECT_GT(screen.count(segment(1), kTint), 0.6 * area) << "the chosen segment is filled";
        EXPECT_GT(screen.count(segment(1), Rgb{255, 255, 255}), 0) << "with its title in white";
        EXPECT_LT(screen.count(segment(0), kTint), 0.2 * area);
        EXPECT_EQ(screen.at({segments.minX() + 0.25, segments.midY()}), kTint) << "the outline";
        EXPECT_GT(screen.count(field, kPlaceholder), 0);
        EXPECT_GT(screen.count(spinner, kSpokes), 0);
        EXPECT_EQ(screen.count(field, kTint), 0) << "no caret before editing";
    }
    ASSERT_TRUE(app->beginEditing(rowOf("Name")));
    ASSERT_TRUE(app->typeText("Ann"));
    ScreenImage screen(*app);
    EXPECT_EQ(screen.count(field, kPlaceholder), 0);
    EXPECT_GT(screen.count(field, Rgb{0, 0, 0}), 0) << "the typed text";
    EXPECT_GT(screen.count(field, kTint), 20) << "the caret";
}

// A click on a segment chooses it; a click on a text row starts editing its field, the window's
// typing goes into it (as its keyboard allows), and Return, a click elsewhere or going back ends
// the editing and stores the text.
TEST_F(PageRowsTest, ClicksAndWindowTypingReachTheRows) {
    sim::WindowInput input(*app, 1);
    const auto send = [&](Uint32 type, const std::function<void(SDL_Event&)>& fill) {
        SDL_Event e{};
        e.type = type;
        fill(e);
        input.handle(e);
    };
    const auto click = [&](CGPoint p) {
        for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP})
            send(type, [&](SDL_Event& e) { e.button.button = SDL_BUTTON_LEFT, e.button.x = Sint32(p.x), e.button.y = Sint32(p.y); });
    };
    const auto typeText = [&](const char* text) {
        send(SDL_TEXTINPUT, [&](SDL_Event& e) { std::snprintf(e.text.text, sizeof e.text.text, "%s", text); });
    };
    const auto key = [&](SDL_Keycode k) { send(SDL_KEYDOWN, [&](SDL_Event& e) { e.key.keysym.sym = k; }); };
    auto quality = cell<PSSegmentTableCell>("Quality")->control();
    const CGRect segments = screenRect(quality);
    const auto segmentCentre = [&](NSInteger i) {
        const CGRect r = quality->segmentRect(i);
        return CGPoint{segments.minX() + r.midX(), segments.midY()};
    };
    click(segmentCentre(2));
    EXPECT_EQ(quality->selectedSegmentIndex(), 2);
    EXPECT_EQ(stored("quality"), PlistValue("2"));

    // A click on the row's name edits its field too.
    auto name = cell<PSEditableTableCell>("Name")->textField();
    const CGRect nameRow = screenRect(cell<PSEditableTableCell>("Name"));
    click({nameRow.minX() + 20, nameRow.midY()});
    ASSERT_EQ(app->editingField(), name);
    typeText("Anne");
    key(SDLK_BACKSPACE);
    EXPECT_EQ(name->text(), "Ann");
    EXPECT_TRUE(stored("name").isNil()) << "stored when editing ends";
    key(SDLK_RETURN);
    EXPECT_FALSE(app->editingField());
    EXPECT_EQ(stored("name"), PlistValue("Ann"));
    EXPECT_EQ(app->visiblePage()->className(), "KXVelkaroConfigurationListController") << "keys went to the field, not back";

    auto phone = cell<PSEditableTableCell>("Phone")->textField();
    const CGPoint phoneField{screenRect(phone).midX(), screenRect(phone).midY()};
    click(phoneField);
    typeText("12#");
    click(segmentCentre(0));
    EXPECT_FALSE(phone->isFirstResponder());
    EXPECT_EQ(stored("phone"), PlistValue("12#"));
    EXPECT_EQ(stored("quality"), PlistValue("0"));

    click(phoneField);
    typeText("3");
    ASSERT_TRUE(app->goBack());
    EXPECT_EQ(stored("phone"), PlistValue("12#3"));
}

// The script reaches the rows by their titles, refuses what the row cannot take, and the dump
// shows the state of each.
TEST_F(PageRowsTest, ScriptCommandsAndDumpShowTheRows) {
    const auto run = runScript("segment Quality high\nedit Name \"Zoë\"\nedit Password \"secret\"\nedit Phone \"+1 555\"\n"
                               "segment Quality Ultra\nsegment Name Low\ntap Phone\ntype 99\nreturn\ndump\n");
    EXPECT_EQ(run.failures, 3) << run.err;
    EXPECT_EQ(run.err, "line 4: the field's keyboard lacks some of the characters: typed 5 of 6\n"
                       "line 5: row \"Quality\" has no segment \"Ultra\" (it has: Low, Medium, High)\n"
                       "line 6: row \"Name\" is not a segmented row\n");
    // The phone field keeps what its pad could type, then more.
    for (const auto& [key, value] : {std::pair{"quality", "2"}, {"name", "Zoë"}, {"password", "secret"}, {"phone", "+155599"}})
        EXPECT_EQ(stored(key), PlistValue(value)) << key;
    for (const char* line : {R"(PSSegmentTableCell "Quality" segments: "Low" "Medium" ["High"])", R"(PSEditableTableCell "Name" field="Zoë")",
             R"(PSEditableTableCell "Password" field="••••••" (secure))", R"(PSEditableTableCell "Phone" field="+155599" keyboard=phone)",
             R"(PSSpinnerTableCell "Loading" spinner (spinning))"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
}

}  // namespace
