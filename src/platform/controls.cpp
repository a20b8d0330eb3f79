#include "controls.h"

#include <algorithm>

namespace dv {

Control::Control(Form& owner, ControlDesign design)
    : owner_(owner),
      design_(std::move(design)),
      enabled_(design_.enabled),
      visible_(design_.visible),
      backColor_(design_.backColor) {
    owner_.add(*this);
}

Control::~Control() {
    peer_.reset();
    owner_.remove(*this);
}

void Control::resetToDesign() {
    enabled_ = design_.enabled;
    visible_ = design_.visible;
    backColor_ = design_.backColor;
}

void Control::attach(Toolkit& toolkit, FormPeer& parent) {
    peer_ = toolkit.createControl(parent, *this);
    attached();
}

void Control::setBackColor(unsigned color) {
    backColor_ = color;
    if (ControlPeer* p = peer()) p->setBackColor(color);
}

void Control::mouseMove() { raise("MouseMove", onMouseMove); }
void Control::gotFocus() { raise("GotFocus", onGotFocus); }

void Control::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (ControlPeer* p = peer()) p->setEnabled(enabled);
    enabledChanged();
}

void Control::setVisible(bool visible) {
    visible_ = visible;
    if (ControlPeer* p = peer()) p->setVisible(visible);
}

void Control::SetFocus() {
    if (ControlPeer* p = peer(); p && enabled_ && visible_) p->setFocus();
}

bool Control::hasFocus() const {
    const ControlPeer* p = peer();
    return p && p->hasFocus();
}

void Control::raise(const char* event, const std::function<void()>& handler) {
    owner_.runHandler(owner_.design().name + "." + name() + "_" + event, handler);
}

CommandButton::CommandButton(Form& owner, ControlDesign design, std::string caption, ButtonRole role)
    : Control(owner, std::move(design)), caption_(std::move(caption)), role_(role) {}

void CommandButton::click() {
    if (Enabled()) raise("Click", onClick);
}

PictureBox::PictureBox(Form& owner, ControlDesign design, int imageResource)
    : Control(owner, std::move(design)), image_(imageResource) {}

MonthView::MonthView(Form& owner, ControlDesign design, MonthViewDesign view)
    : Control(owner, std::move(design)), view_(view), value_(clamp(view.value)) {}

Date MonthView::clamp(const Date& date) const {
    const Date settled = settleDay(date.year, std::clamp(date.month, 1, 12), date.day);
    return std::clamp(settled, view_.minDate, view_.maxDate);
}

void MonthView::store(const Date& date) {
    value_ = clamp(date);
    if (ControlPeer* p = peer()) p->setSelection(value_);
}

void MonthView::setValue(const Date& date) { store(date); }

void MonthView::setYear(int year) {
    if (year < view_.minDate.year || year > view_.maxDate.year) return;
    store({year, value_.month, value_.day});
}

void MonthView::setMonth(int month) {
    if (month < 1 || month > 12) return;
    store({value_.year, month, value_.day});
}

void MonthView::userSelected(const Date& date) {
    const Date before = value_;
    value_ = clamp(date);
    if (value_ != before) raise("SelChange", onSelChange);
}

void MonthView::resetToDesign() {
    Control::resetToDesign();
    value_ = clamp(view_.value);
}

void MonthView::click() { raise("Click", onClick); }
void MonthView::dblClick() { raise("DblClick", onDblClick); }

void MonthView::attached() { peer()->setSelection(value_); }

Timer::Timer(Form& owner, std::string name, int intervalMs, bool enabled)
    : Control(owner, {.name = std::move(name), .box = {}, .tabIndex = -1, .visible = false, .enabled = enabled}),
      designInterval_(intervalMs),
      interval_(intervalMs) {}

void Timer::resetToDesign() {
    Control::resetToDesign();
    interval_ = designInterval_;
}

void Timer::setInterval(int intervalMs) {
    interval_ = std::max(0, intervalMs);
    rearm();
}

void Timer::rearm() {
    if (ControlPeer* p = peer()) p->arm(Enabled() ? interval_ : 0);
}

void Timer::tick() {
    if (Enabled() && interval_ > 0) raise("Timer", onTimer);
}

}  // namespace dv
