#include "form.h"

#include <algorithm>
#include <array>
#include <exception>

#include "controls.h"
#include "services.h"

namespace dv {

Form::Form(FormsEnv env, FormDesign design)
    : env_(env), design_(std::move(design)), caption_(design_.caption) {}

// The controls of a derived form are gone by now and have taken themselves
// off the lists, so only the window itself is left to destroy.
Form::~Form() { Unload(); }

void Form::remove(const Control& control) { std::erase(controls_, &control); }
void Form::remove(const MenuItem& item) { std::erase(menu_, &item); }

void Form::load() {
    if (peer_ || loading_) return;
    loading_ = true;
    caption_ = design_.caption;
    state_ = WindowState::Normal;
    peer_ = env_.toolkit.createForm(*this);
    for (Control* control : controls_) {
        control->resetToDesign();
        control->attach(env_.toolkit, *peer_);
    }
    runHandler(design_.name + ".Form_Load", [this] { Form_Load(); });
    loading_ = false;
}

void Form::Show() {
    load();
    if (!peer_) return;  // Form_Load unloaded it again
    if (visible_) {
        peer_->bringToFront();
        return;
    }
    visible_ = true;
    peer_->show();
}

void Form::Hide() {
    if (!visible_) return;
    visible_ = false;
    if (peer_) peer_->hide();
}

void Form::Unload() {
    if (!peer_) return;
    visible_ = false;
    for (Control* control : controls_) control->detach();
    peer_.reset();
}

void Form::setCaption(std::string caption) {
    caption_ = std::move(caption);
    if (peer_) peer_->setCaption(caption_);
}

void Form::setWindowState(WindowState state) {
    if (state_ == state) return;
    state_ = state;
    if (peer_) peer_->setWindowState(state);
}

void Form::bringToFront() {
    if (peer_ && visible_) peer_->bringToFront();
}

Size Form::outerSize() const { return peer_ ? peer_->outerSize() : Size{}; }
Point Form::position() const { return peer_ ? peer_->position() : Point{}; }
void Form::moveTo(Point topLeft) {
    if (peer_) peer_->moveTo(topLeft);
}
int Form::dpi() const { return peer_ ? peer_->dpi() : 96; }
std::uintptr_t Form::hWnd() const { return peer_ ? peer_->handle() : 0; }

void Form::runHandler(std::string_view handlerName, const std::function<void()>& handler) {
    if (!handler) return;
    std::string failure;
    try {
        handler();
        return;
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "an unknown error";
    }
    try {
        env_.messages.show("Dayvane could not complete " + std::string(handlerName) + ": " + failure);
    } catch (...) {
        // Nothing is left to tell the user with; the program runs on.
    }
}

void Form::peerEvent(FormEvent event, int detail) {
    static constexpr std::array<const char*, 10> kHandlers{
        "Form_QueryUnload",      "Form_TrayNotify", "Form_TaskbarCreated", "Form_DisplayChanged",
        "Form_RestoreRequested", "Form_Activate",   "Form_MouseMove",      "Form_DialogKey",
        "Form_MovedByUser",      "Form_SightChanged"};
    runHandler(design_.name + "." + kHandlers.at(static_cast<std::size_t>(event)),
               [&] { dispatch(event, detail); });
}

void Form::dispatch(FormEvent event, int detail) {
    switch (event) {
        case FormEvent::QueryUnload: return Form_QueryUnload();
        case FormEvent::TrayNotify: return Form_TrayNotify(static_cast<TrayMouse>(detail));
        case FormEvent::TaskbarCreated: return Form_TaskbarCreated();
        case FormEvent::DisplayChanged: return Form_DisplayChanged();
        case FormEvent::RestoreRequested: return Form_RestoreRequested();
        case FormEvent::Activate: return Form_Activate();
        case FormEvent::MouseMove: return Form_MouseMove();
        case FormEvent::DialogKey: return Form_DialogKey(static_cast<DialogKey>(detail));
        case FormEvent::MovedByUser: return Form_MovedByUser();
        case FormEvent::SightChanged: return Form_SightChanged(static_cast<Sight>(detail));
    }
}


MenuItem::MenuItem(Form& owner, std::string name, std::string caption, MenuItem* parent)
    : owner_(owner), name_(std::move(name)), caption_(std::move(caption)), parent_(parent) {
    owner_.add(*this);
}

MenuItem::~MenuItem() { owner_.remove(*this); }

void MenuItem::click() { owner_.runHandler(owner_.design().name + "." + name_ + "_Click", onClick); }

}  // namespace dv
