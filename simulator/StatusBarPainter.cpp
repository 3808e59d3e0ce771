#include "simulator/StatusBarPainter.h"

#include <cmath>
#include <string>

#include "host/Preferences/HostStrings.h"
#include "host/Runtime/DeviceProfile.h"
#include "host/UIKit/TextMetrics.h"
#include "simulator/Canvas.h"
#include "simulator/ScreenLayout.h"

namespace sim {
namespace {

constexpr CGFloat kTextFontSize = 12;
constexpr CGFloat kCarrierAfterDots = 43;  // where the carrier starts after the five dots
constexpr CGFloat kPadNameX = 6;           // a pad without cellular starts with its name
constexpr CGFloat kWifiGap = 4;
constexpr CGFloat kWifiWidth = 14, kWifiHeight = 10;

// The pads in the profiles are Wi-Fi models: no signal, the device's name where the carrier goes.
bool hasCellular(const host::DeviceProfile& profile) { return profile.userInterfaceIdiom != 1; }
std::string carrierText(const host::DeviceProfile& profile) { return hasCellular(profile) ? "Carrier" : "iPad"; }
CGFloat carrierX(const host::DeviceProfile& profile) { return hasCellular(profile) ? kCarrierAfterDots : kPadNameX; }
UIFont textFont() { return UIFont::systemFontOfSize(kTextFontSize); }

}  // namespace

CGRect StatusBarPainter::wifiRect(const host::DeviceProfile& profile) {
    const CGFloat h = ScreenLayout::kStatusBarHeight;
    const CGFloat textEnd = carrierX(profile) + host::TextMetrics::sizeOfText(carrierText(profile), textFont()).width;
    return CGRectMake(std::round(textEnd + kWifiGap), std::round((h - kWifiHeight) / 2), kWifiWidth, kWifiHeight);
}

void StatusBarPainter::draw(const host::DeviceProfile& profile, CGSize screen, const UIColor& color) {
    const CGFloat h = ScreenLayout::kStatusBarHeight;
    Canvas::TextStyle text;
    text.font = textFont();
    text.color = color;

    if (hasCellular(profile))
        for (int i = 0; i < 5; ++i) _canvas.fillCircle({kFirstDotX + i * kDotPitch, h / 2}, kDotRadius, color);
    _canvas.drawText(carrierText(profile), CGRectMake(carrierX(profile), 0, 80, h), text);
    drawWifi(wifiRect(profile), color);

    Canvas::TextStyle clock = text;
    clock.font = UIFont::boldSystemFontOfSize(kTextFontSize);
    clock.alignment = NSTextAlignmentCenter;
    _canvas.drawText(host::HostStrings::statusBarTime(9, 41), CGRectMake(0, 0, screen.width, h), clock);

    // The battery, full.
    const CGRect battery = CGRectMake(screen.width - 30, 5, 23, 10.5);
    _canvas.strokeRoundedRect(battery, 2.5, color, 1);
    _canvas.fillRoundedRect(CGRectMake(battery.minX() + 2, battery.minY() + 2, battery.width() - 4, battery.height() - 4), 1, color);
    _canvas.fillRoundedRect(CGRectMake(battery.maxX() + 0.5, battery.midY() - 2, 1.5, 4), 0.75, color);
    text.alignment = NSTextAlignmentRight;
    _canvas.drawText("100%", CGRectMake(screen.width - 90, 0, 56, h), text);
}

void StatusBarPainter::drawWifi(CGRect box, const UIColor& color) {
    // A fan of three arcs and a dot, all centred on the box's bottom middle, opening upwards.
    cairo_t* cr = _canvas.cr();
    const CGPoint centre{box.midX(), box.maxY()};
    const double spread = M_PI / 4;  // each side of straight up
    cairo_save(cr);
    _canvas.setColor(color);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (const CGFloat radius : {box.height() - 0.8, box.height() * 0.64, box.height() * 0.3}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, centre.x, centre.y, radius, -M_PI / 2 - spread, -M_PI / 2 + spread);
    }
    cairo_stroke(cr);
    _canvas.fillCircle({centre.x, centre.y - 0.9}, 1.1, color);
    cairo_restore(cr);
}

}  // namespace sim
