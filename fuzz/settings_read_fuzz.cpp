// The options dialog's reading of its settings: any text stored under
// "Startup" and "Mode" (wrong case, blanks, binary junk, empty) loads the
// dialog without a message, ticks the box only for exactly "TRUE" and picks
// the basic mode only for exactly "BASIC"; OK then writes a Run value that
// says the same.
#include "fakes/fake_services.h"
#include "fuzz_input.h"
#include "options_dialog/options_dialog.h"

using namespace dv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t shape = in.byte();
    const std::string startup = in.text();
    const std::string mode = in.text();
    fakes::FakePlatform p;
    if (shape & 1) p.settings.set("Startup", startup);
    if (shape & 2) p.settings.set("Mode", mode);
    const bool on = (shape & 1) && startup == "TRUE";
    const bool basic = on && (shape & 2) && mode == "BASIC";

    OptionsDialog dialog(p.env(), p.options, p.identity);
    dialog.Show();
    fuzz::check(p.messages.prompts.empty(), "loading says nothing");
    fuzz::check((dialog.chkstartup.Value() == kChecked) == on, "the box is ticked for exactly TRUE", startup);
    fuzz::check(dialog.optbasic.Enabled() == on && dialog.optfull.Enabled() == on, "the modes go with the box");
    if (on) {
        fuzz::check(dialog.optbasic.Value() == basic && dialog.optfull.Value() == !basic, "one mode, as stored", mode);
    }

    dialog.OKButton.click();
    fuzz::check(!dialog.loaded(), "OK closes the dialog");
    const auto run = p.startup.run.find(p.identity.baseName);
    fuzz::check((run != p.startup.run.end()) == on, "a Run value exactly when the box was ticked");
    if (on) {
        const std::string& command = run->second;
        const bool hasB = command.size() >= 3 && command.compare(command.size() - 3, 3, " -b") == 0;
        fuzz::check(hasB == basic, "-b exactly in the basic mode", command);
        fuzz::check(p.settings.value("Startup") == "TRUE", "the setting says so");
    } else {
        fuzz::check(p.settings.value("Startup") == "FALSE", "the setting says so");
    }
    return 0;
}
