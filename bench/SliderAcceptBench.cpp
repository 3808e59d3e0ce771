// Accept-to-file-on-disk time for one typed value: the entry pop-up opens, a number is typed and
// "Enter" stores it through the host, including the atomic replace of the preferences file.
#include <benchmark/benchmark.h>

#include <string>

#include "cells/KXVelkaroSliderCell.h"
#include "host/Runtime/RunLoop.h"
#include "host/Preferences/PreferenceStore.h"
#include "host/Runtime/EventLog.h"
#include "host/Runtime/SimulatedDevice.h"

namespace {

std::shared_ptr<PSSpecifier> sliderRow() {
    auto row = std::make_shared<PSSpecifier>();
    row->setName("Animation duration (ms)");
    row->setProperty("com.mornvale.velkaro", "defaults");
    row->setProperty("animationDuration", "key");
    row->setProperty(0, "min");
    row->setProperty(1000, "max");
    row->setProperty("com.mornvale.velkaro/ReloadPrefs", "PostNotification");
    return row;
}

void BM_AcceptTypedValue(benchmark::State& state) {
    host::SimulatedDevice device;  // an iPhone 6s in a temporary folder, manual clock at 0

    // A preferences file of realistic size: the page's other settings are already stored.
    for (const char* key : {"enabled", "theme", "artworkOffset", "cornerRadius", "backgroundBlur"})
        host::PreferenceStore::setValue("com.mornvale.velkaro", key, PlistValue(1));

    auto cell = KXVelkaroSliderCell::initWithStyle(0, "slider", sliderRow());
    long typed = 0;
    for (auto _ : state) {
        cell->presentPopup();
        auto entry = UIAlertView::topAlert();
        entry->textFieldAtIndex(0)->typeText(std::to_string(typed++ % 1000));
        entry->clickButtonAtIndex(1);

        state.PauseTiming();
        host::RunLoop::main().advance(0.2);  // the post; not part of the acceptance
        host::EventLog::shared().clear();
        state.ResumeTiming();
    }
    cell.reset();
}

}  // namespace

BENCHMARK(BM_AcceptTypedValue)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
