#pragma once
// The simulated Settings application: it sets up the device (root folder, profile, the staged
// bundle mounted at its device path), loads the bundle's module, and holds the navigation the
// Settings host builds: its own top page listing the installed bundle, and the bundle's pages
// pushed from there. Every user action (tap a row, a bar button, an alert button; type; go back;
// wait) goes through here, exactly as the host drives the pane. Drawing reads this model.
// ModuleLoader loads the bundle's module, ScreenHitTester finds what a tap at a point reaches, and
// SettingsAppActions.cpp holds the actions.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/UIKit/NSIndexPath.h"
#include "simulator/PressTarget.h"
#include "simulator/Transitions.h"

class UIViewController;
class UINavigationController;
class UINavigationBar;
class UIAlertView;
class UITextField;
class UITableViewCell;
class UISwitch;
class UITextView;
class PSListController;
class PSRootController;

namespace host {
struct Event;
}

namespace sim {

class SettingsApp {
public:
    struct Options {
        std::filesystem::path deviceRoot;       // the simulated device's file system (created if missing)
        std::filesystem::path bundleDirectory;  // the staged Velkaro.bundle (module + resources)
        // A page list to preview in place of the bundle, with the host's own cells and no module;
        // empty: the bundle.
        std::filesystem::path pageFile;
        std::string profile = "iphone6s";       // a built-in device profile
        std::vector<std::string> languages;     // preferred languages; empty: the profile's
        std::optional<std::set<std::string>> installedSchemes;  // URL schemes; empty optional: the profile's
        std::optional<bool> twitterAccount;     // share-sheet service available
        std::optional<bool> mailAccount;
        bool manualClock = false;               // scripts and tests: time moves only when told
    };

    explicit SettingsApp(Options options);
    ~SettingsApp();

    // Sets up the device and loads the bundle (or reads the previewed page list). False, with a
    // reason, when the bundle cannot be loaded or the page list cannot be read or is not one (the
    // app then still shows its top page, with the reason as a note).
    bool start(std::string* error = nullptr);

    // ---- what is on screen
    CGSize screenSize() const;
    std::shared_ptr<PSRootController> rootController() const;       // the outer navigation controller
    std::shared_ptr<UINavigationBar> visibleBar() const;            // the bar drawn at the top
    std::shared_ptr<UIViewController> visibleController() const;    // the page shown (innermost top)
    std::shared_ptr<PSListController> visiblePage() const;          // the same, when it is a page
    bool canGoBack() const;
    std::optional<std::string> backTitle() const;  // the previous page's title ("" untitled); see BackButton
    std::shared_ptr<UIViewController> presentedController() const;  // a sheet or composer on top, if any
    std::shared_ptr<UIAlertView> topAlert() const;                  // the front alert, if any
    std::optional<std::string> note() const;                        // "Opened <address>", for a few seconds
    NSInteger statusBarStyle() const;
    double now() const;

    // ---- what a user does
    bool openBundleEntry();                         // the pane's (or the previewed page's) row on the top page
    bool tapRow(NSIndexPath indexPath);             // in the visible page
    std::optional<NSIndexPath> rowTitled(const std::string& title) const;  // the first row whose title label shows `title`
    bool tapValueButton(NSIndexPath indexPath);     // a slider row's right end
    bool toggleSwitch(NSIndexPath indexPath);
    bool slide(NSIndexPath indexPath, float value);
    bool tapRightBarButton();
    bool goBack();
    bool pressAlertButton(const std::string& title);  // in the front alert
    bool chooseSegment(NSIndexPath indexPath, NSInteger segment);  // a segment of a segmented row
    bool beginEditing(NSIndexPath indexPath);         // a tap into a text row's field: the keyboard comes up
    bool endEditing();                                // Return in the row's field being edited: its text is stored
    std::shared_ptr<UITextField> editingField() const;  // the visible page's field being edited, if any
    // The share sheet's or mail composer's text view that has the keyboard, with no alert in front.
    std::shared_ptr<UITextView> composingView() const;
    // The letters keyboard's shift: on, the next letter key tapped types a capital.
    bool keyboardShifted() const;
    void setKeyboardShifted(bool shifted);
    // Typing goes into the front alert's field, else into the sheet's or composer's text being
    // edited, else into the row's field being edited, as its keyboard allows.
    bool typeText(const std::string& text);
    bool pressKeypadKey(const std::string& title);    // a key of the keypad toolbar ("Negate", "Point")
    bool deleteBackward();
    bool finishSheet(bool done);                      // the share sheet: post (true) or cancel
    bool finishMail(bool send);                       // the mail composer: send or cancel
    // A tap at a point on the screen (points, top-left origin): whatever is there.
    bool tapAt(CGPoint point);
    void scroll(CGFloat dy);
    void advance(double seconds);   // manual clock: run what falls due; steady clock: run what is due

