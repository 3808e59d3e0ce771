#include "simulator/PagePreview.h"

#include <utility>

#include "host/Runtime/DeviceRoot.h"

namespace sim {

std::optional<PagePreview> PagePreview::open(const std::filesystem::path& file, std::string& error) {
    std::error_code ec;
    const auto path = std::filesystem::absolute(file, ec).lexically_normal();
    PagePreview preview;
    preview._fileName = path.filename().string();
    if (ec || preview._fileName.empty()) {
        error = "cannot read the page list " + path.string() + ": not a file";
        return std::nullopt;
    }
    host::DeviceRoot::mount(kDevicePath, path.parent_path());
    preview._checked = PreviewListController::create(kDevicePath, preview._fileName, {});
    if (!preview._checked->load(&error)) return std::nullopt;
    preview._title = preview._checked->listTitle().value_or(path.stem().string());
    preview._checked->setTitle(preview._title);
    return preview;
}

std::shared_ptr<PreviewListController> PagePreview::makePage(PreviewListController::Notifier notify) {
    if (auto first = std::exchange(_checked, nullptr)) {
        first->setNotifier(std::move(notify));
        return first;
    }
    auto page = PreviewListController::create(kDevicePath, _fileName, std::move(notify));
    page->load();
    page->setTitle(_title);
    return page;
}

}  // namespace sim
