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

#include "simulator/ViewPainter.h"
#include "simulator/Window.h"
#include "simulator/WindowInput.h"
#include "tests/simulator/SimulatorFixture.h"

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
    ~ScopedEnv() { _old ? setenv(_name, _old->c_str(), 1) : unsetenv(_name); }

private:
    const char* _name;
    std::optional<std::string> _old;
};

// The X server to test on: the one DISPLAY names, or an Xvfb started for the test and stopped after it.
class XServer {
public:
    XServer() {
        if (const char* display = std::getenv("DISPLAY"); display && *display) _ok = true;
        for (int n = 140; n < 160 && !_ok && _pid >= 0; ++n) {
            const std::string name = ":" + std::to_string(n), socket = "/tmp/.X11-unix/X" + std::to_string(n);
            if (std::filesystem::exists(socket) || std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock")) continue;
            if ((_pid = fork()) == 0) {
                freopen("/dev/null", "w", stdout);
                freopen("/dev/null", "w", stderr);
                execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", nullptr);
                _exit(127);
            }
            for (int waited = 0; _pid > 0 && waited < 100 && !(_ok = std::filesystem::exists(socket)); ++waited) {
                if (waitpid(_pid, nullptr, WNOHANG) == _pid) _pid = 0;  // no Xvfb, or the display was taken
                else std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            if (_ok) _display.emplace("DISPLAY", name);
        }
    }
    ~XServer() {
        _display.reset();
        if (_pid > 0) kill(_pid, SIGTERM), waitpid(_pid, nullptr, 0);
    }
    bool ok() const { return _ok; }

private:
    bool _ok = false;
    pid_t _pid = 0;
    std::optional<ScopedEnv> _display;
};

class WindowTest : public SimulatorFixture {
protected:
    void SetUp() override {
        SimulatorFixture::SetUp();
        restart();
    }
    bool openEntryPopup(const std::string& title) {
        return app->openBundleEntry() && app->tapRow(rowOf("Configuration")) && app->tapValueButton(rowOf(title));
    }
    static SDL_Event keyDown(SDL_Keycode key, Uint16 modifiers = KMOD_NONE) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN, e.key.keysym.sym = key, e.key.keysym.mod = modifiers;
        return e;
    }
    static SDL_Event mouse(Uint32 type, CGPoint p) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION) e.motion.x = Sint32(p.x), e.motion.y = Sint32(p.y), e.motion.state = SDL_BUTTON_LMASK;
        else e.button.button = SDL_BUTTON_LEFT, e.button.x = Sint32(p.x), e.button.y = Sint32(p.y);
        return e;
    }
    // A press and a release at `from` and `to`, through the points between.
    static void drag(WindowInput& input, CGPoint from, std::vector<CGPoint> via, CGPoint to) {
        input.handle(mouse(SDL_MOUSEBUTTONDOWN, from));
        for (const auto& p : via) input.handle(mouse(SDL_MOUSEMOTION, p));
        input.handle(mouse(SDL_MOUSEBUTTONUP, to));
    }
};

// Three frames on SDL's offscreen driver, then on X, with a click on the bundle's entry before the
// second: the bar turns black in that frame.
TEST_F(WindowTest, ClickOpensTheBundleInTheNextFrame) {
    for (const char* driver : {"offscreen", "x11"}) {
        std::optional<XServer> server;
        if (std::string(driver) == "x11" && !server.emplace().ok()) GTEST_SKIP() << "no X server could be started";
        ScopedEnv video("SDL_VIDEODRIVER", driver);
        restart();
        const CGRect entry = app->visiblePage()->table()->sections().at(0).rows.at(0).rect;
        std::vector<Rgb> bars;
        std::string why;
        const int rc = Window::runFrames(*app, 3, {{1, {entry.midX(), ScreenLayout::kContentTop + entry.midY()}}},
            [&](int, cairo_surface_t* frame, double scale) { bars.push_back(ScreenImage(frame, scale).at(kBarPoint)); }, &why);
        ASSERT_EQ(rc, 0) << driver << ": " << why;
        EXPECT_EQ(bars, (std::vector<Rgb>{{247, 247, 247}, {10, 10, 10}, {10, 10, 10}})) << driver;
        EXPECT_TRUE(app->canGoBack()) << driver;
    }
}

// Keys follow the number pad: digits go in, minus and point only through the keypad toolbar's
// keys where the row's range has them.
TEST_F(WindowTest, KeysTypeIntoTheEntryPopupAsTheKeypadAllows) {
    const std::tuple<const char*, std::vector<SDL_Keycode>, std::string> cases[] = {
        {"Artwork offset", {SDLK_1, SDLK_KP_2, SDLK_MINUS}, "-12"},                         // Negate only
        {"Artwork offset", {SDLK_4, SDLK_PERIOD, SDLK_5}, "45"},                            // no Point for -50..50
        {"Artwork offset", {SDLK_7, SDLK_KP_MINUS, SDLK_KP_MINUS, SDLK_BACKSPACE}, ""},  // 7, -7, 7, deleted
        {"Corner radius", {SDLK_3, SDLK_MINUS, SDLK_KP_PERIOD, SDLK_5}, "3.5"},             // Point only for 0..10
    };
    for (const auto& [row, keys, text] : cases) {
        restart();
        ASSERT_TRUE(openEntryPopup(row)) << row;
        WindowInput input(*app, 1);
        for (SDL_Keycode k : keys) input.handle(keyDown(k));
        EXPECT_EQ(app->fieldText(), text) << row;
    }
}