    // ---- more of what is on screen, and where (points, top-left origin)
    struct Hotspot {
        std::string title;  // the button's text: "Enter", "Cancel", "Post", "Send"
        CGRect frame;
    };
    std::shared_ptr<PSListController> topPage() const;                        // the app's own first page
    std::shared_ptr<UINavigationController> innermostNavigationController() const;  // holds the visible page
    std::optional<std::string> fieldText() const;    // the front alert's text field, if it has one
    CGRect alertFrame() const;                       // the front alert's box (zero without one)
    std::vector<Hotspot> alertButtons() const;       // its buttons, left to right / top to bottom
    std::vector<Hotspot> presentedButtons() const;   // the sheet's or composer's two buttons
    CGRect presentedFrame() const;                   // the sheet's card, or the composer's screen

    // ---- what moves: the model is at the end state at once; these say what the screen shows on
    // the way there, on the app's clock
    const Transitions& transitions() const;
    // Something that holds up actions (a push, a sheet, an alert, the keyboard, a switch) still moves.
    bool isTransitioning() const;
    // Manual clock: lets time run until the running transitions have ended, as a UI test runner
    // waits before it acts. The steady clock moves on its own.
    void finishTransitions();
    // How much of the grey selection a row shows (0..1): held down, fading after a tap, or kept
    // on the page a tap pushed from until the user comes back to it.
    double rowSelection(const UITableViewCell& cell) const;
    // Where a switch's thumb is drawn: 0 off, 1 on, in between while it slides.
    double switchPosition(const UISwitch& control) const;
    // A finger down on the screen: what it would tap shows pressed until endPress().
    void pressAt(CGPoint point);
    void endPress();
    const std::optional<PressTarget>& press() const;

    // ---- the device and the loaded bundle
    const Options& options() const;
    const std::string& principalClassName() const;   // from the bundle's Info.plist
    const std::optional<std::string>& loadError() const;  // why the bundle could not be loaded
    // The preferred languages (Options::languages) the pane, or the previewed page, has no
    // localization for, and the one it shows instead; nothing when each has one.
    struct LanguageFallback {
        std::vector<std::string> missing, available;
        std::string shown;
    };
    std::optional<LanguageFallback> languageFallback() const;
    // Sets up or removes the share sheet's and the mail composer's accounts while running.
    void setTwitterAccount(bool available);
    void setMailAccount(bool available);
    // Every host event as it happens (after the app has seen it), e.g. to write a log.
    void addEventObserver(std::function<void(const host::Event&)> observer);

private:
    // Where typing goes when no sheet or composer text takes it (composingView): the front
    // alert's field, else (with no sheet or composer in front) the visible page's field being
    // edited.
    std::shared_ptr<UITextField> typingField() const;

    // Starts the transitions that what just happened calls for; every action ends with it.
    void noteScreenChanges();
    class Watch;

    struct State;
    std::unique_ptr<State> _state;
};

}  // namespace sim
