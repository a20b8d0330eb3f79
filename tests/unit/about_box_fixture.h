#pragma once

#include <gtest/gtest.h>

#include "about_box/about_box.h"
#include "fakes/fake_services.h"

namespace dv {

class AboutBoxTest : public ::testing::Test {
protected:
    fakes::FakePlatform fakes;
    AboutBox box{fakes.env(), fakes.about, fakes.identity};

    fakes::FakeFormPeer* screen() { return fakes.toolkit.form(box); }

    // Where current Windows and older installations keep the tool.
    static constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
    void setPath(RegistryValue value) {
        fakes.registry.set(kMachine, std::string(sysinfo::kPathKey), std::string(sysinfo::kPathValue), std::move(value));
    }
    void setLocation(RegistryValue value) {
        fakes.registry.set(kMachine, std::string(sysinfo::kLocationKey), std::string(sysinfo::kLocationValue),
                           std::move(value));
    }
};

}  // namespace dv
