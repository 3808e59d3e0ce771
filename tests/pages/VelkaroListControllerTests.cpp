#include "pages/VelkaroListController.h"

#include <filesystem>
#include <memory>
#include <optional>

#include "cells/KXVelkaroCustomHeaderView.h"
#include "cells/KXVelkaroLogoTableCell.h"
#include "host/Preferences/PSClassFactories.h"
#include "host/Runtime/RunLoop.h"
#include "host/Preferences/PSRootController.h"
#include "host/Runtime/FailureInjection.h"
#include "host/UIKit/UIImageView.h"
#include "tests/support/DeviceFixture.h"

namespace {

class VelkaroListControllerTest : public DeviceFixture {
protected:
    // As the Settings host creates its principal class: by name.
    void SetUp() override {
        DeviceFixture::SetUp();
        page = std::dynamic_pointer_cast<VelkaroListController>(host::createController("VelkaroListController"));
        ASSERT_NE(page, nullptr);
    }
    std::shared_ptr<UIView> titleView() const { return page->navigationItem()->titleView(); }
    std::shared_ptr<VelkaroListController> page;
};

// The first call loads "Velkaro"; later calls return that very array, even once the list is gone.
TEST_F(VelkaroListControllerTest, LoadsItsRowsOnce) {
    const auto bundle = useWritableBundleCopy();
    auto rows = page->specifiers();
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->size(), 14u);
    std::filesystem::remove(bundle / "Velkaro.plist");
    EXPECT_EQ(page->specifiers(), rows);
    EXPECT_EQ(rows->size(), 14u);
    EXPECT_TRUE(diagnostics().empty());
}

// The template logo is the title view, at alpha 0, before the host's viewDidLoad runs, and the
// fade-in is scheduled only after it. (The compose button is every page's, checked with them.)
TEST_F(VelkaroListControllerTest, LogoIsInPlaceBeforeTheHostsViewDidLoad) {
    std::optional<std::tuple<bool, double, std::size_t>> seen;  // title view set, its alpha, pending tasks
    host::EventLog::shared().setListener([&](const host::Event& e) {
        if (e.kind != "viewDidLoad" || e.field("controller") != "VelkaroListController") return;
        seen = std::tuple(titleView() != nullptr, titleView() ? titleView()->alpha() : -1, host::RunLoop::main().pendingTaskCount());
    });
    page->view();
    host::EventLog::shared().setListener(nullptr);
    EXPECT_EQ(seen, std::tuple(true, 0.0, std::size_t(0))) << "seen when the host's viewDidLoad ran";
    EXPECT_EQ(host::RunLoop::main().nextDueTime(), 0.5);

    auto logo = std::dynamic_pointer_cast<UIImageView>(titleView());
    ASSERT_TRUE(logo && logo->image());
    EXPECT_EQ(std::tuple(logo->image()->renderingMode(), logo->frame().size, logo->alpha()),
        std::tuple(UIImageRenderingModeAlwaysTemplate, CGSize{90, 28}, 0.0));  // sized to the picture
    EXPECT_FALSE(page->navigationItem()->title().has_value());  // the logo takes the title's place
}

// The title view of the moment the fade starts is the one faded in; appearing again schedules no
// other fade. (The fade's timing is checked below.)
TEST_F(VelkaroListControllerTest, LogoFadeFindsTheTitleViewOfItsMoment) {
    showPage(page);
    auto logo = titleView();
    ASSERT_NE(logo, nullptr);
    advance(0.2);
    page->viewWillDisappear(false);
    page->viewWillAppear(false);
    auto replacement = UIImageView::initWithImage(nullptr);
    replacement->setAlpha(0.0);
    page->navigationItem()->setTitleView(replacement);
    advance(0.8);
    EXPECT_EQ(std::tuple(replacement->presentationAlpha(), logo->alpha(), host::RunLoop::main().pendingTaskCount()),
        std::tuple(1.0, 0.0, std::size_t(0)));
}

