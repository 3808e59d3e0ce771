// The interactive window: a click on the Settings page's entry opens the bundle in the next
// frame, on SDL's offscreen driver and on a real X server (Xvfb), and at the scale of a resized
// window; without a display that shows it, the program runs the tour; and the window's input
// rules, fed as SDL events: keys into the entry pop-up, going back, dragging a slider, scrolling.
#include <gtest/gtest.h>

#include <SDL.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>

#include "simulator/ViewPainter.h"
#include "simulator/Window.h"
#include "simulator/WindowInput.h"
#include "tests/simulator/SimulatorFixture.h"
#include "tests/simulator/XServer.h"

namespace {

using sim::ScreenLayout;
using sim::Window;
using sim::WindowInput;
using simtest::Rgb;
using simtest::ScopedEnv;
using simtest::ScreenImage;
using simtest::XServer;

constexpr CGPoint kBarPoint{115, 24};

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
        SDL_Event e{SDL_KEYDOWN};
        e.key.keysym.sym = key, e.key.keysym.mod = modifiers;
        return e;
    }
    static SDL_Event mouse(Uint32 type, CGPoint p) {
        SDL_Event e{type};
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

// Frames on SDL's offscreen driver, then on X, with a click on the bundle's entry before the
// second: once the push has played, the bar is black. Offscreen the user first makes the window
// wide and short: the screen is drawn at the height's scale, centred between bars, and the click
// lands where the entry now shows.
TEST_F(WindowTest, ClickOpensTheBundleAndThePushPlaysAtTheWindowsScale) {
    for (const char* driver : {"offscreen", "x11"}) {
        SCOPED_TRACE(driver);
        const bool offscreen = std::string(driver) == "offscreen";
        std::optional<XServer> server;
        if (!offscreen && !server.emplace().ok()) GTEST_SKIP() << "no X server could be started";
        ScopedEnv video("SDL_VIDEODRIVER", driver);
        restart();
        const CGRect entry = app->visiblePage()->table()->sections().at(0).rows.at(0).rect;
        std::vector<Rgb> bars;  // of frames 0, 2 and 3: frame 1 is drawn as the push begins
        std::vector<std::pair<double, int>> drawn;  // scale, image width
        std::string why;
        // The push plays on the app's clock (here the test's): the frames after it show the pane's bar.
        const int rc = Window::runFrames(*app, 4, {{1, {entry.midX(), ScreenLayout::kContentTop + entry.midY()}}},
            offscreen ? std::vector<Window::Resize>{{1, 1200, 400}} : std::vector<Window::Resize>{},
            [&](int i, cairo_surface_t* frame, double scale) {
                drawn.emplace_back(scale, cairo_image_surface_get_width(frame));
                if (i != 1) bars.push_back(ScreenImage(frame, scale).at(kBarPoint));
                else app->advance(0.4);
            }, &why);
        ASSERT_EQ(rc, 0) << why;
        EXPECT_EQ(bars, (std::vector<Rgb>{{247, 247, 247}, {10, 10, 10}, {10, 10, 10}}));
        EXPECT_TRUE(app->canGoBack()) << "the click missed the entry";
        if (!offscreen) continue;
        ASSERT_EQ(drawn.size(), 4u);
        EXPECT_NE(drawn[0].first, drawn[1].first);
        EXPECT_DOUBLE_EQ(drawn[1].first, 400.0 / 667);
        EXPECT_EQ(drawn[1].second, 225);
    }
}

// With DISPLAY naming a display where nothing answers, or SDL told to draw nowhere, the program
// says why in one line and runs the tour, instead of waiting on a window nobody can see.
TEST_F(WindowTest, WithoutAVisibleDisplayTheProgramRunsTheTourAndSaysWhy) {
    const std::string dead = simtest::freeDisplay(97);
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {std::nullopt, "velkaro-sim: no display answers at DISPLAY=" + dead + " (nothing listens at /tmp/.X11-unix/X"},
        {"offscreen", "velkaro-sim: SDL's \"offscreen\" video driver shows nothing on a screen: running the tour instead\n"},
    };
    for (const auto& [driver, message] : cases) {
        const auto work = temp / ("run-" + driver.value_or("x11"));
        std::filesystem::create_directories(work);
        const std::string command = "cd '" + work.string() + "' && env -u WAYLAND_DISPLAY " + (driver ? "SDL_VIDEODRIVER=" + *driver : "-u SDL_VIDEODRIVER")
            + " DISPLAY=" + dead + " HOME=\"$PWD\" timeout -k 5 30 '" VELKARO_SIM_PROGRAM "' --device-root \"$PWD/device\" >out 2>err </dev/null";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "exit status " << WEXITSTATUS(status) << " (124: still running after 30 s)";
        const std::string err = readAll(work / "err");
        // Why, first; then, once, the device the tour ran on.
        EXPECT_TRUE(err.starts_with(message) && std::count(err.begin(), err.end(), '\n') == 2 && err.find("\nvelkaro-sim: device root ") != std::string::npos) << err;
        EXPECT_TRUE(std::filesystem::exists(work / "velkaro-tour" / "events.jsonl")) << "no tour in " << work;
    }
}

