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
    ASSERT_NE(logo, nullptr);
    ASSERT_NE(logo->image(), nullptr);
    EXPECT_EQ(logo->superview(), cell);
    EXPECT_EQ(logo->layer().shadowColor(), UIColor::blackColor());
    EXPECT_EQ(logo->layer().shadowOffset(), (CGSize{0, 1}));
    EXPECT_FLOAT_EQ(logo->layer().shadowOpacity(), 0.2f);
    EXPECT_DOUBLE_EQ(logo->layer().shadowRadius(), 1);
    EXPECT_FALSE(logo->clipsToBounds());
    for (CGFloat width : {375.0, 1024.0, 60.0}) {
        SCOPED_TRACE(width);
        layOut(cell, width);
        EXPECT_DOUBLE_EQ(logo->frame().midX(), width / 2);
        EXPECT_DOUBLE_EQ(logo->frame().minY(), 0);
        EXPECT_EQ(logo->frame().size, (CGSize{24, 24}));  // the picture's own size, in points
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
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->logoImageView()->image(), nullptr);
    ASSERT_NE(second->logoImageView(), nullptr);
    EXPECT_EQ(second->logoImageView()->image(), nullptr);
    layOut(second, 375);
    EXPECT_EQ(second->logoImageView()->frame(), CGRectMake(187.5, 0, 0, 0));
}

}  // namespace
