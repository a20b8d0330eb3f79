#pragma once

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/text_controls.h"

namespace dv {

// The backgrounds of the "OK" label, 0x00BBGGRR.
namespace okcolor {
inline constexpr unsigned kNormal = 0x808000;
inline constexpr unsigned kHover = 0xA0A000;
}  // namespace okcolor

// A borderless window with the read-me text and an "OK" label that lights
// up under the mouse and puts the window away.
class ReadmeWindow final : public Form {
public:
    explicit ReadmeWindow(FormsEnv env);

    Label Label1;
    PictureBox Picture1;  // holds the keyboard focus, so the text never does
    Label Label3;
    TextBox Text1;

private:
    void Form_Activate() override;
    void Form_MouseMove() override;
    void Form_DialogKey(DialogKey key) override;
    void Form_QueryUnload() override;
    void Text1_MouseMove();
    void Text1_GotFocus();
    void Label3_MouseMove();
    void Label3_Click();
};

}  // namespace dv
