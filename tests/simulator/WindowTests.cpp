// The interactive window: a click on the Settings page's entry opens the bundle in the next
// frame, on SDL's offscreen driver and on a real X server (Xvfb); and the window's input rules,
// fed as SDL events: keys into the entry pop-up, going back, dragging a slider, scrolling.
#include <gtest/gtest.h>

#include <SDL.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "host/Preferences/PSListController.h"
#include "host/Preferences/PSSliderTableCell.h"
#include "simulator/ScreenLayout.h"
#include "simulator/ViewPainter.h"
#include "simulator/Window.h"
#include "simulator/WindowInput.h"
#include "tests/simulator/SimulatorTestSupport.h"

namespace {

using sim::ScreenLayout;
using sim::Window;
using sim::WindowInput;
using simtest::Rgb;
using simtest::ScreenImage;

constexpr CGPoint kBarPoint{115, 24};

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : _name(name) {
        if (const char* old = std::getenv(name)) _old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (_old) setenv(_name, _old->c_str(), 1);
        else unsetenv(_name);
    }

private:
    const char* _name;
    std::optional<std::string> _old;
};

// The X server to test on: the one DISPLAY names, or an Xvfb started for the test and stopped
// after it.
class XServer {
public:
    XServer() {
        if (const char* display = std::getenv("DISPLAY"); display && *display) {
            _ok = true;
            return;
        }
        for (int n = 140; n < 160 && !_ok; ++n) {
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
            if (std::filesystem::exists(socket) || std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock")) continue;
            _pid = fork();
            if (_pid == 0) {
                freopen("/dev/null", "w", stdout);
                freopen("/dev/null", "w", stderr);
                const std::string display = ":" + std::to_string(n);
                execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", nullptr);
                _exit(127);
            }
            if (_pid < 0) break;
            for (int waited = 0; waited < 100 && !_ok; ++waited) {
                int status = 0;
                if (waitpid(_pid, &status, WNOHANG) == _pid) {
                    _pid = -1;
                    break;  // it could not start (no Xvfb, or the display was taken)
                }
                _ok = std::filesystem::exists(socket);
                if (!_ok) std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            if (_ok) _display.emplace("DISPLAY", ":" + std::to_string(n));
        }
    }
    ~XServer() {
        _display.reset();
        if (_pid > 0) {
            kill(_pid, SIGTERM);
            waitpid(_pid, nullptr, 0);
        }
    }
    bool ok() const { return _ok; }

private:
    bool _ok = false;
    pid_t _pid = -1;
    std::optional<ScopedEnv> _display;
};

class WindowTest : public simtest::AppTest {
protected:
    // The middle of the bundle's entry on the Settings page, on the screen.
    CGPoint entryPoint() const {
        const CGRect rect = app->visiblePage()->table()->sections().at(0).rows.at(0).rect;
        return {rect.midX(), ScreenLayout::kContentTop + rect.midY()};
    }

    // Three frames; the click goes in before the second. The bar turns black in that frame.
    void expectClickOpensBundle() {
        std::vector<Rgb> bars;
        std::string why;
        const int rc = Window::runFrames(*app, 3, {{1, entryPoint()}},
            [&](int, cairo_surface_t* frame, double scale) { bars.push_back(ScreenImage(frame, scale).at(kBarPoint)); }, &why);
        ASSERT_EQ(rc, 0) << why;
        ASSERT_EQ(bars.size(), 3u);
        EXPECT_EQ(bars[0], (Rgb{247, 247, 247}));
        EXPECT_EQ(bars[1], (Rgb{10, 10, 10}));
        EXPECT_EQ(bars[2], (Rgb{10, 10, 10}));
        EXPECT_TRUE(app->canGoBack());
    }

    std::shared_ptr<UISlider> slider(const std::string& key, CGRect* onScreen = nullptr) const {
        auto table = app->visiblePage()->table();
        for (const auto& section : table->sections())
            for (const auto& row : section.rows) {
                auto cell = std::dynamic_pointer_cast<PSSliderTableCell>(row.cell);
                if (!cell || cell->specifier()->propertyForKey("key").text() != key) continue;
                const CGPoint origin = cell->control()->convertPointToAncestor({0, 0}, cell.get());
                if (onScreen)
                    *onScreen = CGRectMake(origin.x, ScreenLayout::kContentTop + row.rect.minY() - table->contentOffset() + origin.y,
                        cell->control()->frame().width(), cell->control()->frame().height());
                return cell->control();
            }
        return nullptr;
    }

    std::optional<NSIndexPath> rowWithKey(const std::string& key) const {
        for (const auto& section : app->visiblePage()->table()->sections())
            for (const auto& row : section.rows) {
                auto cell = std::dynamic_pointer_cast<PSTableCell>(row.cell);
                if (cell && cell->specifier() && cell->specifier()->propertyForKey("key").text() == key) return row.indexPath;
            }
        return std::nullopt;
    }

    bool openEntryPopup(const std::string& key) {
        if (!app->openBundleEntry() || !app->tapRow(*app->rowTitled("Configuration"))) return false;
        auto row = rowWithKey(key);
        return row && app->tapValueButton(*row);
    }

    static SDL_Event keyDown(SDL_Keycode key, Uint16 modifiers = KMOD_NONE) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = key;
        e.key.keysym.mod = modifiers;
        return e;
    }
    static SDL_Event mouse(Uint32 type, CGPoint p) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.x = Sint32(p.x), e.motion.y = Sint32(p.y);
            e.motion.state = SDL_BUTTON_LMASK;
        } else {
            e.button.button = SDL_BUTTON_LEFT;
            e.button.x = Sint32(p.x), e.button.y = Sint32(p.y);
        }
        return e;
    }
};

