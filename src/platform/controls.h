#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "date.h"
#include "form.h"
#include "geometry.h"
#include "peers.h"

namespace dv {

enum class Alignment { Left, Center };
enum class ControlKind { Button, Picture, MonthView, Timer, CheckBox, OptionButton, Label, Line, TextBox };
enum class Pointer { Default, Hand };

// A font as designed; an empty face is the form's own font.
struct FontSpec {
    std::string face;
    double points = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const FontSpec&) const = default;
};

struct ControlDesign {
    std::string name;
    TwipsBox box;
    int tabIndex = -1;  // -1: takes no focus
    bool visible = true;
    bool enabled = true;
    FontSpec font{};
    std::optional<unsigned> foreColor{};  // 0x00BBGGRR; none: the system's
    std::optional<unsigned> backColor{};  // none: the parent's background
    Alignment alignment = Alignment::Left;
    Pointer pointer = Pointer::Default;
    std::string toolTip{};
};

// A control as a headless object: its state survives hiding and disabling,
// and the peer only mirrors it.
class Control {
public:
    Control(Form& owner, ControlDesign design);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const ControlDesign& design() const { return design_; }
    const std::string& name() const { return design_.name; }
    Form& form() const { return owner_; }

    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void setVisible(bool visible);
    void SetFocus();
    bool hasFocus() const;
    // 0x00BBGGRR, or none for the parent's background.
    std::optional<unsigned> BackColor() const { return backColor_; }
    void setBackColor(unsigned color);

    // By the peer.
    void mouseMove();
    void gotFocus();

    std::function<void()> onMouseMove;
    std::function<void()> onGotFocus;

    virtual ControlKind kind() const = 0;
    // A form loaded afresh starts from its design.
    virtual void resetToDesign();
    void attach(Toolkit& toolkit, FormPeer& parent);
    void detach() { peer_.reset(); }

protected:
    ControlPeer* peer() const { return peer_.get(); }
    // The new peer is there; it shows the state the design gave it.
    virtual void attached() {}
    virtual void enabledChanged() {}
    void raise(const char* event, const std::function<void()>& handler);

private:
    Form& owner_;
    ControlDesign design_;
    bool enabled_;
    bool visible_;
    std::optional<unsigned> backColor_;
    std::unique_ptr<ControlPeer> peer_;
};

struct ButtonRole {
    bool isDefault = false;  // pressed by Enter
    bool isCancel = false;   // pressed by Esc
};

class CommandButton final : public Control {
public:
    CommandButton(Form& owner, ControlDesign design, std::string caption, ButtonRole role = {});
    const ButtonRole& role() const { return role_; }
    const std::string& Caption() const { return caption_; }
    void click();  // by the peer, or by code

    std::function<void()> onClick;


    ControlKind kind() const override { return ControlKind::Button; }
private:
    std::string caption_;
    ButtonRole role_;
};

// Shows a JPEG from the program's resources at its natural size (scaled
// with the DPI), clipped by the box; without one, only its background.
class PictureBox final : public Control {
public:
    PictureBox(Form& owner, ControlDesign design, int imageResource = 0);
    int imageResource() const { return image_; }


    ControlKind kind() const override { return ControlKind::Picture; }
private:
    int image_;
};

// Colours as 0x00BBGGRR; a part without a colour keeps the system's.
struct MonthViewColors {
    std::optional<unsigned> titleBack, titleText, monthBack, text, trailingText, background;
};

struct MonthViewDesign {
    Date value{2005, 12, 6};
    Date minDate{1753, 1, 1};
    Date maxDate{9999, 12, 31};
    MonthViewColors colors;
};

// A month calendar holding one selected date inside its range. Writing
// Year or Month moves the view; a day the new month lacks settles on its
// last day, and nothing ever leaves the range.
class MonthView final : public Control {
public:
    MonthView(Form& owner, ControlDesign design, MonthViewDesign view);

    const Date& Value() const { return value_; }
    void setValue(const Date& date);
    int Year() const { return value_.year; }
    void setYear(int year);
    int Month() const { return value_.month; }
    void setMonth(int month);
    const Date& MinDate() const { return view_.minDate; }
    const Date& MaxDate() const { return view_.maxDate; }
    const MonthViewColors& colors() const { return view_.colors; }

    // By the peer.
    void userSelected(const Date& date);  // selection changed by the user
    void click();
    void dblClick();

    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void()> onSelChange;

    void resetToDesign() override;

    ControlKind kind() const override { return ControlKind::MonthView; }
private:
    void attached() override;
    Date clamp(const Date& date) const;
    void store(const Date& date);
    MonthViewDesign view_;
    Date value_;
};

class Timer final : public Control {
public:
    Timer(Form& owner, std::string name, int intervalMs, bool enabled = true);

    int Interval() const { return interval_; }
    // Re-arms the timer: the next event comes a whole interval from now.
    void setInterval(int intervalMs);
    void tick();  // by the peer

    std::function<void()> onTimer;

    void resetToDesign() override;

    ControlKind kind() const override { return ControlKind::Timer; }
private:
    void attached() override { rearm(); }
    void enabledChanged() override { rearm(); }
    void rearm();
    int designInterval_;
    int interval_;
};

}  // namespace dv
