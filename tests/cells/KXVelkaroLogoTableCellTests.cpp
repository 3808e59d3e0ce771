#include "cells/KXVelkaroLogoTableCell.h"

#include <filesystem>

#include "host/Runtime/FailureInjection.h"
#include "tests/support/DeviceFixture.h"

namespace {

class KXVelkaroLogoTableCellTest : public DeviceFixture {
protected:
    // As the table shows the root page's fifth section header: 30 points high at its width.
    static void layOut(const std::shared_ptr<KXVelkaroLogoTableCell>& cell, CGFloat width) {
        cell->setFrame(CGRectMake(0, 600, width, 30));
        cell->layoutIfNeeded();
    }
};

// The logo takes the picture's size, keeps its top at 0 and stays centred at any width; it carries
// the soft picture shadow, with clipping off so that it shows.
TEST_F(KXVelkaroLogoTableCellTest, LogoStaysCentredAtAnyWidthWithThePictureShadow) {
    auto cell = KXVelkaroLogoTableCell::init();
    ASSERT_NE(cell, nullptr);
    auto logo = cell->logoImageView();
    ASSERT_TRUE(logo && logo->image());
    EXPECT_EQ(logo->superview(), cell);
    const auto& layer = logo->layer();
    EXPECT_EQ(std::tuple(layer.shadowColor(), layer.shadowOffset(), layer.shadowOpacity(), layer.shadowRadius(), logo->clipsToBounds()),
        std::tuple(std::optional(UIColor::blackColor()), CGSize{0, 1}, 0.2f, CGFloat(1), false));
    for (CGFloat width : {375.0, 1024.0, 60.0}) {
        layOut(cell, width);  // the picture's own size, centred, at the top
        EXPECT_EQ(logo->frame(), CGRectMake(width / 2 - 12, 0, 24, 24)) << width;
    }
}

// Each view reads the picture afresh: removing the file between two views affects only the
// second, which shows an empty, zero-sized logo, still centred. When the host's cell initialiser
// gives nil, init gives nil without reading the picture (which would leave a "missing image" note).
TEST_F(KXVelkaroLogoTableCellTest, ReadsTheLogoForEveryViewAndCopesWithoutIt) {
    const auto bundle = useWritableBundleCopy();
    auto first = KXVelkaroLogoTableCell::init();
    std::filesystem::remove(bundle / "images/footerLogo.png");
    std::filesystem::remove(bundle / "images/footerLogo@2x.png");
    host::FailureInjection::failNextInitialiser("PSTableCell");
    EXPECT_EQ(KXVelkaroLogoTableCell::init(), nullptr);
    EXPECT_TRUE(diagnostics().empty());
    auto second = KXVelkaroLogoTableCell::init();
    EXPECT_EQ(diagnostics().size(), 1u);
    ASSERT_TRUE(first && second && second->logoImageView());
    EXPECT_NE(first->logoImageView()->image(), nullptr);
    EXPECT_EQ(second->logoImageView()->image(), nullptr);
    layOut(second, 375);
    EXPECT_EQ(second->logoImageView()->frame(), CGRectMake(187.5, 0, 0, 0));
}

}  // namespace
