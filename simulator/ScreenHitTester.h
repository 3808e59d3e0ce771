#pragma once
// A tap at a point of the simulated screen (points, top-left origin), sent to whatever is there:
// the front alert's buttons, field and keys; the share sheet's or composer's buttons; the bar's
// back and right buttons; a row, or the control in it that the point falls on.
#include <memory>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/UIKit/NSIndexPath.h"

class UIAlertView;
class UITableViewCell;

namespace sim {

class SettingsApp;

class ScreenHitTester {
public:
    explicit ScreenHitTester(SettingsApp& app) : _app(app) {}

    // False when nothing there answers.
    bool tap(CGPoint point);

private:
    bool tapAlert(const std::shared_ptr<UIAlertView>& alert, CGPoint point);
    bool tapPresented(CGPoint point);
    bool tapBar(CGPoint point);
    bool tapPage(CGPoint point);
    bool tapCell(UITableViewCell& cell, NSIndexPath indexPath, CGPoint inCell);

    SettingsApp& _app;
};

}  // namespace sim