TEST_F(WindowTest, ClickOpensTheBundleOnTheOffscreenDriver) {
    ScopedEnv driver("SDL_VIDEODRIVER", "offscreen");
    expectClickOpensBundle();
}

TEST_F(WindowTest, ClickOpensTheBundleUnderX) {
    XServer server;
    if (!server.ok()) GTEST_SKIP() << "no X server could be started";
    ScopedEnv driver("SDL_VIDEODRIVER", "x11");
    expectClickOpensBundle();
}

// Keys typed into the entry pop-up follow the number pad: digits go in, minus and point only
// through the keypad toolbar's keys where the row's range has them; Return enters the value.
TEST_F(WindowTest, KeysTypeIntoTheEntryPopupAsTheKeypadAllows) {
    struct Case {
        const char* key;                       // the row
        std::vector<SDL_Keycode> keys;
        std::string text;                      // the field afterwards
    };
    const Case cases[] = {
        {"artworkOffset", {SDLK_1, SDLK_KP_2, SDLK_MINUS}, "-12"},               // Negate only
        {"artworkOffset", {SDLK_4, SDLK_PERIOD, SDLK_5}, "45"},                 // no Point for -50..50
        {"artworkOffset", {SDLK_7, SDLK_KP_MINUS, SDLK_KP_MINUS, SDLK_BACKSPACE}, ""},  // 7, -7, 7, deleted
        {"cornerRadius", {SDLK_3, SDLK_MINUS, SDLK_KP_PERIOD, SDLK_5}, "3.5"},  // Point only for 0..10
    };
    for (const auto& c : cases) {
        restart({});
        ASSERT_TRUE(openEntryPopup(c.key)) << c.key;
        WindowInput input(*app, 1);
        for (SDL_Keycode k : c.keys) input.handle(keyDown(k));
        EXPECT_EQ(app->fieldText(), c.text) << c.key;
    }
}

// Return presses the pop-up's Enter, Escape its Cancel; with no pop-up, Escape, Backspace and
// Alt+Left go back; F12 and Ctrl+S ask for a snapshot.
TEST_F(WindowTest, KeysAnswerPopupsAndGoBack) {
    ASSERT_TRUE(openEntryPopup("artworkOffset"));
    WindowInput input(*app, 1);
    input.handle(keyDown(SDLK_2));
    input.handle(keyDown(SDLK_MINUS));
    input.handle(keyDown(SDLK_RETURN));
    EXPECT_FALSE(app->topAlert());
    EXPECT_FLOAT_EQ(slider("artworkOffset")->value(), -2);

    ASSERT_TRUE(app->tapValueButton(*rowWithKey("artworkOffset")));
    input.handle(keyDown(SDLK_9));
    input.handle(keyDown(SDLK_ESCAPE));
    EXPECT_FALSE(app->topAlert());
    EXPECT_FLOAT_EQ(slider("artworkOffset")->value(), -2) << "cancelled, nothing changes";

    EXPECT_EQ(input.handle(keyDown(SDLK_F12)), WindowInput::Request::Snapshot);
    EXPECT_EQ(input.handle(keyDown(SDLK_s, KMOD_LCTRL)), WindowInput::Request::Snapshot);
    EXPECT_EQ(app->visibleController()->className(), "KXVelkaroConfigurationListController");
    input.handle(keyDown(SDLK_ESCAPE));
    EXPECT_EQ(app->visibleController()->className(), "VelkaroListController");
    input.handle(keyDown(SDLK_LEFT, KMOD_LALT));
    EXPECT_EQ(app->visibleController(), app->topPage());
    input.handle(keyDown(SDLK_BACKSPACE));
    EXPECT_EQ(app->visibleController(), app->topPage()) << "nothing is left to go back to";
}