// Keys follow the number pad: digits go in, minus and point only through the keypad toolbar's
// keys where the row's range has them. Clicks on the drawn number pad's keys (column, row) type
// digits and delete; the blank key does nothing.
TEST_F(WindowTest, KeysAndClicksTypeIntoTheEntryPopupAsTheKeypadAllows) {
    const CGSize size = app->screenSize();
    const CGFloat keyWidth = size.width / 3, keyHeight = ScreenLayout::kKeyboardHeight / 4;
    const std::tuple<const char*, std::vector<SDL_Keycode>, std::vector<std::pair<int, int>>, std::string> cases[] = {
        {"Artwork offset", {SDLK_1, SDLK_KP_2, SDLK_MINUS}, {}, "-12"},                         // Negate only
        {"Artwork offset", {SDLK_4, SDLK_PERIOD, SDLK_5}, {}, "45"},                            // no Point for -50..50
        {"Artwork offset", {SDLK_7, SDLK_KP_MINUS, SDLK_KP_MINUS, SDLK_BACKSPACE}, {}, ""},  // 7, -7, 7, deleted
        {"Corner radius", {SDLK_3, SDLK_MINUS, SDLK_KP_PERIOD, SDLK_5}, {}, "3.5"},             // Point only for 0..10
        {"Artwork offset", {}, {{0, 2}, {1, 3}, {0, 3}, {2, 0}, {2, 3}, {1, 1}}, "705"},        // 7, 0, the blank key, 3, delete, 5
    };
    for (const auto& [row, keys, clicks, text] : cases) {
        restart();
        ASSERT_TRUE(openEntryPopup(row)) << row;
        WindowInput input(*app, 1);
        for (SDL_Keycode k : keys) input.handle(keyDown(k));
        for (const auto& [column, line] : clicks) {
            const CGPoint p{keyWidth * (column + 0.5), size.height - ScreenLayout::kKeyboardHeight + keyHeight * (line + 0.5)};
            drag(input, p, {}, p);
        }
        EXPECT_EQ(app->fieldText(), text) << row << " after " << keys.size() << " keys and " << clicks.size() << " clicks";
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

    for (const auto& key : {keyDown(SDLK_F12), keyDown(SDLK_s, KMOD_LCTRL)}) EXPECT_EQ(input.handle(key), WindowInput::Request::Snapshot);
    input.handle(keyDown(SDLK_ESCAPE));
    EXPECT_EQ(app->visibleController()->className(), "VelkaroListController");
    input.handle(keyDown(SDLK_LEFT, KMOD_LALT));
    EXPECT_EQ(app->visibleController(), app->topPage());
    input.handle(keyDown(SDLK_BACKSPACE));
    EXPECT_EQ(app->visibleController(), app->topPage()) << "nothing is left to go back to";
}

// A click that stays put taps; dragging a slider's thumb moves it; dragging elsewhere scrolls, as
// the wheel does, and is not a tap. On a pad all of it happens in the pane's column.
TEST_F(WindowTest, MouseDragsSlidersScrollsAndTaps) {
    for (const char* profile : {"iphone6s", "ipad-air2"}) {
        SCOPED_TRACE(profile);
        restart([&](sim::SettingsApp::Options& o) { o.profile = profile; });
        ASSERT_TRUE(app->openBundleEntry());
        WindowInput input(*app, 1);
        const CGRect column = sim::ScreenColumns::paneFrame(app->screenSize());
        const auto row = app->visiblePage()->table()->sections().at(1).rows.at(0).rect;  // "Configuration"
        const CGPoint tap{column.minX() + row.midX(), ScreenLayout::kContentTop + row.midY()};
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
        const CGFloat x = column.maxX() - 35;  // right of the sliders
        drag(input, {x, 400}, {{x, 350}, {x, 300}}, {x, 300});
        // A pad's taller table scrolls only as far as its rows reach.
        const CGFloat scrolled = std::clamp<CGFloat>(table->contentHeight() - table->frame().height(), 0, 100);
        EXPECT_DOUBLE_EQ(table->contentOffset(), scrolled);
        SDL_Event wheel{SDL_MOUSEWHEEL};
        wheel.wheel.y = 1;
        input.handle(wheel);
        EXPECT_DOUBLE_EQ(table->contentOffset(), std::max<CGFloat>(0, scrolled - WindowInput::kWheelStep));
        EXPECT_EQ(app->visibleController()->className(), "KXVelkaroConfigurationListController");
    }
}

}  // namespace
