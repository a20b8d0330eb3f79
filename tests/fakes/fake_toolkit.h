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

// What every fake control peer records.
struct FakeControlState {
    explicit FakeControlState(const Control& c) : control(c), enabled(c.Enabled()), visible(c.Visible()) {}
    const Control& control;
    bool enabled;
    bool visible;
    bool focused = false;
};

class FakeControlPeer final : public ControlPeer, public FakeControlState, public FakePeerTracking {
public:
    explicit FakeControlPeer(const Control& c) : FakeControlState(c), backColor(c.BackColor()) {}
    void setEnabled(bool e) override { enabled = e; }
    void setVisible(bool v) override { visible = v; }
    void setFocus() override { focused = true; }
    bool hasFocus() const override { return focused; }
    void setBackColor(unsigned color) override { backColor = color; }
    void setChecked(int value) override { checked = value; }
    void setSelStart(int position) override { selStart = position; }

    std::optional<unsigned> backColor;
    int checked = 0;
    std::optional<int> selStart;
};

class FakeMonthViewPeer final : public MonthViewPeer, public FakeControlState, public FakePeerTracking {
public:
    explicit FakeMonthViewPeer(MonthView& v) : FakeControlState(v), view(v) {}
    void setEnabled(bool e) override { enabled = e; }
    void setVisible(bool v) override { visible = v; }
    void setFocus() override { focused = true; }
    bool hasFocus() const override { return focused; }
    void setSelection(const Date& date) override {
        selection = date;
        ++selectionWrites;
    }

    // The user picks a day on screen; the control shows it before it reports.
    void pick(const Date& date) {
        selection = date;
        view.userSelected(date);
    }

    MonthView& view;
    std::optional<Date> selection;
    int selectionWrites = 0;
};

class FakeTimerPeer final : public TimerPeer, public FakePeerTracking {
public:
    explicit FakeTimerPeer(Timer& t) : timer(t) {}
    void arm(int intervalMs) override {
        interval = intervalMs;
        ++armCount;
    }
    bool running() const { return interval > 0; }
    // The interval passes: like a system timer, a stopped one stays silent.
    void elapse() {
        if (running()) timer.tick();
    }

    Timer& timer;
    int interval = 0;
    int armCount = 0;
};

// Must outlive every form made with it: its peers report back to it.
class FakeToolkit final : public Toolkit {
public:
    int dpi = 96;  // of the windows made from now on

    std::unique_ptr<FormPeer> createForm(Form& form) override {
        auto peer = std::make_unique<FakeFormPeer>(form, dpi, nextHandle_++);
        track(forms_, form, *peer);
        return peer;
    }
    std::unique_ptr<ControlPeer> createButton(FormPeer&, CommandButton& button) override { return makeControl(button); }
    std::unique_ptr<ControlPeer> createPicture(FormPeer&, PictureBox& picture) override { return makeControl(picture); }
    std::unique_ptr<MonthViewPeer> createMonthView(FormPeer&, MonthView& view) override {
        auto peer = std::make_unique<FakeMonthViewPeer>(view);
        track(monthViews_, view, *peer);
        return peer;
    }
    std::unique_ptr<ControlPeer> createCheckBox(FormPeer&, CheckBox& box) override { return makeControl(box); }
    std::unique_ptr<ControlPeer> createOptionButton(FormPeer&, OptionButton& option) override {
        return makeControl(option);
    }
    std::unique_ptr<ControlPeer> createLabel(FormPeer&, Label& label) override { return makeControl(label); }
    std::unique_ptr<ControlPeer> createLine(FormPeer&, Line& line) override { return makeControl(line); }
    std::unique_ptr<ControlPeer> createTextBox(FormPeer&, TextBox& text) override { return makeControl(text); }
    std::unique_ptr<TimerPeer> createTimer(FormPeer&, Timer& timer) override {
        auto peer = std::make_unique<FakeTimerPeer>(timer);
        track(timers_, timer, *peer);
        return peer;
    }

    // The live peer of an object, or nullptr.
    FakeFormPeer* form(const Form& f) const { return find(forms_, f); }
    FakeMonthViewPeer* monthView(const MonthView& v) const { return find(monthViews_, v); }
    FakeTimerPeer* timer(const Timer& t) const { return find(timers_, t); }
    FakeControlPeer* peer(const Control& c) const { return find(controls_, c); }
    FakeControlState* control(const Control& c) const {
        if (FakeControlPeer* p = find(controls_, c)) return p;
        for (const auto& [key, peer] : monthViews_)
            if (key == &c) return peer;
        return nullptr;
    }

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

    std::unique_ptr<ControlPeer> makeControl(const Control& control) {
        auto peer = std::make_unique<FakeControlPeer>(control);
        track(controls_, control, *peer);
        return peer;
    }

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
    Registry<MonthView, FakeMonthViewPeer> monthViews_;
    Registry<Timer, FakeTimerPeer> timers_;
    int created_ = 0;
    int destroyed_ = 0;
    std::uintptr_t nextHandle_ = 0x10010;
};

}  // namespace dv::fakes
