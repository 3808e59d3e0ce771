// The layout pass of the root page's banner, and of a 20-row page, with real font metrics.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "cells/KXVelkaroCustomHeaderView.h"
#include "host/Preferences/PSListController.h"
#include "host/UIKit/NSLayoutConstraint.h"
#include "host/UIKit/UILabel.h"

namespace {

// A page of one group and 20 plain rows, as a property list would give it.
class TwentyRowPage : public PSListController {
public:
    std::shared_ptr<PSSpecifierArray> specifiers() override {
        if (!_specifiers) {
            _specifiers = std::make_shared<PSSpecifierArray>();
            auto group = std::make_shared<PSSpecifier>();
            group->setCellType(PSGroupCell);
            group->setName("Rows");
            _specifiers->push_back(group);
            for (int i = 0; i < 20; ++i) {
                auto row = std::make_shared<PSSpecifier>();
                row->setCellType(PSStaticTextCell);
                row->setName("Row number " + std::to_string(i + 1));
                _specifiers->push_back(row);
            }
        }
        return _specifiers;
    }
};

// The banner as the table lays it out: sized to the table, then solved.
void BM_RootHeaderLayout(benchmark::State& state) {
    auto header = KXVelkaroCustomHeaderView::init();
    header->setFrame(CGRectMake(0, 0, 375, 140));
    for (auto _ : state) {
        header->layoutIfNeeded();
        benchmark::DoNotOptimize(header->randomLabel()->frame());
    }
}
BENCHMARK(BM_RootHeaderLayout);

// A new banner per request, as the root page makes one: built, then laid out.
void BM_RootHeaderCreateAndLayout(benchmark::State& state) {
    for (auto _ : state) {
        auto header = KXVelkaroCustomHeaderView::init();
        header->setFrame(CGRectMake(0, 0, 375, 140));
        header->layoutIfNeeded();
        benchmark::DoNotOptimize(header->randomLabel()->frame());
    }
}
BENCHMARK(BM_RootHeaderCreateAndLayout);

// A 20-row page's table laid out at width 375 (cells kept by the page after the first pass).
void BM_TwentyRowPageReload(benchmark::State& state) {
    auto page = std::make_shared<TwentyRowPage>();
    page->view();
    auto table = page->table();
    table->setFrame(CGRectMake(0, 0, 375, 667));
    for (auto _ : state) {
        table->reloadData();
        benchmark::DoNotOptimize(table->contentHeight());
    }
}
BENCHMARK(BM_TwentyRowPageReload);

// 20 labels stacked by constraints in one container, each centred under the one above.
void BM_TwentyConstrainedLabelsLayout(benchmark::State& state) {
    auto container = UIView::initWithFrame(CGRectMake(0, 0, 375, 900));
    std::shared_ptr<UIView> above = container;
    for (int i = 0; i < 20; ++i) {
        auto label = UILabel::initWithFrame(CGRectZero);
        label->setText("Row number " + std::to_string(i + 1));
        label->setFont(UIFont::fontWithName("HelveticaNeue-Light", 17));
        container->addSubview(label);
        label->setTranslatesAutoresizingMaskIntoConstraints(false);
        container->addConstraint(NSLayoutConstraint::constraintWithItem(label, NSLayoutAttributeTop,
            NSLayoutRelationEqual, above, i == 0 ? NSLayoutAttributeTop : NSLayoutAttributeBottom, 1, 4));
        container->addConstraint(NSLayoutConstraint::constraintWithItem(label, NSLayoutAttributeCenterX,
            NSLayoutRelationEqual, container, NSLayoutAttributeCenterX, 1, 0));
        above = label;
    }
    for (auto _ : state) {
        container->layoutIfNeeded();
        benchmark::DoNotOptimize(above->frame());
    }
}
BENCHMARK(BM_TwentyConstrainedLabelsLayout);

}  // namespace

BENCHMARK_MAIN();
