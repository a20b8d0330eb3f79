#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
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

// Lets the toolkit see a peer go, so tests can check that unloading
// destroyed it.
class FakePeerTracking {
public:
    std::function<void()> onDestroyed;

protected:
    FakePeerTracking() = default;
    ~FakePeerTracking() {
        if (onDestroyed) onDestroyed();
    }
};

class FakeFormPeer final : public FormPeer, public FakePeerTracking {
public:
    // Border, small caption and menu bar of a tool window, in pixels.
    static constexpr Size kFrame{6, 42};

    FakeFormPeer(Form& form, int dpi, std::uintptr_t handle)
        : form(form), caption(form.Caption()), state(form.windowState()), dpiSetting(dpi), handleValue(handle) {}

    void setCaption(const std::string& text) override { caption = text; }
    void show() override {
        visible = true;
        ++shownCount;
        captionWhenShown = caption;
    }
    void hide() override {
        visible = false;
        ++hiddenCount;
    }
    void bringToFront() override { ++frontCount; }
    void setWindowState(WindowState s) override { state = s; }
    Size outerSize() const override {
        return {twipsToPixels(form.design().clientWidth, dpiSetting) + kFrame.width,
                twipsToPixels(form.design().clientHeight, dpiSetting) + kFrame.height};
    }
    Point position() const override { return topLeft; }
    void moveTo(Point p) override {
        topLeft = p;
        ++moveCount;
    }
    int dpi() const override { return dpiSetting; }
    std::uintptr_t handle() const override { return handleValue; }

    // Exclusive, like Rect.
    int right() const { return topLeft.x + outerSize().width; }
    int bottom() const { return topLeft.y + outerSize().height; }

    Form& form;
    std::string caption;
    std::string captionWhenShown;  // what the first frame shows
    bool visible = false;
    int shownCount = 0;
    int hiddenCount = 0;
    int frontCount = 0;
    int moveCount = 0;
    WindowState state;
    Point topLeft;
    int dpiSetting;
    std::uintptr_t handleValue;
};

// One fake for every kind of control: it records what the runtime asked
// and lets a test act as the user (pick a day) or the clock (elapse).
class FakeControlPeer final : public ControlPeer, public FakePeerTracking {
public:
    explicit FakeControlPeer(Control& c)
        : control(c), enabled(c.Enabled()), visible(c.Visible()), backColor(c.BackColor()) {}
    void setEnabled(bool e) override { enabled = e; }
    void setVisible(bool v) override { visible = v; }
    void setFocus() override { focused = true; }
    bool hasFocus() const override { return focused; }
    void setBackColor(unsigned color) override { backColor = color; }
    void setChecked(int value) override { checked = value; }
    void setSelStart(int position) override { selStart = position; }
    void setSelection(const Date& date) override {
        selection = date;
        ++selectionWrites;
    }
    void arm(int intervalMs) override {
        interval = intervalMs;
        ++armCount;
    }

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
    bool enabled;
    bool visible;
    bool focused = false;
    std::optional<unsigned> backColor;
    int checked = 0;
    std::optional<int> selStart;
    std::optional<Date> selection;
    int selectionWrites = 0;
    int interval = 0;
    int armCount = 0;
};

// Names for what a test reads of a month view or a timer.
using FakeControlState = FakeControlPeer;
using FakeMonthViewPeer = FakeControlPeer;
using FakeTimerPeer = FakeControlPeer;

// Must outlive every form made with it: its peers report back to it.
class FakeToolkit final : public Toolkit {
public:
    int dpi = 96;  // of the windows made from now on

    std::unique_ptr<FormPeer> createForm(Form& form) override {
        auto peer = std::make_unique<FakeFormPeer>(form, dpi, nextHandle_++);
        track(forms_, form, *peer);
        return peer;
    }
    std::unique_ptr<ControlPeer> createControl(FormPeer&, Control& control) override {
        auto peer = std::make_unique<FakeControlPeer>(control);
        track(controls_, control, *peer);
        return peer;
    }

    // The live peer of an object, or nullptr.
    FakeFormPeer* form(const Form& f) const { return find(forms_, f); }
    FakeControlPeer* peer(const Control& c) const { return find(controls_, c); }
    FakeControlPeer* control(const Control& c) const { return peer(c); }
    FakeControlPeer* monthView(const MonthView& v) const { return peer(v); }
    FakeControlPeer* timer(const Timer& t) const { return peer(t); }

    // Live form peers, oldest first.
    std::vector<FakeFormPeer*> liveForms() const {
        std::vector<FakeFormPeer*> all;
        for (const auto& entry : forms_) all.push_back(entry.second);
        return all;
    }
    int created() const { return created_; }
    int destroyed() const { return destroyed_; }
    int alive() const { return created_ - destroyed_; }

private:
    template <class Key, class Peer>
    using Registry = std::vector<std::pair<const Key*, Peer*>>;

    template <class Key, class Peer>
    void track(Registry<Key, Peer>& registry, const Key& key, Peer& peer) {
        registry.emplace_back(&key, &peer);
        ++created_;
        peer.onDestroyed = [this, &registry, p = &peer] {
            std::erase_if(registry, [p](const auto& entry) { return entry.second == p; });
            ++destroyed_;
        };
    }

    template <class Key, class Peer>
    static Peer* find(const Registry<Key, Peer>& registry, const Key& key) {
        for (const auto& [k, peer] : registry)
            if (k == &key) return peer;
        return nullptr;
    }

    Registry<Form, FakeFormPeer> forms_;
    Registry<Control, FakeControlPeer> controls_;
    int created_ = 0;
    int destroyed_ = 0;
    std::uintptr_t nextHandle_ = 0x10010;
};

}  // namespace dv::fakes
