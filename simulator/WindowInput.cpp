#include "simulator/WindowInput.h"

#include <cmath>

#include "host/Preferences/PSListController.h"
#include "host/Preferences/PSSliderTableCell.h"
#include "host/Social/SLComposeViewController.h"
#include "host/UIKit/UIAlertView.h"
#include "simulator/NumberPad.h"
#include "simulator/ScreenColumns.h"
#include "simulator/ScreenLayout.h"
#include "simulator/SettingsApp.h"
#include "simulator/ViewPainter.h"

namespace sim {
namespace {

std::optional<char> digitOf(SDL_Keycode key) {
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<char>('0' + (key - SDLK_0));
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return static_cast<char>('1' + (key - SDLK_KP_1));
    if (key == SDLK_KP_0) return '0';
    return std::nullopt;
}

}  // namespace

WindowInput::WindowInput(SettingsApp& app, double scale)
    : WindowInput(app, WindowGeometry::letterbox(app.screenSize(), WindowGeometry::pixels(app.screenSize().width, scale),
                           WindowGeometry::pixels(app.screenSize().height, scale), scale)) {}

WindowInput::Request WindowInput::handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            return Request::Quit;
        case SDL_WINDOWEVENT:
            return event.window.event == SDL_WINDOWEVENT_CLOSE ? Request::Quit : Request::None;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT && _viewport.contains(event.button.x, event.button.y))
                press(pointOf(event.button.x, event.button.y));
            return Request::None;
        case SDL_MOUSEMOTION:
            if (_pressed) move(pointOf(event.motion.x, event.motion.y));
            return Request::None;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT && _pressed) release(pointOf(event.button.x, event.button.y));
            return Request::None;
        case SDL_MOUSEWHEEL: {
            const int notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            if (notches != 0 && !_app.topAlert()) _app.scroll(-notches * kWheelStep);
            return Request::None;
        }
        case SDL_KEYDOWN:
            return key(event.key);
        case SDL_TEXTINPUT:
            // Typed characters go into the sheet's or composer's text, or a row's field being
            // edited (the alert's field takes keys).
            if (!_app.topAlert() && (_app.composingView() || _app.editingField())) _app.typeText(event.text.text);
            return Request::None;
        default:
            return Request::None;
    }
}

void WindowInput::press(CGPoint point) {
    _pressed = true;
    _scrolling = false;
    _pressPoint = _lastPoint = point;
    _grab = sliderAt(point);
    if (!_grab) {
        _app.pressAt(point);  // what the finger is on shows pressed; it acts on release
        return;
    }
    auto slider = _grab->slider.lock();
    const CGFloat thumb = _grab->originX + ViewPainter::sliderThumbCentreX(*slider);
    // Taken by the thumb it follows the pointer from where it was held; anywhere else on the
    // track the thumb jumps there.
    if (std::abs(point.x - thumb) <= ViewPainter::kSliderThumbRadius + 4) _grab->grabOffset = point.x - thumb;
    else _app.slide(_grab->indexPath, ViewPainter::sliderValueAtX(*slider, point.x - _grab->originX));
}

void WindowInput::move(CGPoint point) {
    if (_grab) {
        if (auto slider = _grab->slider.lock())
            _app.slide(_grab->indexPath, ViewPainter::sliderValueAtX(*slider, point.x - _grab->originX - _grab->grabOffset));
        return;
    }
    if (!_scrolling && std::abs(point.y - _pressPoint.y) > kDragSlop && !_app.topAlert() && !_app.presentedController())
        _scrolling = true;
    if (_scrolling || std::hypot(point.x - _pressPoint.x, point.y - _pressPoint.y) > kDragSlop) _app.endPress();
    if (_scrolling) _app.scroll(_lastPoint.y - point.y);
    _lastPoint = point;
}

void WindowInput::release(CGPoint point) {
    _pressed = false;
    _app.endPress();
    const bool dragged = _grab || _scrolling;
    _grab.reset();
    _scrolling = false;
    if (dragged) return;
    if (std::hypot(point.x - _pressPoint.x, point.y - _pressPoint.y) > kDragSlop) return;
    _app.tapAt(point);  // the app's hit-testing covers the pop-up, its keys and the pad
}

