#include "simulator/Window.h"

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <thread>

#include "host/Runtime/CHandle.h"
#include "host/Runtime/DeviceProfile.h"
#include "simulator/DisplayProbe.h"
#include "simulator/Renderer.h"
#include "simulator/SettingsApp.h"
#include "simulator/WindowGeometry.h"
#include "simulator/WindowInput.h"

namespace sim {
namespace {

// One open window: SDL's window, renderer and streaming texture, and the Cairo image the
// screen is drawn into before it is uploaded. The image is as big as the screen is drawn, which
// follows the window's size.
class Session {
public:
    // `scale` 0 fits the display; `anyDriver` lets a test run draw where nobody sees it.
    bool open(const SettingsApp& app, double scale, bool anyDriver, std::string& why) {
        // The window's own framebuffer is enough to show a finished frame; without this SDL may
        // back it with a GL renderer (a software rasteriser with a JIT where there is no GPU).
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (!startVideo(anyDriver, why)) return false;
        _screen = app.screenSize();
        SDL_Rect bounds{0, 0, 1920, 1080};
        if (SDL_GetDisplayUsableBounds(0, &bounds) != 0) bounds = {0, 0, 1920, 1080};
        const WindowGeometry::Rect usable{bounds.x, bounds.y, bounds.w, bounds.h};
        _openScale = scale > 0 ? scale : WindowGeometry::fitScale(_screen, usable);
        const auto placed = WindowGeometry::place(_screen, _openScale, usable);
        const auto& profile = host::DeviceProfile::current();
        const std::string title = "Velkaro Settings \xe2\x80\x94 " + profile.displayName + " (" + app.options().profile + ")";
        _window.reset(SDL_CreateWindow(title.c_str(), placed.x, placed.y, placed.width, placed.height, SDL_WINDOW_RESIZABLE));
        if (!_window) {
            why = std::string("cannot create the window: ") + SDL_GetError();
            return false;
        }
        SDL_SetWindowMinimumSize(_window.get(), WindowGeometry::pixels(_screen.width, WindowGeometry::kMinScale),
            WindowGeometry::pixels(_screen.height, WindowGeometry::kMinScale));
        // The frame is drawn by Cairo already; the software renderer only copies it to the
        // window's framebuffer.
        _renderer.reset(SDL_CreateRenderer(_window.get(), -1, SDL_RENDERER_SOFTWARE));
        if (!_renderer) _renderer.reset(SDL_CreateRenderer(_window.get(), -1, 0));
        if (!_renderer) {
            why = std::string("cannot draw into the window: ") + SDL_GetError();
            return false;
        }
        return fit(why);
    }

    // Fits the screen into the window's current size: a new image where the drawn size changed.
    bool fit(std::string& why) {
        int width = 0, height = 0;
        SDL_GetWindowSize(_window.get(), &width, &height);
        _viewport = WindowGeometry::letterbox(_screen, width, height, _openScale);
        const int w = _viewport.content.width, h = _viewport.content.height;
        if (_image && cairo_image_surface_get_width(_image.get()) == w && cairo_image_surface_get_height(_image.get()) == h)
            return true;
        // Cairo's ARGB32 is a native-endian 32-bit word, which is SDL's ARGB8888.
        _texture.reset(SDL_CreateTexture(_renderer.get(), SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h));
        _image.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
        if (!_texture || cairo_surface_status(_image.get()) != CAIRO_STATUS_SUCCESS) {
            why = std::string("cannot make the window's image: ") + SDL_GetError();
            return false;
        }
        return true;
    }

    void drawFrame(const SettingsApp& app) {
        {
            const host::CHandle<cairo_t, cairo_destroy> cr(cairo_create(_image.get()));
            Renderer::draw(app, cr.get(), _viewport.scale);
        }
        cairo_surface_flush(_image.get());
        SDL_UpdateTexture(_texture.get(), nullptr, cairo_image_surface_get_data(_image.get()),
            cairo_image_surface_get_stride(_image.get()));
        SDL_SetRenderDrawColor(_renderer.get(), 32, 32, 32, 255);  // the bars beside the screen
        SDL_RenderClear(_renderer.get());
        const auto& c = _viewport.content;
        const SDL_Rect target{c.x, c.y, c.width, c.height};
        SDL_RenderCopy(_renderer.get(), _texture.get(), nullptr, &target);
        SDL_RenderPresent(_renderer.get());
    }

    // A press and a release at a point of the screen, as the mouse would send them.
    void pushClick(CGPoint point) const {
        for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            SDL_Event event{};
            event.type = type;
            event.button.windowID = SDL_GetWindowID(_window.get());
            event.button.button = SDL_BUTTON_LEFT;
            event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            event.button.clicks = 1;
            event.button.x = _viewport.content.x + static_cast<Sint32>(std::lround(point.x * _viewport.scale));
            event.button.y = _viewport.content.y + static_cast<Sint32>(std::lround(point.y * _viewport.scale));
            SDL_PushEvent(&event);
        }
    }
    void resize(int width, int height) const { SDL_SetWindowSize(_window.get(), width, height); }

