#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fakes/fake_services.h"
#include "options_dialog/options_dialog.h"

namespace dv {

// The options dialog against the fakes; the settings start empty.
class OptionsDialogTest : public ::testing::Test {
protected:
    fakes::FakePlatform fakes;
    OptionsDialog dialog{fakes.env(), fakes.options, fakes.identity};

    void store(const std::optional<std::string>& startup, const std::optional<std::string>& mode) {
        if (startup) fakes.settings.set("Startup", *startup);
        if (mode) fakes.settings.set("Mode", *mode);
    }
    fakes::FakeFormPeer* screen() const { return fakes.toolkit.form(dialog); }
    fakes::FakeControlPeer& shown(const Control& c) const { return *fakes.toolkit.peer(c); }

    // "none", "basic" or "full", as the hidden option buttons hold it.
    std::string selectedMode() const {
        if (dialog.optbasic.Value() && dialog.optfull.Value()) return "both";
        return dialog.optbasic.Value() ? "basic" : dialog.optfull.Value() ? "full" : "none";
    }
    // The options are enabled together or not at all.
    std::optional<bool> optionsEnabled() const {
        if (dialog.optbasic.Enabled() != dialog.optfull.Enabled()) return std::nullopt;
        return dialog.optfull.Enabled();
    }
};

}  // namespace dv