// From 0.5 s to 1.0 s the logo fades in; the timer and then the animation hold the page, so the
// fade completes even if the host lets go.
TEST_F(VelkaroListControllerTest, TimerAndAnimationKeepThePageAlive) {
    page->view();
    auto logo = titleView();
    std::weak_ptr<VelkaroListController> weak = page;
    page.reset();

    advance(0.25);
    EXPECT_FALSE(weak.expired()) << "the timer holds the page";
    advance(0.45);  // 0.7 s: mid-animation
    EXPECT_FALSE(weak.expired()) << "the animation holds the page";
    EXPECT_NEAR(logo->presentationAlpha(), 0.4, 1e-9);
    advance(0.31);
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(logo->presentationAlpha(), 1.0);
}

// Section 0 gets a new banner at 140 points, section 4 a new footer logo at 30, on every request; the others none and -1.
TEST_F(VelkaroListControllerTest, HeaderViewsAndHeights) {
    page->view();
    auto table = page->table();
    for (NSInteger section : {0, 1, 2, 3, 4, 5, 6, -1}) {
        SCOPED_TRACE(section);
        auto first = page->viewForHeaderInSection(table, section);
        auto second = page->viewForHeaderInSection(table, section);
        const bool banner = section == 0, footer = section == 4;
        for (const auto& view : {first, second})
            EXPECT_EQ(std::tuple(std::dynamic_pointer_cast<KXVelkaroCustomHeaderView>(view) != nullptr,
                          std::dynamic_pointer_cast<KXVelkaroLogoTableCell>(view) != nullptr), std::tuple(banner, footer));
        EXPECT_EQ(first != second, banner || footer);  // a new view on every request
        EXPECT_EQ(page->heightForHeaderInSection(table, section), banner ? 140.0 : footer ? 30.0 : -1.0);
    }
    // A header whose base initialiser fails is simply absent; its height stays.
    host::FailureInjection::failNextInitialiser("UIView");
    EXPECT_EQ(page->viewForHeaderInSection(table, 0), nullptr);
    host::FailureInjection::failNextInitialiser("PSTableCell");
    EXPECT_EQ(page->viewForHeaderInSection(table, 4), nullptr);
}

// Shown by the host, the table lays out both headers at their heights, the others at its own, also
// without either logo file; the empty title view then fades in all the same. (The headers'
// insides are laid out by the views themselves, checked with them.)
TEST_F(VelkaroListControllerTest, ShownPageLaysOutItsHeadersEvenWithoutLogos) {
    const auto bundle = useWritableBundleCopy();
    std::filesystem::remove(bundle / "images/headerLogo.png");
    std::filesystem::remove(bundle / "images/headerLogo@2x.png");
    std::filesystem::remove(bundle / "images/footerLogo.png");
    std::filesystem::remove(bundle / "images/footerLogo@2x.png");
    auto root = showPage(page);
    const auto& sections = page->table()->sections();
    ASSERT_EQ(sections.size(), 6u);
    EXPECT_NE(std::dynamic_pointer_cast<KXVelkaroCustomHeaderView>(sections[0].headerView), nullptr);
    EXPECT_EQ(sections[0].headerRect, CGRectMake(0, 0, 375, 140));
    EXPECT_NE(std::dynamic_pointer_cast<KXVelkaroLogoTableCell>(sections[4].headerView), nullptr);
    EXPECT_EQ(sections[4].headerRect.height(), 30);
    for (std::size_t s : {1u, 2u, 3u, 5u})
        EXPECT_TRUE(sections[s].headerView == nullptr && sections[s].headerRect.height() > 0) << s;

    auto logo = std::dynamic_pointer_cast<UIImageView>(titleView());
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->image(), nullptr);
    advance(1);
    EXPECT_EQ(logo->presentationAlpha(), 1.0);
}

}  // namespace