// Dragging a slider's thumb moves it with the pointer; dragging elsewhere on the page scrolls it,
// as the wheel does; a click that stays put taps.
TEST_F(WindowTest, MouseDragsSlidersScrollsAndTaps) {
    ASSERT_TRUE(app->openBundleEntry());
    WindowInput input(*app, 1);
    const auto row = app->visiblePage()->table()->sections().at(1).rows.at(0).rect;  // "Configuration"
    const CGPoint tap{row.midX(), ScreenLayout::kContentTop + row.midY()};
    input.handle(mouse(SDL_MOUSEBUTTONDOWN, tap));
    input.handle(mouse(SDL_MOUSEBUTTONUP, {tap.x + 2, tap.y + 1}));
    ASSERT_EQ(app->visibleController()->className(), "KXVelkaroConfigurationListController");

    CGRect track;
    auto offset = slider("artworkOffset", &track);
    ASSERT_TRUE(offset);
    const CGFloat travel = track.width() - 2 * sim::ViewPainter::kSliderThumbRadius;
    const CGPoint thumb{track.minX() + sim::ViewPainter::sliderThumbCentreX(*offset) + 3, track.midY()};
    input.handle(mouse(SDL_MOUSEBUTTONDOWN, thumb));
    EXPECT_FLOAT_EQ(offset->value(), 0) << "taking the thumb does not move it";
    input.handle(mouse(SDL_MOUSEMOTION, {thumb.x + travel / 4, thumb.y + 10}));
    input.handle(mouse(SDL_MOUSEBUTTONUP, {thumb.x + travel / 4, thumb.y + 10}));
    EXPECT_NEAR(offset->value(), 25, 1);
    EXPECT_EQ(app->visibleController()->className(), "KXVelkaroConfigurationListController");

    auto table = app->visiblePage()->table();
    // Right of the sliders, where a drag takes no thumb.
    input.handle(mouse(SDL_MOUSEBUTTONDOWN, {340, 400}));
    input.handle(mouse(SDL_MOUSEMOTION, {340, 350}));
    input.handle(mouse(SDL_MOUSEMOTION, {340, 300}));
    input.handle(mouse(SDL_MOUSEBUTTONUP, {340, 300}));
    EXPECT_DOUBLE_EQ(table->contentOffset(), 100);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = 1;
    input.handle(wheel);
    EXPECT_DOUBLE_EQ(table->contentOffset(), 100 - WindowInput::kWheelStep);
    EXPECT_EQ(app->visibleController()->className(), "KXVelkaroConfigurationListController") << "a drag is not a tap";
}

// Clicks on the drawn number pad type digits and delete, and the blank key does nothing.
TEST_F(WindowTest, ClicksOnTheNumberPadType) {
    ASSERT_TRUE(openEntryPopup("artworkOffset"));
    WindowInput input(*app, 1);
    const CGSize size = app->screenSize();
    const CGFloat keyWidth = size.width / 3, keyHeight = ScreenLayout::kKeyboardHeight / 4;
    const auto click = [&](int column, int row) {
        const CGPoint p{keyWidth * (column + 0.5), size.height - ScreenLayout::kKeyboardHeight + keyHeight * (row + 0.5)};
        input.handle(mouse(SDL_MOUSEBUTTONDOWN, p));
        input.handle(mouse(SDL_MOUSEBUTTONUP, p));
    };
    click(0, 2);  // 7
    click(1, 3);  // 0
    click(0, 3);  // the blank key
    click(2, 0);  // 3
    click(2, 3);  // delete
    click(1, 1);  // 5
    EXPECT_EQ(app->fieldText(), "705");
}

TEST(WindowScaleTest, DoublesOnlyWhereTheWindowFits) {
    EXPECT_EQ(Window::scaleFor({375, 667}, 1920, 1080), 1);
    EXPECT_EQ(Window::scaleFor({375, 667}, 2560, 1400), 2);
    EXPECT_EQ(Window::scaleFor({768, 1024}, 1920, 1080), 1);
    EXPECT_EQ(Window::scaleFor({320, 480}, 1920, 1040), 2);
}

}  // namespace
