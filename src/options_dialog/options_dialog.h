#pragma once

#include <string>
#include <string_view>

#include "platform/app_identity.h"
#include "platform/choice_controls.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/services.h"
#include "platform/text_controls.h"
#include "options_dialog_services.h"
#include "startup_entry.h"

namespace dv {

// frmstartup: start with Windows, and the desktop shortcut. Modeless; OK
// and Cancel unload it, so every load reads the settings afresh.
class OptionsDialog final : public Form {
public:
    OptionsDialog(FormsEnv env, OptionsDialogServices services, const AppIdentity& app);

    // Design order. The start modes are hidden yet decide what OK stores.
    OptionButton optfull;
    OptionButton optbasic;
    CheckBox chkstartup;
    Label Label3;
    Label Label1;
    Label Label4;
    Label Label2;
    CommandButton OKButton;
    CommandButton Command1;

private:
    void Form_Load() override;
    void chkstartup_Click();
    void Label4_Click();
    void OKButton_Click();
    void Command1_Click();
    void Label2_Click();

    void registerStartup();
    void removeStartup();
    std::string read(std::string_view key) const;
    Outcome save(std::string_view key, std::string_view value);
    void tell(std::string_view text);
    void tellFailure(std::string_view what, const Outcome& outcome);

    OptionsDialogServices services_;
    MessageBox& messages_;
    const AppIdentity& app_;
};

}  // namespace dv
