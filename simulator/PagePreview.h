#pragma once
// A page list previewed in place of the bundle (`--page FILE`): FILE's folder is mounted into the
// device, so the page, its sub-page lists and its strings tables are all read there, and FILE is
// checked up front, so that a file that is missing or is no page list ends the run with the reason
// instead of showing a blank page. Each opening makes a fresh page, as the host makes a bundle's
// principal class anew each time.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "simulator/PreviewListController.h"

namespace sim {

class PagePreview {
public:
    // Where FILE's folder is mounted on the device.
    static constexpr const char* kDevicePath = "/Library/PreferenceBundles/PagePreview.bundle";

    // Mounts FILE's folder (the device must be set up) and reads FILE. Nothing, with one line
    // naming FILE's absolute path, when it cannot be read or is not a page list.
    static std::optional<PagePreview> open(const std::filesystem::path& file, std::string& error);

    // The list's "title" (localized), else the file's name without its extension.
    const std::string& title() const { return _title; }
    // A page showing the list, with `notify` told what the user should see: the one read by open
    // the first time (so its rows' diagnostics are given once), a new one after.
    std::shared_ptr<PreviewListController> makePage(PreviewListController::Notifier notify);

private:
    std::string _fileName, _title;
    std::shared_ptr<PreviewListController> _checked;
};

}  // namespace sim
