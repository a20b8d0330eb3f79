#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "about_box_services.h"
#include "platform/app_identity.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/services.h"
#include "platform/text_controls.h"

namespace dv {

inline constexpr std::string_view kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// Where the system information tool is looked for, in this order.
namespace sysinfo {
inline constexpr std::string_view kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr std::string_view kPathValue = "PATH";  // the program file itself
inline constexpr std::string_view kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr std::string_view kLocationValue = "MSINFO";  // its folder
inline constexpr std::string_view kFileInLocation = "\\MSINFO32.EXE";
inline constexpr std::string_view kFileInSystemFolder = "\\msinfo32.exe";  // where current Windows keeps it
}  // namespace sysinfo

// The About box: product, maker, the mail and web-site links, and the
// launcher of the system information tool.
class AboutBox final : public Form {
public:
    AboutBox(FormsEnv env, AboutBoxServices services, const AppIdentity& identity);

    Label lblTitle;
    Line Line1;
    Label Label1;
    Label Label2;
    Label Label4;
    CommandButton cmdSysInfo;
    CommandButton Command1;
    CommandButton cmdOK;

    // Starts the tool, or tells the user that it cannot.
    void StartSysInfo();
    // True when the value was read; KeyVal then holds it as text.
    bool GetKeyValue(RegistryRoot KeyRoot, std::string_view KeyName, std::string_view SubKeyRef,
                     std::string& KeyVal);

private:
    void Form_Load() override;
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Command1_Click();
    void Label4_Click();

    std::optional<std::string> sysInfoPath();

    AboutBoxServices services_;
    const AppIdentity& identity_;
    MessageBox& messages_;
};

}  // namespace dv
