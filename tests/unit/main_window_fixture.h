#pragma once

#include <gtest/gtest.h>

#include "fakes/fake_services.h"
#include "main_window/main_window.h"

namespace dv {

class MainWindowTest : public ::testing::Test {
protected:
    fakes::FakePlatform fakes;
    int optionsOpened = 0, aboutOpened = 0, readmeOpened = 0;
    MainWindow window{fakes.env(),
                      {fakes.clock, fakes.screen, fakes.notifyIcon, fakes.application},
                      {.options = [this] { ++optionsOpened; },
                       .about = [this] { ++aboutOpened; },
                       .readme = [this] { ++readmeOpened; }}};

    fakes::FakeFormPeer& screen() { return *fakes.toolkit.form(window); }
    fakes::FakeMonthViewPeer& shown(const MonthView& view) { return *fakes.toolkit.monthView(view); }
    // Seconds pass on the window's clock timer.
    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) fakes.toolkit.timer(window.Timer1)->elapse();
    }
};

}  // namespace dv
