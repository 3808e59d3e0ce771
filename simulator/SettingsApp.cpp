#include "simulator/SettingsApp.h"

#include <algorithm>
#include <limits>

#include "host/Preferences/PSClassFactories.h"
#include "host/Foundation/NSBundle.h"
#include "host/Runtime/RunLoop.h"
#include "host/Preferences/PSRootController.h"
#include "host/Social/SLComposeViewController.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/DeviceRoot.h"
#include "host/Runtime/EventLog.h"
#include "host/Runtime/PseudoLanguage.h"
#include "host/Runtime/SimulatedDevice.h"
#include "host/UIKit/UIAlertView.h"
#include "host/UIKit/UIApplication.h"
#include "host/UIKit/UINavigationController.h"
#include "host/UIKit/UISwitch.h"
#include "host/UIKit/UIToolbar.h"
#include "simulator/ModalLayout.h"
#include "simulator/ScreenColumns.h"
#include "simulator/ScreenLayout.h"
#include "simulator/SettingsTopPage.h"
#include "simulator/ModuleLoader.h"
#include "simulator/SettingsAppState.h"

namespace sim {
namespace {

constexpr const char* kBundleDevicePath = "/Library/PreferenceBundles/Velkaro.bundle";
constexpr double kNoteSeconds = 3;

// What the simulator says on screen about an event the pane itself leaves silent: where a link
// or a mail went, and why a sheet or composer did not come up.
std::optional<std::string> noteFor(const host::Event& event, const std::filesystem::path& deviceRoot) {
    if (event.kind == "openURL")
        return event.field("opened") == "true" ? "Opened " + event.field("url")
                                               : "No app on this device opens " + event.field("url");
    if (event.kind == "mail")
        return "Mail sent, saved in the outbox as " + (deviceRoot / event.field("path").substr(1)).string();
    if (event.field("result") != "false") return std::nullopt;
    if (event.kind == "isAvailableForServiceType")
        return "No share sheet: the device has no microblogging account (--twitter-account, or the script's "
               "\"account twitter on\")";
    if (event.kind == "canSendMail")
        return "No mail composer: the device has no mail account (run without --no-mail-account, or the script's "
               "\"account mail on\")";
    return std::nullopt;
}

}  // namespace

SettingsApp::SettingsApp(Options options) : _state(std::make_unique<State>()) { _state->options = std::move(options); }

SettingsApp::~SettingsApp() = default;

bool SettingsApp::start(std::string* error) {
    auto& s = *_state;
    const auto fail = [&](std::string why) {
        s.loadError = why;
        s.showNote(why, std::numeric_limits<double>::infinity());
        host::EventLog::shared().diagnostic(why);
        if (error) *error = why;
        return false;
    };

    // A fresh device: its folders, the bundle mounted at its device path (none for a preview: no
    // module), the profile, the clock.
    const auto& o = s.options;
    const bool previewing = !o.pageFile.empty();
    s.device.emplace(host::SimulatedDevice::Options{.deviceRoot = o.deviceRoot,
        .bundleDirectory = previewing ? std::filesystem::path() : o.bundleDirectory,
        .bundleDevicePath = kBundleDevicePath, .profile = o.profile, .languages = o.languages,
        .installedSchemes = o.installedSchemes, .twitterAccount = o.twitterAccount, .mailAccount = o.mailAccount,
        .manualClock = o.manualClock, .listener = [this](const host::Event& event) {
            if (auto text = noteFor(event, _state->options.deviceRoot)) _state->showNote(*text, kNoteSeconds);
            for (const auto& observer : _state->observers) observer(event);
        }});
    s.options.deviceRoot = s.device->root();
    s.options.bundleDirectory = s.device->options().bundleDirectory;

    // The Settings host's own navigation, with its first page.
    s.root = std::make_shared<PSRootController>();
    if (previewing) {
        std::string why;
        s.preview = PagePreview::open(o.pageFile, why);
        s.principalClass = PreviewListController::kClassName;
        s.entryName = s.preview ? s.preview->title() : o.pageFile.stem().string();
        s.topPage = SettingsTopPage::create(s.entryName, s.principalClass, [this] { openBundleEntry(); });
        s.root->pushViewController(s.topPage, false);
        fitToScreen(s.topPage, screenSize());
        noteScreenChanges();
        return s.preview ? true : fail(why);
    }
    const ModuleLoader module(kBundleDevicePath, s.options.bundleDirectory);
    s.principalClass = module.principalClass();
    if (auto name = module.bundleName()) s.entryName = *name;
    s.topPage = SettingsTopPage::create(s.entryName, s.principalClass, [this] { openBundleEntry(); });
    s.topPage->setEntryIcon(module.icon());
    s.root->pushViewController(s.topPage, false);
    fitToScreen(s.topPage, screenSize());
    noteScreenChanges();

    // The bundle's module.
    if (std::string why; !module.load(why)) return fail(why);
    return true;
}

// ---- what is on screen

CGSize SettingsApp::screenSize() const { return host::DeviceProfile::current().screenSize; }

std::shared_ptr<PSRootController> SettingsApp::rootController() const { return _state->root; }

std::shared_ptr<UINavigationController> SettingsApp::innermostNavigationController() const {
    std::shared_ptr<UINavigationController> nav = _state->root;
    while (nav) {
        auto inner = std::dynamic_pointer_cast<UINavigationController>(nav->topViewController());
        if (!inner) break;
        nav = inner;
    }
    return nav;
}

std::shared_ptr<UINavigationBar> SettingsApp::visibleBar() const {
    std::shared_ptr<UINavigationBar> bar;
    for (std::shared_ptr<UINavigationController> nav = _state->root; nav;
         nav = std::dynamic_pointer_cast<UINavigationController>(nav->topViewController()))
        if (!nav->isNavigationBarHidden()) bar = nav->navigationBar();
    return bar;
}

std::shared_ptr<UIViewController> SettingsApp::visibleController() const {
    auto nav = innermostNavigationController();
    return nav ? nav->topViewController() : nullptr;
}

std::shared_ptr<PSListController> SettingsApp::visiblePage() const {
    return std::dynamic_pointer_cast<PSListController>(visibleController());
}

std::shared_ptr<PSListController> SettingsApp::topPage() const { return _state->topPage; }

// The page going back from the visible one shows, if any. On a pad the top page is beside the
// pane in its own column, so the pane's first page has nothing to go back to.
std::shared_ptr<UIViewController> SettingsApp::State::previousPage(const std::shared_ptr<UINavigationController>& nav) const {
    if (!nav) return nullptr;
    std::shared_ptr<UIViewController> previous;
    const auto& stack = nav->viewControllers();
    if (stack.size() > 1) {
        previous = stack[stack.size() - 2];
    } else if (nav != root) {
        // The bundle's root page alone in its own navigation controller: back leads out of it.
        auto outer = nav->navigationController();
        if (outer && outer->viewControllers().size() > 1) previous = outer->viewControllers()[outer->viewControllers().size() - 2];
    }
    if (previous && previous == topPage && ScreenColumns::split()) return nullptr;
    return previous;
}

bool SettingsApp::canGoBack() const { return _state->previousPage(innermostNavigationController()) != nullptr; }

std::optional<std::string> SettingsApp::backTitle() const {
    auto previous = _state->previousPage(innermostNavigationController());
    if (!previous) return std::nullopt;
    const auto& title = previous->navigationItem()->title();
    return title.value_or("");
}

std::shared_ptr<UIViewController> SettingsApp::presentedController() const {
    std::vector<std::shared_ptr<UIViewController>> controllers;
    std::vector<std::shared_ptr<UINavigationController>> navs{_state->root};
    while (!navs.empty()) {
        auto nav = navs.back();
        navs.pop_back();
        if (!nav) continue;
        controllers.push_back(nav);
        for (const auto& c : nav->viewControllers()) {
            if (auto inner = std::dynamic_pointer_cast<UINavigationController>(c)) navs.push_back(inner);
            else controllers.push_back(c);
        }
    }
    for (const auto& c : controllers) {
        auto presented = c->presentedViewController();
        if (!presented) continue;
        while (presented->presentedViewController()) presented = presented->presentedViewController();
        return presented;
    }
    return nullptr;
}

std::shared_ptr<UIAlertView> SettingsApp::topAlert() const { return UIAlertView::topAlert(); }

std::optional<std::string> SettingsApp::note() const {
    if (!_state->noteText || now() >= _state->noteUntil) return std::nullopt;
    return _state->noteText;
}

NSInteger SettingsApp::statusBarStyle() const { return UIApplication::sharedApplication()->statusBarStyle(); }

double SettingsApp::now() const { return host::RunLoop::main().now(); }

std::optional<std::string> SettingsApp::fieldText() const {
    auto alert = topAlert();
    auto field = alert ? alert->textFieldAtIndex(0) : nullptr;
    if (!field) return std::nullopt;
    return field->text();
}

CGRect SettingsApp::alertFrame() const {
    auto alert = topAlert();
    return alert ? ModalLayout::alert(*alert, screenSize()).box : CGRectZero;
}

std::vector<SettingsApp::Hotspot> SettingsApp::alertButtons() const {
    std::vector<Hotspot> out;
    if (auto alert = topAlert())
        for (const auto& b : ModalLayout::alert(*alert, screenSize()).buttons) out.push_back({b.title, b.frame});
    return out;
}

std::vector<SettingsApp::Hotspot> SettingsApp::presentedButtons() const {
    std::vector<Hotspot> out;
    auto presented = presentedController();
    std::vector<ModalLayout::Button> buttons;
    if (std::dynamic_pointer_cast<SLComposeViewController>(presented)) buttons = ModalLayout::sheetButtons(screenSize());
    else if (presented) buttons = ModalLayout::composerButtonsOnScreen(screenSize());
    for (const auto& b : buttons) out.push_back({b.title, b.frame});
    return out;
}

CGRect SettingsApp::presentedFrame() const {
    auto presented = presentedController();
    if (!presented) return CGRectZero;
    if (std::dynamic_pointer_cast<SLComposeViewController>(presented)) return ModalLayout::sheetCard(screenSize());
    return ModalLayout::composerFrame(screenSize());
}

const SettingsApp::Options& SettingsApp::options() const { return _state->options; }
const std::string& SettingsApp::principalClassName() const { return _state->principalClass; }
const std::optional<std::string>& SettingsApp::loadError() const { return _state->loadError; }

std::optional<SettingsApp::LanguageFallback> SettingsApp::languageFallback() const {
    const auto& o = _state->options;
    auto bundle = NSBundle::bundleWithPath(o.pageFile.empty() ? kBundleDevicePath : PagePreview::kDevicePath);
    if (!bundle || bundle->localizations().empty()) return std::nullopt;
    // A language matches its own folder or one of the same language in another region (de-CH: de).
    const auto base = [](const std::string& lang) { return lang.substr(0, lang.find_first_of("-_")); };
    LanguageFallback fallback{{}, bundle->localizations(), bundle->preferredLocalization()};
    for (const auto& wanted : o.languages)
        if (!host::PseudoLanguage::named(wanted) && std::none_of(fallback.available.begin(), fallback.available.end(),
                [&](const std::string& lang) { return lang == wanted || base(lang) == base(wanted); }))
            fallback.missing.push_back(wanted);
    if (fallback.missing.empty()) return std::nullopt;
    return fallback;
}

void SettingsApp::setTwitterAccount(bool available) { host::DeviceProfile::mutableCurrent().hasTwitterAccount = available; }
void SettingsApp::setMailAccount(bool available) { host::DeviceProfile::mutableCurrent().hasMailAccount = available; }

void SettingsApp::addEventObserver(std::function<void(const host::Event&)> observer) {
    _state->observers.push_back(std::move(observer));
}

// ---- what a user does

bool SettingsApp::openBundleEntry() {
    const Watch watch(*this);
    auto& s = *_state;
    if (!s.root || topAlert() || presentedController()) return false;
    if (s.loadError) {
        s.showNote(*s.loadError, std::numeric_limits<double>::infinity());
        return false;
    }
    // Opening is from the top page only: the bundle shows once.
    if (innermostNavigationController() != s.root || s.root->topViewController() != s.topPage) return false;
    std::shared_ptr<UIViewController> page;
    if (s.preview) page = s.preview->makePage([this](const std::string& text) { _state->showNote(text, kNoteSeconds); });
    else page = host::createController(s.principalClass);
    if (!page) {
        host::EventLog::shared().diagnostic("the principal class " + s.principalClass + " could not be created");
        return false;
    }
    if (auto list = std::dynamic_pointer_cast<PSListController>(page)) list->setSpecifier(s.topPage->entry());
    if (PSRootController::nestsBundlePages()) {
        // The bundle's pages live in a navigation controller of their own, whose bar is hidden:
        // the bar two levels up is the one on screen.
        auto inner = UINavigationController::initWithRootViewController(page);
        inner->setNavigationBarHidden(true);
        s.root->pushViewController(inner, true);
    } else {
        s.root->pushViewController(page, true);
    }
    fitToScreen(page, screenSize());
    // On a pad the list beside the pane keeps the pane's row selected while the pane shows.
    if (ScreenColumns::split()) s.topPage->setEntrySelected(true);
    return true;
}

}  // namespace sim
