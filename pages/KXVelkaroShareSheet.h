#pragma once
// The share sheet that every page's compose button opens: the microblogging service's compose
// sheet with the pane's hashtag message, presented from the page and closed when it is done.
#include <memory>
#include <string>

class UIViewController;

class KXVelkaroShareSheet {
public:
    static constexpr const char* kMessage = "#Velkaro is awesome!";

    // What tweetSupport: does on each page. Does nothing when the service is not available.
    static void presentFromPage(UIViewController& page);
};
