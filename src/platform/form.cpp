#include "form.h"

#include <algorithm>
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

void Form::peerCloseRequested() {
    runHandler(design_.name + ".Form_QueryUnload", [this] { Form_QueryUnload(); });
}

void Form::peerStateChanged(WindowState state) { state_ = state; }

void Form::peerTrayNotify(unsigned mouseMessage) {
    runHandler(design_.name + ".Form_TrayNotify", [&] { Form_TrayNotify(mouseMessage); });
}

void Form::peerTaskbarCreated() {
    runHandler(design_.name + ".Form_TaskbarCreated", [this] { Form_TaskbarCreated(); });
}

void Form::peerDisplayChanged() {
    runHandler(design_.name + ".Form_DisplayChanged", [this] { Form_DisplayChanged(); });
}

void Form::peerRestoreRequested() {
    runHandler(design_.name + ".Form_RestoreRequested", [this] { Form_RestoreRequested(); });
}

void Form::peerActivated() {
    runHandler(design_.name + ".Form_Activate", [this] { Form_Activate(); });
}

void Form::peerMouseMove() {
    runHandler(design_.name + ".Form_MouseMove", [this] { Form_MouseMove(); });
}

void Form::peerDialogKey(DialogKey key) {
    runHandler(design_.name + ".Form_DialogKey", [&] { Form_DialogKey(key); });
}

void Form::peerSightChanged(Sight sight) {
    runHandler(design_.name + ".Form_SightChanged", [&] { Form_SightChanged(sight); });
}

MenuItem::MenuItem(Form& owner, std::string name, std::string caption, MenuItem* parent)
    : owner_(owner), name_(std::move(name)), caption_(std::move(caption)), parent_(parent) {
    owner_.add(*this);
}

MenuItem::~MenuItem() { owner_.remove(*this); }

void MenuItem::click() { owner_.runHandler(owner_.design().name + "." + name_ + "_Click", onClick); }

}  // namespace dv