// Return enters, Escape cancels; with no pop-up, Escape, Alt+Left and Backspace go back; F12 and
// Ctrl+S ask for a snapshot.
TEST_F(WindowTest, KeysAnswerPopupsAndGoBack) {
    ASSERT_TRUE(openEntryPopup("Artwork offset"));
    WindowInput input(*app, 1);
    for (SDL_Keycode k : {SDLK_2, SDLK_MINUS, SDLK_RETURN}) input.handle(keyDown(k));
    EXPECT_FALSE(app->topAlert());
    EXPECT_FLOAT_EQ(slider("Artwork offset")->value(), -2);
    ASSERT_TRUE(app->tapValueButton(rowOf("Artwork offset")));
    for (SDL_Keycode k : {SDLK_9, SDLK_ESCAPE}) input.handle(keyDown(k));
    EXPECT_FALSE(app->topAlert());
    EXPECT_FLOAT_EQ(slider("Artwork offset")->value(), -2) << "cancelled, nothing changes";

    EXPECT_EQ(input.handle(keyDown(SDLK_F12)), WindowInput::Request::Snapshot);
    EXPECT_EQ(input.handle(keyDown(SDLK_s, KMOD_LCTRL)), WindowInput::Request::Snapshot);
    input.handle(keyDown(SDLK_ESCAPE));
    EXPECT_EQ(app->visibleController()->className(), "VelkaroListController");
    input.handle(keyDown(SDLK_LEFT, KMOD_LALT));
    EXPECT_EQ(app->visibleController(), app->topPage());
    input.handle(keyDown(SDLK_BACKSPACE));
    EXPECT_EQ(app->visibleController(), app->topPage()) << "nothing is left to go back to";
}

// A click that stays put taps; dragging a slider's thumb moves it; dragging elsewhere scrolls, as
// the wheel does, and is not a tap.
TEST_F(WindowTest, MouseDragsSlidersScrollsAndTaps) {
    ASSERT_TRUE(app->openBundleEntry());
    WindowInput input(*app, 1);
    const auto row = app->visiblePage()->table()->sections().at(1).rows.at(0).rect;  // "Configuration"
    const CGPoint tap{row.midX(), ScreenLayout::kContentTop + row.midY()};
    drag(input, tap, {}, {tap.x + 2, tap.y + 1});
    ASSERT_EQ(app->visibleController()->className(), "KXVelkaroConfigurationListController");

    const auto offset = slider("Artwork offset");
    const auto track = sliderRect("Artwork offset");
    ASSERT_TRUE(offset && track);
    const CGFloat travel = track->width() - 2 * sim::ViewPainter::kSliderThumbRadius;
    const CGPoint thumb{track->minX() + sim::ViewPainter::sliderThumbCentreX(*offset) + 3, track->midY()};
    input.handle(mouse(SDL_MOUSEBUTTONDOWN, thumb));
    EXPECT_FLOAT_EQ(offset->value(), 0) << "taking the thumb does not move it";
    for (Uint32 type : {SDL_MOUSEMOTION, SDL_MOUSEBUTTONUP}) input.handle(mouse(type, {thumb.x + travel / 4, thumb.y + 10}));
    EXPECT_NEAR(offset->value(), 25, 1);

    auto table = app->visiblePage()->table();
    drag(input, {340, 400}, {{340, 350}, {340, 300}}, {340, 300});  // right of the sliders
    EXPECT_DOUBLE_EQ(table->contentOffset(), 100);
    SDL_Event wheel{SDL_MOUSEWHEEL};
    wheel.wheel.y = 1;
    input.handle(wheel);
    EXPECT_DOUBLE_EQ(table->contentOffset(), 100 - WindowInput::kWheelStep);
    EXPECT_EQ(app->visibleController()->className(), "KXVelkaroConfigurationListController");
}

// Clicks on the drawn number pad type digits and delete; the blank key does nothing.
TEST_F(WindowTest, ClicksOnTheNumberPadType) {
    ASSERT_TRUE(openEntryPopup("Artwork offset"));
    WindowInput input(*app, 1);
    const CGSize size = app->screenSize();
    const CGFloat keyWidth = size.width / 3, keyHeight = ScreenLayout::kKeyboardHeight / 4;
    // 7, 0, the blank key, 3, delete, 5
    for (const auto& [column, row] : std::vector<std::pair<int, int>>{{0, 2}, {1, 3}, {0, 3}, {2, 0}, {2, 3}, {1, 1}}) {
        const CGPoint p{keyWidth * (column + 0.5), size.height - ScreenLayout::kKeyboardHeight + keyHeight * (row + 0.5)};
        drag(input, p, {}, p);
    }
    EXPECT_EQ(app->fieldText(), "705");
}

TEST(WindowScaleTest, DoublesOnlyWhereTheWindowFits) {
    EXPECT_EQ(Window::scaleFor({375, 667}, 1920, 1080), 1);
    EXPECT_EQ(Window::scaleFor({375, 667}, 2560, 1400), 2);
    EXPECT_EQ(Window::scaleFor({768, 1024}, 1920, 1080), 1);
    EXPECT_EQ(Window::scaleFor({320, 480}, 1920, 1040), 2);
}

}  // namespace