std::optional<WindowInput::SliderGrab> WindowInput::sliderAt(CGPoint point) const {
    if (point.y < ScreenLayout::kContentTop || _app.topAlert() || _app.presentedController()) return std::nullopt;
    auto page = _app.visiblePage();
    auto table = page ? page->table() : nullptr;
    if (!table) return std::nullopt;
    // Sliders are in the pane's pages, in the pane's column.
    const CGFloat columnX = ScreenColumns::paneFrame(_app.screenSize()).minX();
    const CGPoint content{point.x - columnX, point.y - ScreenLayout::kContentTop + table->contentOffset()};
    const auto indexPath = table->indexPathForRowAtPoint(content);
    if (!indexPath) return std::nullopt;
    auto cell = std::dynamic_pointer_cast<PSSliderTableCell>(table->cellForRowAtIndexPath(*indexPath));
    if (!cell || !cell->control() || cell->control()->isHidden()) return std::nullopt;
    const auto& slider = cell->control();
    const CGFloat originX = columnX + cell->frame().minX() + slider->convertPointToAncestor({0, 0}, cell.get()).x;
    if (point.x < originX || point.x >= originX + slider->frame().width()) return std::nullopt;
    return SliderGrab{*indexPath, slider, originX, 0};
}

WindowInput::Request WindowInput::key(const SDL_KeyboardEvent& event) {
    const SDL_Keycode k = event.keysym.sym;
    const bool control = (event.keysym.mod & KMOD_CTRL) != 0;
    const bool alt = (event.keysym.mod & KMOD_ALT) != 0;
    if (k == SDLK_F12 || (control && k == SDLK_s)) return Request::Snapshot;
    if (control && k == SDLK_q) return Request::Quit;
    if (_app.topAlert()) {
        alertKey(k, control);
        return Request::None;
    }
    if (auto presented = _app.presentedController()) {
        const bool sheet = std::dynamic_pointer_cast<SLComposeViewController>(presented) != nullptr;
        if (k == SDLK_ESCAPE) sheet ? _app.finishSheet(false) : _app.finishMail(false);
        // Posting takes Return; sending a mail takes Ctrl+Return, so it is not sent by accident.
        else if (k == SDLK_RETURN || k == SDLK_KP_ENTER) sheet ? _app.finishSheet(true) : control && _app.finishMail(true);
        else if (k == SDLK_BACKSPACE || k == SDLK_KP_BACKSPACE) _app.deleteBackward();
        return Request::None;
    }
    if (_app.editingField()) {
        if (k == SDLK_RETURN || k == SDLK_KP_ENTER || k == SDLK_ESCAPE) _app.endEditing();
        else if (k == SDLK_BACKSPACE || k == SDLK_KP_BACKSPACE) _app.deleteBackward();
        return Request::None;
    }
    if (k == SDLK_ESCAPE || k == SDLK_BACKSPACE || (alt && k == SDLK_LEFT)) _app.goBack();
    else if (k == SDLK_DOWN) _app.scroll(kWheelStep);
    else if (k == SDLK_UP) _app.scroll(-kWheelStep);
    else if (k == SDLK_PAGEDOWN || k == SDLK_SPACE) _app.scroll(_app.screenSize().height / 2);
    else if (k == SDLK_PAGEUP) _app.scroll(-_app.screenSize().height / 2);
    return Request::None;
}

bool WindowInput::alertKey(SDL_Keycode k, bool control) {
    auto alert = _app.topAlert();
    auto field = alert->textFieldAtIndex(0);
    if (k == SDLK_RETURN || k == SDLK_KP_ENTER) {
        // Return answers with the first button that is not the cancel button.
        NSInteger index = 0;
        for (NSInteger i = 0; i < alert->numberOfButtons(); ++i)
            if (i != alert->cancelButtonIndex()) {
                index = i;
                break;
            }
        if (auto title = alert->buttonTitleAtIndex(index)) return _app.pressAlertButton(*title);
        return false;
    }
    if (k == SDLK_ESCAPE) {
        const NSInteger index = alert->cancelButtonIndex() >= 0 ? alert->cancelButtonIndex() : 0;
        if (auto title = alert->buttonTitleAtIndex(index)) return _app.pressAlertButton(*title);
        return false;
    }
    if (!field || control) return false;
    if (k == SDLK_BACKSPACE || k == SDLK_KP_BACKSPACE) return _app.deleteBackward();
    if (auto digit = digitOf(k)) return _app.typeText(std::string(1, *digit));
    // A phone's number pad has no minus or point of its own: they come from the keypad toolbar.
    const bool numberPad = field->keyboardType() == UIKeyboardTypeNumberPad && !NumberPad::padKeyboard();
    if (k == SDLK_MINUS || k == SDLK_KP_MINUS) return numberPad ? _app.pressKeypadKey("Negate") : _app.typeText("-");
    if (k == SDLK_PERIOD || k == SDLK_KP_PERIOD || k == SDLK_KP_DECIMAL)
        return numberPad ? _app.pressKeypadKey("Point") : _app.typeText(".");
    return false;
}

}  // namespace sim
