#include "cells/KXVelkaroCustomHeaderView.h"

#include <string>
#include <vector>

#include "host/Runtime/DeviceProfile.h"
#include "host/Runtime/FailureInjection.h"
#include "host/UIKit/UILabel.h"
#include "tests/support/DeviceFixture.h"

namespace {

class KXVelkaroCustomHeaderViewTest : public DeviceFixture {
protected:
    // As the table shows a section header: sized by the table, then laid out.
    static void layOut(KXVelkaroCustomHeaderView& header, CGRect frame) {
        header.setFrame(frame);
        header.layoutIfNeeded();
    }
    static std::vector<std::shared_ptr<UILabel>> lines(const KXVelkaroCustomHeaderView& header) {
        return {header.headerLabel(), header.subHeaderLabel(), header.randomLabel()};
    }
};

// Three fixed lines in every language: grey, centred, one line each, light face, subviews in order.
// Font sizes follow the idiom test, made for each line: a device that cannot answer is a phone.
TEST_F(KXVelkaroCustomHeaderViewTest, BuildsThreeGreyCentredLinesSizedByIdiom) {
    const std::vector<std::string> texts{"Velkaro", "Beautifully Redesigned Music Controls", "Thanks for the support"};
    const struct { const char* language; const char* profile; bool answersIdiomQuery; std::vector<CGFloat> sizes; } cases[] = {
        {"en", "iphone6s", true, {36, 17, 15}}, {"de", "ipad-air2", true, {44, 22, 15}},
        {"fr", "ipad-air2", false, {36, 17, 15}},
    };
    for (const auto& c : cases) {
        useProfile(c.profile);
        host::DeviceProfile::mutableCurrent().preferredLanguages = {c.language};
        host::DeviceProfile::mutableCurrent().answersIdiomQuery = c.answersIdiomQuery;
        auto header = KXVelkaroCustomHeaderView::init();
        ASSERT_NE(header, nullptr);
        auto labels = lines(*header);
        ASSERT_EQ(header->subviews().size(), 3u);
        EXPECT_FALSE(header->backgroundColor().has_value());
        for (std::size_t i = 0; i < labels.size(); ++i) {
            SCOPED_TRACE(std::string(c.profile) + " " + c.language + ": " + texts[i]);
            ASSERT_NE(labels[i], nullptr);
            EXPECT_EQ(header->subviews()[i], labels[i]);
            const auto& l = *labels[i];
            EXPECT_EQ(std::tuple(l.text(), l.font(), l.numberOfLines(), l.textColor(), l.backgroundColor(), l.textAlignment(),
                          l.translatesAutoresizingMaskIntoConstraints()),
                std::tuple(texts[i], UIFont{"HelveticaNeue-Light", c.sizes[i]}, NSInteger(1), UIColor::grayColor(),
                    std::optional(UIColor::clearColor()), NSTextAlignmentCenter, false));
        }
    }
}

// The title hangs one fifth of the header's height down (28 points in the root page's 140), each
// next line 5 points below the one above; every line keeps its natural size and stays centred at
// any width, also when the header is resized, on phone and pad.
TEST_F(KXVelkaroCustomHeaderViewTest, StacksTheLinesCentredAtAnyWidth) {
    const struct { const char* profile; CGRect frame; } cases[] = {
        {"iphone6s", CGRectMake(0, 0, 375, 140)}, {"iphone6s", CGRectMake(0, 0, 100, 140)},
        {"iphone6s", CGRectMake(0, 500, 600, 200)}, {"ipad-air2", CGRectMake(0, 0, 768, 140)}};
    std::shared_ptr<KXVelkaroCustomHeaderView> header;
    std::string profile;
    CGFloat phoneTitleHeight = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.profile) + " " + std::to_string(c.frame.width()));
        if (profile != c.profile) {  // the same phone header is resized
            useProfile(profile = c.profile);
            header = KXVelkaroCustomHeaderView::init();
            ASSERT_NE(header, nullptr);
        }
        layOut(*header, c.frame);
        auto labels = lines(*header);
        CGFloat top = c.frame.height() / 5 - 5;
        for (const auto& label : labels) {  // each 5 points below the one above
            EXPECT_DOUBLE_EQ(label->frame().minY(), top + 5);
            top = label->frame().maxY();
            EXPECT_DOUBLE_EQ(label->frame().midX(), c.frame.width() / 2);
            EXPECT_EQ(label->frame().size, label->intrinsicContentSize());
            EXPECT_GT(label->frame().width(), 0);
        }
        // Real metrics: the larger title is taller than the tagline, which is wider; a pad's taller still.
        EXPECT_GT(labels[0]->frame().height(), labels[1]->frame().height());
        EXPECT_GT(labels[1]->frame().width(), labels[0]->frame().width());
        if (profile == "iphone6s") phoneTitleHeight = labels[0]->frame().height();
        else EXPECT_GT(labels[0]->frame().height(), phoneTitleHeight);
    }
}

// A failing view initialiser gives nil and builds no label (the armed label failure stays); a
// label the platform cannot create is passed over and the other lines still lay out.
TEST_F(KXVelkaroCustomHeaderViewTest, FailingInitialisers) {
    host::FailureInjection::failNextInitialiser("UIView");
    host::FailureInjection::failNextInitialiser("UILabel");
    EXPECT_EQ(KXVelkaroCustomHeaderView::init(), nullptr);
    auto header = KXVelkaroCustomHeaderView::init();
    ASSERT_NE(header, nullptr);
    layOut(*header, CGRectMake(0, 0, 375, 140));
    EXPECT_EQ(std::tuple(header->headerLabel(), header->subviews().size()), std::tuple(std::shared_ptr<UILabel>(), std::size_t(2)));
    EXPECT_DOUBLE_EQ(header->randomLabel()->frame().minY(), header->subHeaderLabel()->frame().maxY() + 5);
    EXPECT_DOUBLE_EQ(header->randomLabel()->frame().midX(), 187.5);
}

}  // namespace
