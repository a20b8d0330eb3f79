#include "readme_window.h"

#include "readme_text.h"

namespace dv {

namespace {

constexpr unsigned kGreen = 0x008000;

FormDesign readmeDesign() {
    return {.name = "ThumbFrm5",
            .caption = "Form1",
            .clientWidth = 4635,
            .clientHeight = 6030,
            .border = BorderStyle::None,
            .showInTaskbar = false,
            .centred = true,
            .backColor = kGreen};
}

}  // namespace

ReadmeWindow::ReadmeWindow(FormsEnv env)
    : Form(env, readmeDesign()),
      Label1(*this,
             {.name = "Label1",
              .box = {360, 120, 3930, 285},
              .tabIndex = 0,
              .font = {.face = "Times New Roman", .points = 12, .bold = true},
              .foreColor = 0xFFFFFF,
              .alignment = Alignment::Center},
             "ReadMe - Dayvane"),
      Picture1(*this, {.name = "Picture1", .box = {180, 135, 330, 330}, .tabIndex = 1, .backColor = kGreen}),
      Label3(*this,
             {.name = "Label3",
              .box = {1920, 5640, 825, 240},
              .tabIndex = 2,
              .font = {.face = "MS Sans Serif", .points = 9.75, .bold = true},
              .foreColor = 0xFFFF00,
              .backColor = kGreen,
              .alignment = Alignment::Center},
             "OK"),
      // The window's default font of the classic designer, which the text's lines were written for.
      Text1(*this,
            {.name = "Text1",
             .box = {120, 360, 4335, 5175},
             .tabIndex = 3,
             .font = {.face = "MS Sans Serif", .points = 8.25},
             .backColor = 0xC0E0FF},
            {.multiLine = true, .readOnly = true, .border = false}, readmeText()) {
    Text1.onMouseMove = [this] { Text1_MouseMove(); };
    Text1.onGotFocus = [this] { Text1_GotFocus(); };
    Label3.onMouseMove = [this] { Label3_MouseMove(); };
    Label3.onClick = [this] { Label3_Click(); };
}

void ReadmeWindow::Form_Activate() {
    Label3.setBackColor(okcolor::kNormal);
    Text1.setSelStart(0);
}

void ReadmeWindow::Form_MouseMove() { Label3.setBackColor(okcolor::kNormal); }
void ReadmeWindow::Text1_MouseMove() { Label3.setBackColor(okcolor::kNormal); }
void ReadmeWindow::Label3_MouseMove() { Label3.setBackColor(okcolor::kHover); }

void ReadmeWindow::Text1_GotFocus() { Picture1.SetFocus(); }

void ReadmeWindow::Label3_Click() { Hide(); }

// A window without a frame has no close box: the keyboard must be able to
// put it away as "OK" does.
void ReadmeWindow::Form_DialogKey(DialogKey) { Label3_Click(); }

// Alt+F4 too: the window is only ever put away, so "Add own photo" shows this same one again.
void ReadmeWindow::Form_QueryUnload() { Label3_Click(); }

}  // namespace dv
