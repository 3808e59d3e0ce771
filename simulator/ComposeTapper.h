#pragma once
// A tap on the share sheet or the mail composer in front: its bar's Cancel and Post or Send, its
// text (which takes the keyboard), the keys of the letters keyboard under it.
#include "host/CoreGraphics/CGGeometry.h"
#include "simulator/NumberPad.h"

namespace sim {

class SettingsApp;

class ComposeTapper {
public:
    explicit ComposeTapper(SettingsApp& app) : _app(app) {}

    // False when nothing there answers.
    bool tap(CGPoint point);

private:
    bool pressKey(const NumberPad::Key& key);

    SettingsApp& _app;
};

}  // namespace sim