    cairo_surface_t* image() const { return _image.get(); }
    const WindowGeometry::Viewport& viewport() const { return _viewport; }

private:
    // Starts SDL's video on a display that answers. A driver the user chose through
    // SDL_VIDEODRIVER is tried as it is; otherwise only the drivers whose server answered the
    // probe, so SDL cannot block on a dead address or fall back to drawing nowhere.
    bool startVideo(bool anyDriver, std::string& why) {
        std::vector<std::string> drivers{""};
        DisplayProbe::Result probe;
        if (const char* chosen = std::getenv("SDL_VIDEODRIVER"); !chosen || !*chosen) {
            probe = DisplayProbe::probe();
            if (probe.drivers.empty()) {
                why = probe.why;
                return false;
            }
            drivers = probe.drivers;
        }
        for (const auto& driver : drivers) {
            if (!driver.empty()) SDL_SetHint(SDL_HINT_VIDEODRIVER, driver.c_str());
            const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
            SDL_ResetHint(SDL_HINT_VIDEODRIVER);
            if (started) break;
            why = std::string("cannot open a window: ") + SDL_GetError();
        }
        probe.xConnection.reset();
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
        _video.initialised = true;
        const char* driver = SDL_GetCurrentVideoDriver();
        if (!anyDriver && !DisplayProbe::isVisibleDriver(driver ? driver : "")) {
            why = std::string("SDL's \"") + (driver ? driver : "") + "\" video driver shows nothing on a screen";
            return false;
        }
        return true;
    }

    // SDL's video subsystem: declared first, so it is shut down after every object below is gone.
    struct VideoSubsystem {
        bool initialised = false;
        ~VideoSubsystem() {
            if (initialised) SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
    } _video;
    host::CHandle<SDL_Window, SDL_DestroyWindow> _window;
    host::CHandle<SDL_Renderer, SDL_DestroyRenderer> _renderer;
    host::CHandle<SDL_Texture, SDL_DestroyTexture> _texture;
    host::CHandle<cairo_surface_t, cairo_surface_destroy> _image;
    CGSize _screen;
    double _openScale = 1;
    WindowGeometry::Viewport _viewport;
};

int fail(const std::string& why, std::string* error) {
    if (error) *error = why;
    else std::cerr << "velkaro-sim: " << why << "\n";
    return 1;
}

// Runs every queued event through the window and its input; false once the user has asked to
// quit, or the window can no longer be drawn (with the reason in `why`).
bool pumpEvents(Session& session, SettingsApp& app, WindowInput& input, int& snapshots, std::string& why) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            if (!session.fit(why)) return false;
            input.setViewport(session.viewport());
        }
        switch (input.handle(event)) {
            case WindowInput::Request::Quit:
                return false;
            case WindowInput::Request::Snapshot: {
                const std::filesystem::path path = "velkaro-snapshot-" + std::to_string(++snapshots) + ".png";
                std::string failed;
                if (Renderer::writePNG(app, path, Window::kSnapshotScale, &failed))
                    std::cout << "Snapshot written to " << std::filesystem::absolute(path).string() << std::endl;
                else
                    std::cerr << "velkaro-sim: " << failed << std::endl;
                break;
            }
            case WindowInput::Request::None:
                break;
        }
    }
    return true;
}

}  // namespace

int Window::run(SettingsApp& app, double scale, std::string* error, const std::function<void()>& opened) {
    Session session;
    std::string why;
    if (!session.open(app, scale, false, why)) return fail(why, error);
    if (opened) opened();
    WindowInput input(app, session.viewport());
    int snapshots = 0;
    using Clock = std::chrono::steady_clock;
    const auto frame = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(kFrameSeconds));
    auto next = Clock::now();
    while (pumpEvents(session, app, input, snapshots, why)) {
        app.advance(0);  // the timers and animations that are due on the steady clock
        session.drawFrame(app);
        next += frame;
        const auto now = Clock::now();
        if (next < now) next = now;  // a slow frame does not make the next ones rush
        std::this_thread::sleep_until(next);
    }
    return why.empty() ? 0 : fail(why, error);
}

int Window::runFrames(SettingsApp& app, int frames, const std::vector<Click>& clicks, const std::vector<Resize>& resizes,
    FrameObserver onFrame, std::string* error) {
    // A test run leaves signals to its runner, so a time limit can still stop it.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    Session session;
    std::string why;
    if (!session.open(app, 0, true, why)) return fail(why, error);
    WindowInput input(app, session.viewport());
    int snapshots = 0;
    for (int i = 0; i < frames; ++i) {
        for (const auto& resize : resizes)
            if (resize.frame == i) session.resize(resize.width, resize.height);
        // A resize comes back as an event; clicks after it follow the new size.
        if (!pumpEvents(session, app, input, snapshots, why)) break;
        for (const auto& click : clicks)
            if (click.frame == i) session.pushClick(click.point);
        if (!pumpEvents(session, app, input, snapshots, why)) break;
        app.advance(0);
        session.drawFrame(app);
        if (onFrame) onFrame(i, session.image(), session.viewport().scale);
    }
    return why.empty() ? 0 : fail(why, error);
}

}  // namespace sim
