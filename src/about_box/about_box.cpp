#include "about_box.h"

#include "maker.h"

namespace dv {

namespace {

FormDesign aboutBoxDesign() {
    return {.name = "frmAbout",
            .caption = "About",  // completed at load
            .clientWidth = 5040,
            .clientHeight = 2970,
            .border = BorderStyle::FixedDialog,
            .showInTaskbar = false,
            .centred = true};
}

// The box's own font, which every control without one of its own uses.
const FontSpec kBoxFont{.face = "MS Sans Serif", .points = 8.25};

FontSpec underlined(FontSpec font) {
    font.underline = true;
    return font;
}

}  // namespace

AboutBox::AboutBox(FormsEnv env, AboutBoxServices services, const AppIdentity& identity)
    : Form(env, aboutBoxDesign()),
      lblTitle(*this,
               {.name = "lblTitle",
                .box = {480, 120, 3885, 360},
                .tabIndex = 2,
                .font = {.face = "Times New Roman", .points = 14.25, .bold = true, .italic = true},
                .foreColor = 0xC00000},  // dark blue
               "Dayvane-Free Version"),
      Line1(*this, "Line1", {.x1 = 120, .y1 = 600, .x2 = 5669, .y2 = 600, .color = 0xFFFFFF, .widthPixels = 2}),
      Label1(*this, {.name = "Label1", .box = {480, 720, 2535, 255}, .tabIndex = 4, .font = kBoxFont}, ""),
      Label2(*this, {.name = "Label2", .box = {480, 1080, 3615, 375}, .tabIndex = 5, .font = kBoxFont}, ""),
      Label4(*this,
             {.name = "Label4",
              .box = {480, 1680, 1935, 255},
              .tabIndex = 6,
              .font = underlined(kBoxFont),
              .foreColor = 0xFF0000,  // blue
              .pointer = Pointer::Hand,
              .link = true},
             "Visit our Web Site"),
      cmdSysInfo(*this, {.name = "cmdSysInfo", .box = {480, 2280, 1245, 465}, .tabIndex = 1, .font = kBoxFont},
                 "&System Info..."),
      Command1(*this,
               {.name = "Command1",
                .box = {2040, 2280, 1095, 465},
                .tabIndex = 3,
                .font = kBoxFont,
                .toolTip = "Via Email"},
               "Contact Us"),
      cmdOK(*this, {.name = "cmdOK", .box = {3480, 2280, 1260, 465}, .tabIndex = 0, .font = kBoxFont}, "OK",
            {.isDefault = true, .isCancel = true}),
      services_(services),
      identity_(identity),
      messages_(env.messages) {
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdSysInfo.onClick = [this] { cmdSysInfo_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Label4.onClick = [this] { Label4_Click(); };
}

void AboutBox::Form_Load() { setCaption("About " + identity_.title); }

void AboutBox::cmdOK_Click() { Unload(); }

void AboutBox::cmdSysInfo_Click() { StartSysInfo(); }

// The mail link ends quietly whatever goes wrong: the shell tells the user
// itself when no mail program takes the address.
void AboutBox::Command1_Click() {
    try {
        services_.shell.open(hWnd(), "mailto:" + std::string(maker::contactEmail()), ShowCommand::Maximized);
    } catch (...) {
    }
}

void AboutBox::Label4_Click() { services_.shell.open(hWnd(), maker::webSite(), ShowCommand::Normal); }

}  // namespace dv
