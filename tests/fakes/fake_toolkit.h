#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/choice_controls.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/geometry.h"
#include "platform/peers.h"
#include "platform/text_controls.h"

// Peers that record what the forms runtime asked of them, so that tests can
// read the "screen" without a window system.
namespace dv::fakes {

// Tells the toolkit when a peer goes, so tests can check that unloading destroyed it.
struct FakePeerTracking {
    std::function<void()> onDestroyed;
    ~FakePeerTracking() { if (onDestroyed) onDestroyed(); }
};

struct FakeFormPeer final : FormPeer, FakePeerTracking {
    FakeFormPeer(Form& form, int dpi, std::uintptr_t handle)
        : form(form), caption(form.Caption()), state(form.windowState()), dpiSetting(dpi), handleValue(handle) {}

    void setCaption(const std::string& text) override { caption = text; }
    void show() override {
        visible = true;
        ++shownCount;
        captionWhenShown = caption;
    }
    void hide() override { visible = false; }
    void bringToFront() override { ++frontCount; }
    void setWindowState(WindowState s) override { state = s; }
    // The frame of a tool window (border, small caption, menu bar) is 6 x 42 px.
    Size outerSize() const override {
        return {twipsToPixels(form.design().clientWidth, dpiSetting) + 6,
                twipsToPixels(form.design().clientHeight, dpiSetting) + 42};
    }
    Point position() const override { return topLeft; }
    void moveTo(Point p) override { topLeft = p; }
    int dpi() const override { return dpiSetting; }
    std::uintptr_t handle() const override { return handleValue; }

    Form& form;
    std::string caption;
    std::string captionWhenShown;  // what the first frame shows
    bool visible = false;
    int shownCount = 0, frontCount = 0;
    WindowState state;
    Point topLeft;
    int dpiSetting;
    std::uintptr_t handleValue;
};

// One fake for every kind of control: it records what the runtime asked
// and lets a test act as the user (pick a day) or the clock (elapse).
struct FakeControlPeer final : ControlPeer, FakePeerTracking {
    explicit FakeControlPeer(Control& c)
        : control(c), enabled(c.Enabled()), visible(c.Visible()), backColor(c.BackColor()) {}
    void setEnabled(bool e) override { enabled = e; }
    void setVisible(bool v) override { visible = v; }
    void setFocus() override { focused = true; }
    bool hasFocus() const override { return focused; }
    void setBackColor(unsigned color) override { backColor = color; }
    void setChecked(int value) override { checked = value; }
    void setSelStart(int position) override { selStart = position; }
    void setSelection(const Date& date) override { selection = date; }
    void arm(int intervalMs) override { interval = intervalMs; ++armCount; }

    // The user picks a day on screen; the control shows it before it reports.
    void pick(const Date& date) {
        selection = date;
        static_cast<MonthView&>(control).userSelected(date);
    }
    bool running() const { return interval > 0; }
    // The interval passes: like a system timer, a stopped one stays silent.
    void elapse() {
        if (running()) static_cast<Timer&>(control).tick();
    }

    Control& control;
    bool enabled, visible, focused = false;
    std::optional<unsigned> backColor;
    std::optional<int> selStart;
    std::optional<Date> selection;
    int checked = 0, interval = 0, armCount = 0;
};

// Must outlive every form made with it: its peers report back to it.
class FakeToolkit final : public Toolkit {
public:
    int dpi = 96;  // of the windows made from now on

    std::unique_ptr<FormPeer> createForm(Form& form) override {
        return track(forms_, std::make_unique<FakeFormPeer>(form, dpi, nextHandle_++));
    }
    std::unique_ptr<ControlPeer> createControl(FormPeer&, Control& control) override {
        return track(controls_, std::make_unique<FakeControlPeer>(control));
    }

    // The live peer of an object, or nullptr.
    FakeFormPeer* form(const Form& f) const {
        for (FakeFormPeer* p : forms_)
            if (&p->form == &f) return p;
        return nullptr;
    }
    FakeControlPeer* peer(const Control& c) const {
        for (FakeControlPeer* p : controls_)
            if (&p->control == &c) return p;
        return nullptr;
    }
    const std::vector<FakeFormPeer*>& liveForms() const { return forms_; }  // oldest first
    int created() const { return created_; }
    int alive() const { return static_cast<int>(forms_.size() + controls_.size()); }

private:
    template <class Peer>
    std::unique_ptr<Peer> track(std::vector<Peer*>& live, std::unique_ptr<Peer> peer) {
        live.push_back(peer.get());
        ++created_;
        peer->onDestroyed = [&live, p = peer.get()] { std::erase(live, p); };
        return peer;
    }

    std::vector<FakeFormPeer*> forms_;
    std::vector<FakeControlPeer*> controls_;
    int created_ = 0;
    std::uintptr_t nextHandle_ = 0x10010;
};

}  // namespace dv::fakes
