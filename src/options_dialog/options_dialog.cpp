#include "options_dialog.h"

#include <string>

namespace dv {

namespace {

// The texts the dialog shows.
namespace options_text {
constexpr std::string_view kRegistered = "Dayvane will start automatically with Windows next time";
constexpr std::string_view kRemoved = "Removed from Startup Menu";
constexpr std::string_view kShortcutMade = "A short cut in the desktop has been created.";
constexpr std::string_view kNotRegistered = "Dayvane could not be added to start up";
constexpr std::string_view kNotRemoved = "Dayvane could not be removed from start up";
constexpr std::string_view kNoShortcut = "Dayvane could not create the desktop shortcut";
constexpr std::string_view kNotSaved = "Dayvane could not save its start-up setting";
}  // namespace options_text

constexpr std::string_view kSection = "Settings";
constexpr std::string_view kStartupKey = "Startup";
constexpr std::string_view kModeKey = "Mode";

FormDesign optionsDesign() {
    return {.name = "frmstartup",
            .caption = "Dayvane Options",
            .clientWidth = 4125,
            .clientHeight = 2280,
            .border = BorderStyle::FixedSingle,
            .showInTaskbar = true,
            .iconResource = 0,
            .centred = true};
}

ControlDesign place(const char* name, TwipsBox box, int tabIndex, bool visible = true) {
    return {.name = name, .box = box, .tabIndex = tabIndex, .visible = visible};
}

}  // namespace

OptionsDialog::OptionsDialog(FormsEnv env, OptionsDialogServices services, const AppIdentity& app)
    : Form(env, optionsDesign()),
      optfull(*this, place("optfull", {2760, 0, 255, 255}, 1, false), "Option1"),
      optbasic(*this, place("optbasic", {3480, 120, 255, 255}, 3, false), "Option1"),
      chkstartup(*this, place("chkstartup", {600, 240, 3375, 375}, 0), "Click to add Dayvane to startup menu"),
      Label3(*this, place("Label3", {240, 360, 255, 255}, 7), "1."),
      Label1(*this, place("Label1", {600, 600, 3255, 615}, 5),
             "If you wish to automatically start Dayvane when Windows Start, click checkBox above."),
      Label4(*this, place("Label4", {240, 1320, 255, 255}, 8), "2."),
      Label2(*this,
             {.name = "Label2", .box = {600, 1320, 2775, 375}, .tabIndex = 6, .pointer = Pointer::Hand, .link = true},
             "Add Dayvane shortcut to desktop"),
      OKButton(*this, place("OKButton", {840, 1800, 855, 375}, 2), "OK"),
      Command1(*this, place("Command1", {2040, 1800, 735, 375}, 4), "Cancel"),
      services_(services),
      messages_(env.messages),
      app_(app) {
    chkstartup.onClick = [this] { chkstartup_Click(); };
    Label4.onClick = [this] { Label4_Click(); };
    OKButton.onClick = [this] { OKButton_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Label2.onClick = [this] { Label2_Click(); };
}

std::string OptionsDialog::read(std::string_view key) const {
    return services_.settings.read(app_.title, kSection, key);
}

Outcome OptionsDialog::save(std::string_view key, std::string_view value) {
    return services_.settings.save(app_.title, kSection, key, value);
}

void OptionsDialog::tell(std::string_view text) { messages_.show(text); }

void OptionsDialog::tellFailure(std::string_view what, const Outcome& outcome) {
    std::string text(what);
    text += outcome.reason.empty() ? "." : ": " + outcome.reason;
    tell(text);
}

// Comparisons are exact: "true" or "Basic" match nothing.
void OptionsDialog::Form_Load() {
    if (read(kStartupKey) != "TRUE") {
        optbasic.setEnabled(false);
        optfull.setEnabled(false);
        return;
    }
    chkstartup.setValue(kChecked);  // selects the full mode through chkstartup_Click
    optbasic.setEnabled(true);
    optfull.setEnabled(true);
    if (read(kModeKey) == "BASIC") optbasic.setValue(true);
    if (read(kModeKey) == "FULL") optfull.setValue(true);
}

// Every check selects the full mode; unchecking keeps the selection.
void OptionsDialog::chkstartup_Click() {
    const bool on = chkstartup.Value() != kUnchecked;
    optbasic.setEnabled(on);
    optfull.setEnabled(on);
    if (optfull.Enabled()) optfull.setValue(true);
}

void OptionsDialog::Label4_Click() { chkstartup.setValue(chkstartup.Value() == kUnchecked ? kChecked : kUnchecked); }

void OptionsDialog::OKButton_Click() {
    if (chkstartup.Value() == kChecked)
        registerStartup();
    else
        removeStartup();
    Unload();
}

// The Run value comes first: the settings and the confirmation must never
// claim a start with Windows that will not happen.
void OptionsDialog::registerStartup() {
    // No mode selected cannot come from the dialog; it means the default, full.
    const StartMode mode = optbasic.Value() ? StartMode::Basic : StartMode::Full;
    const RunEntry entry = runEntryFor(app_, mode);
    if (const Outcome written = services_.startup.write(entry.name, entry.commandLine); !written) {
        tellFailure(options_text::kNotRegistered, written);
        return;
    }
    Outcome saved = save(kStartupKey, "TRUE");
    if (saved) saved = save(kModeKey, mode == StartMode::Basic ? "BASIC" : "FULL");
    tell(options_text::kRegistered);
    // Registered all the same, but the next opening will not show it.
    if (!saved) tellFailure(options_text::kNotSaved, saved);
}

void OptionsDialog::removeStartup() {
    if (const Outcome removed = services_.startup.remove(app_.baseName); !removed) {
        tellFailure(options_text::kNotRemoved, removed);
        return;
    }
    const Outcome saved = save(kStartupKey, "FALSE");
    tell(options_text::kRemoved);
    if (!saved) tellFailure(options_text::kNotSaved, saved);
}

void OptionsDialog::Command1_Click() { Unload(); }

void OptionsDialog::Label2_Click() {
    if (const Outcome made = services_.shortcuts.createOnDesktop(desktopShortcutFor(app_)); !made) {
        tellFailure(options_text::kNoShortcut, made);
        return;
    }
    tell(options_text::kShortcutMade);
}

}  // namespace dv
