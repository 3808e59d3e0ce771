#pragma once
// The shared application: the status-bar style, and handing addresses to the system. Whether an
// address can be opened follows the device profile's installed URL schemes; every probe and
// every opened address goes to the event log.
#include <memory>
#include <string>
#include <vector>

#include "host/CoreGraphics/CGGeometry.h"
#include "host/Foundation/NSObject.h"
#include "host/Foundation/NSURL.h"

enum UIStatusBarStyle : NSInteger { UIStatusBarStyleDefault = 0, UIStatusBarStyleLightContent = 1 };

class UIApplication : public NSObject {
public:
    static std::shared_ptr<UIApplication> sharedApplication();
    NS_CLASS(UIApplication)

    NSInteger statusBarStyle() const { return _statusBarStyle; }
    void setStatusBarStyle(NSInteger style);

    // canOpenURL: true when the address's scheme is installed on the device. nullptr gives false.
    bool canOpenURL(const std::shared_ptr<NSURL>& url);
    // openURL: hands the address to the system: recorded, and true when something could open it.
    bool openURL(const std::shared_ptr<NSURL>& url);

    // Every address opened, in order (the simulator shows the last one as a note).
    const std::vector<std::string>& openedURLs() const { return _openedURLs; }

private:
    NSInteger _statusBarStyle = UIStatusBarStyleDefault;
    std::vector<std::string> _openedURLs;
};
