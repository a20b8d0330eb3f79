#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry.h"
#include "peers.h"

namespace dv {

class Control;
class MenuItem;
class MessageBox;

enum class BorderStyle { FixedToolWindow, FixedDialog, FixedSingle, None };

// Enter and Esc, when no default or cancel button of the form takes them.
enum class DialogKey { Enter, Escape };

// What the user did to the form's notification-area icon.
enum class TrayMouse { Other, LeftUp, RightUp, KeySelect };

// Whether the user can see a window at all: shown, not minimised, the
// session unlocked and the display on. The peer reports a change before it
// reaches the screen, so that what the window shows is right at once.
enum class Sight { Seen, Unseen };

// What a peer reports; each runs the form's handler of the same name.
enum class FormEvent {
    QueryUnload,
    TrayNotify,  // detail: TrayMouse
    TaskbarCreated,
    DisplayChanged,
    RestoreRequested,
    Activate,
    MouseMove,
    DialogKey,  // detail: DialogKey
    MovedByUser,
    SightChanged,  // detail: Sight
};

struct FormDesign {
    std::string name;  // also names the native window class
    std::string caption;
    int clientWidth = 0;   // twips
    int clientHeight = 0;  // twips
    BorderStyle border = BorderStyle::FixedSingle;
    bool showInTaskbar = true;
    int iconResource = 0;  // 0: no icon of its own
    bool centred = false;  // on the screen, at every load
    std::optional<unsigned> backColor{};  // 0x00BBGGRR; none: the system's
    bool enterPressesFocusedButton = true;  // else Enter goes to the default button or the form
};

// What every form needs from the platform.
struct FormsEnv {
    Toolkit& toolkit;
    MessageBox& messages;  // where a failing handler is reported
};

// A window as a headless object. The rules of the runtime live here:
// showing a form that is not loaded loads it first (Form_Load included),
// showing a visible one brings it to the front, hiding keeps all state,
// unloading destroys the window and the next show loads it afresh.
class Form {
public:
    Form(FormsEnv env, FormDesign design);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    void Show();
    void Hide();
    void Unload();
    bool loaded() const { return peer_ != nullptr; }
    bool visible() const { return visible_; }

    const std::string& Caption() const { return caption_; }
    void setCaption(std::string caption);
    WindowState windowState() const { return state_; }
    void setWindowState(WindowState state);
    // Frontmost and foreground, also when it is already visible.
    void bringToFront();

    // Pixels at the window's DPI; zero while not loaded.
    Size outerSize() const;
    Point position() const;
    void moveTo(Point topLeft);
    int dpi() const;
    std::uintptr_t hWnd() const;

    const FormDesign& design() const { return design_; }
    const std::vector<Control*>& controls() const { return controls_; }
    const std::vector<MenuItem*>& menuItems() const { return menu_; }
    FormPeer* peer() const { return peer_.get(); }

    // Runs an event handler. A failure is reported in a message box that
    // names the handler; it never ends the program.
    void runHandler(std::string_view handlerName, const std::function<void()>& handler);

    // Reported by the peer.
    void peerEvent(FormEvent event, int detail = 0);
    void peerStateChanged(WindowState state) { state_ = state; }

protected:
    virtual void Form_Load() {}
    // The close box; by default the form unloads itself.
    virtual void Form_QueryUnload() { Unload(); }
    virtual void Form_TrayNotify(TrayMouse) {}
    virtual void Form_TaskbarCreated() {}
    virtual void Form_DisplayChanged() {}
    virtual void Form_RestoreRequested() {}
    virtual void Form_Activate() {}
    virtual void Form_MouseMove() {}
    virtual void Form_DialogKey(DialogKey) {}
    // The user dragged the window, or moved it from its system menu.
    virtual void Form_MovedByUser() {}
    virtual void Form_SightChanged(Sight) {}

private:
    friend class Control;
    friend class MenuItem;
    void add(Control& control) { controls_.push_back(&control); }
    void add(MenuItem& item) { menu_.push_back(&item); }
    void remove(const Control& control);
    void remove(const MenuItem& item);
    void load();
    void dispatch(FormEvent event, int detail);

    FormsEnv env_;
    FormDesign design_;
    std::string caption_;
    bool visible_ = false;
    bool loading_ = false;
    WindowState state_ = WindowState::Normal;
    std::vector<Control*> controls_;  // in design order
    std::vector<MenuItem*> menu_;     // in menu order, parents first
    std::unique_ptr<FormPeer> peer_;
};

// An entry of a form's menu bar, or of the sub-menu of its parent.
class MenuItem {
public:
    MenuItem(Form& owner, std::string name, std::string caption, MenuItem* parent = nullptr);
    ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;
    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    const MenuItem* parent() const { return parent_; }
    void click();  // by the peer when the user chooses the item

    std::function<void()> onClick;

private:
    Form& owner_;
    std::string name_;
    std::string caption_;
    MenuItem* parent_;
};

}  // namespace dv
