#pragma once
// A tap at a point of the simulated screen (points, top-left origin), sent to whatever is there:
// the front alert's buttons, field and keys; the share sheet's or composer's buttons; then in the
// column under the point (a pad's list or pane), the bar's back and right buttons, a row, or the
// control in it that the point falls on.
#include <memory>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/UIKit/NSIndexPath.h"

class UIAlertView;
class UITableViewCell;

namespace sim {

class SettingsApp;
struct ScreenColumn;

class ScreenHitTester {
public:
    explicit ScreenHitTester(SettingsApp& app) : _app(app) {}

    // False when nothing there answers.
    bool tap(CGPoint point);

private:
    bool tapAlert(const std::shared_ptr<UIAlertView>& alert, CGPoint point);
    bool tapPresented(CGPoint point);
    // Points in the column (its top-left origin) from here on.
    bool tapBar(const ScreenColumn& column, CGPoint point);
    bool tapPage(CGPoint point);
    bool tapList(CGPoint point);
    bool tapCell(UITableViewCell& cell, NSIndexPath indexPath, CGPoint inCell);

    SettingsApp& _app;
};

}  // namespace sim
