#include "simulator/Window.h"

#include <SDL.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <thread>

#include "host/Runtime/CHandle.h"
#include "host/Runtime/DeviceProfile.h"
#include "simulator/Renderer.h"
#include "simulator/SettingsApp.h"
#include "simulator/WindowInput.h"

namespace sim {
namespace {

// One open window: SDL's window, renderer and streaming texture, and the Cairo image the
// screen is drawn into before it is uploaded.
class Session {
public:
    bool open(const SettingsApp& app, std::string& why) {
        // The window's own framebuffer is enough to show a finished frame; without this SDL may
        // back it with a GL renderer (a software rasteriser with a JIT where there is no GPU).
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            why = std::string("cannot open a window: ") + SDL_GetError();
            return false;
        }
        _video.initialised = true;
        const CGSize screen = app.screenSize();
        SDL_Rect usable{0, 0, 1920, 1080};
        if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = {0, 0, 1920, 1080};
        _scale = Window::scaleFor(screen, usable.w, usable.h);
        _width = static_cast<int>(std::ceil(screen.width * _scale));
        _height = static_cast<int>(std::ceil(screen.height * _scale));
        const auto& profile = host::DeviceProfile::current();
        const std::string title = "Velkaro Settings \xe2\x80\x94 " + profile.displayName + " (" + app.options().profile + ")";
        _window.reset(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, _width, _height, 0));
        if (!_window) {
            why = std::string("cannot create the window: ") + SDL_GetError();
            return false;
        }
        // The frame is drawn by Cairo already; the software renderer only copies it to the
        // window's framebuffer.
        _renderer.reset(SDL_CreateRenderer(_window.get(), -1, SDL_RENDERER_SOFTWARE));
        if (!_renderer) _renderer.reset(SDL_CreateRenderer(_window.get(), -1, 0));
        if (!_renderer) {
            why = std::string("cannot draw into the window: ") + SDL_GetError();
            return false;
        }
        // Cairo's ARGB32 is a native-endian 32-bit word, which is SDL's ARGB8888.
        _texture.reset(
            SDL_CreateTexture(_renderer.get(), SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, _width, _height));
        _image.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, _width, _height));
        if (!_texture || cairo_surface_status(_image.get()) != CAIRO_STATUS_SUCCESS) {
            why = std::string("cannot make the window's image: ") + SDL_GetError();
            return false;
        }
        return true;
    }

    void drawFrame(const SettingsApp& app) {
        {
            const host::CHandle<cairo_t, cairo_destroy> cr(cairo_create(_image.get()));
            Renderer::draw(app, cr.get(), _scale);
        }
        cairo_surface_flush(_image.get());
        SDL_UpdateTexture(_texture.get(), nullptr, cairo_image_surface_get_data(_image.get()),
            cairo_image_surface_get_stride(_image.get()));
        SDL_RenderClear(_renderer.get());
        SDL_RenderCopy(_renderer.get(), _texture.get(), nullptr, nullptr);
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
            event.button.x = static_cast<Sint32>(std::lround(point.x * _scale));
            event.button.y = static_cast<Sint32>(std::lround(point.y * _scale));
            SDL_PushEvent(&event);
        }
    }

    cairo_surface_t* image() const { return _image.get(); }
    int scale() const { return _scale; }

private:
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
    int _scale = 1, _width = 0, _height = 0;
};

int fail(const std::string& why, std::string* error) {
    if (error) *error = why;
    else std::cerr << "velkaro-sim: " << why << "\n";
    return 1;
}

// Runs every queued event through the input; false once the user has asked to quit.
bool pumpEvents(SettingsApp& app, WindowInput& input, int& snapshots) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (input.handle(event)) {
            case WindowInput::Request::Quit:
                return false;
            case WindowInput::Request::Snapshot: {
                const std::filesystem::path path = "velkaro-snapshot-" + std::to_string(++snapshots) + ".png";
                std::string why;
                if (Renderer::writePNG(app, path, 2, &why))
                    std::cout << "Snapshot written to " << std::filesystem::absolute(path).string() << std::endl;
                else
                    std::cerr << "velkaro-sim: " << why << std::endl;
                break;
            }
            case WindowInput::Request::None:
                break;
        }
    }
    return true;
}

}  // namespace

int Window::scaleFor(CGSize screen, int displayWidth, int displayHeight) {
    return screen.width * 2 <= displayWidth && screen.height * 2 <= displayHeight ? 2 : 1;
}

int Window::run(SettingsApp& app, std::string* error) {
    Session session;
    std::string why;
    if (!session.open(app, why)) return fail(why, error);
    WindowInput input(app, session.scale());
    int snapshots = 0;
    using Clock = std::chrono::steady_clock;
    const auto frame = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(kFrameSeconds));
    auto next = Clock::now();
    while (pumpEvents(app, input, snapshots)) {
        app.advance(0);  // the timers and animations that are due on the steady clock
        session.drawFrame(app);
        next += frame;
        const auto now = Clock::now();
        if (next < now) next = now;  // a slow frame does not make the next ones rush
        std::this_thread::sleep_until(next);
    }
    return 0;
}

int Window::runFrames(SettingsApp& app, int frames, const std::vector<Click>& clicks, FrameObserver onFrame,
    std::string* error) {
    // A test run leaves signals to its runner, so a time limit can still stop it.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    Session session;
    std::string why;
    if (!session.open(app, why)) return fail(why, error);
    WindowInput input(app, session.scale());
    int snapshots = 0;
    for (int i = 0; i < frames; ++i) {
        for (const auto& click : clicks)
            if (click.frame == i) session.pushClick(click.point);
        if (!pumpEvents(app, input, snapshots)) break;
        app.advance(0);
        session.drawFrame(app);
        if (onFrame) onFrame(i, session.image(), session.scale());
    }
    return 0;
}

}  // namespace sim
