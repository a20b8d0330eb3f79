#pragma once

#include <memory>
#include <vector>

#include "child_peer.h"
#include "platform/choice_controls.h"
#include "platform/text_controls.h"

// One native peer class per kind of control; the toolkit makes them.
namespace dv::win32 {

// The month views' fitted fonts, made once for each DPI and size and shared
// by the views and by every load of their window: Wine's month calendar
// keeps a bold copy of every font it is handed, for good.
class MonthViewFonts {
public:
    HFONT find(int dpi, int width, int height) const;
    HFONT keep(int dpi, int width, int height, UniqueFont font);

private:
    struct Entry {
        int dpi, width, height;
        UniqueFont font;
    };
    std::vector<Entry> entries_;
};

class ButtonPeer final : public ChildPeer {
public:
    ButtonPeer(FormWindow& parent, CommandButton& button);
    void onCommand(WORD code) override;
    bool answersDialogKey(int id) const override;
    HBRUSH controlColor(HDC) override { return nullptr; }

private:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    CommandButton& button_;
};

// Check boxes and option buttons keep their state in the headless control:
// the native button only shows it.
class CheckBoxPeer final : public ChildPeer {
public:
    CheckBoxPeer(FormWindow& parent, CheckBox& box);
    void onCommand(WORD code) override;
    void setChecked(int value) override;

private:
    CheckBox& box_;
};

class OptionButtonPeer final : public ChildPeer {
public:
    OptionButtonPeer(FormWindow& parent, OptionButton& option);
    void onCommand(WORD code) override;
    void setChecked(int value) override;

private:
    OptionButton& option_;
};

// A STATIC that reports clicks (SS_NOTIFY), and so also mouse moves. Only
// a link takes the focus (Tab): it shows a focus rectangle around its text,
// and Enter or Space clicks it.
class LabelPeer final : public ChildPeer {
public:
    LabelPeer(FormWindow& parent, Label& label);
    void onCommand(WORD code) override;

private:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void drawFocus(HDC dc) const;
    Label& label_;
};

// Read-only text reports WM_CTLCOLORSTATIC, so the design's colours apply.
class TextBoxPeer final : public ChildPeer {
public:
    TextBoxPeer(FormWindow& parent, TextBox& text);
    void onCommand(WORD code) override;
    void setSelStart(int position) override;

private:
    TextBox& text_;
};

// A horizontal or vertical line: a child the size of the stroke, filled
// with its colour, so the form's client area clips it like any control.
class LinePeer final : public ChildPeer {
public:
    LinePeer(FormWindow& parent, Line& line);
    void onDpiChanged(int dpi) override;
    HBRUSH controlColor(HDC dc) override;

private:
    Line& line_;
    UniqueBrush brush_;
};

// The photo at its natural size for the DPI, over the control's background.
class PicturePeer final : public ChildPeer {
public:
    PicturePeer(FormWindow& parent, PictureBox& picture);
    ~PicturePeer() override;
    void onDpiChanged(int dpi) override;
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    int resource_;
    UniqueBitmap bitmap_;
};

class MonthViewPeer final : public ChildPeer {
public:
    MonthViewPeer(FormWindow& parent, MonthView& view, MonthViewFonts& fonts);
    void setSelection(const Date& date) override;
    LRESULT onNotify(const NMHDR& header) override;
    void onDpiChanged(int dpi) override;
    void onColoursChanged() override { applyColors(); }
    HBRUSH controlColor(HDC) override { return nullptr; }

private:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void applyColors();
    void fitFont(int dpi);
    bool fits(int width, int height) const;

    MonthView& view_;
    MonthViewFonts& fonts_;
    bool lastDown_ = false;
    LONG lastDownTime_ = 0;
    POINT lastDownAt_{};
};

// A window timer of the form; the form routes WM_TIMER back to it.
class TimerPeer final : public ControlPeer {
public:
    TimerPeer(FormWindow& parent, Timer& timer) : parent_(parent), id_(parent.addTimer(timer)) {}
    ~TimerPeer() override { parent_.removeTimer(id_); }
    TimerPeer(const TimerPeer&) = delete;
    TimerPeer& operator=(const TimerPeer&) = delete;
    void arm(int intervalMs) override;

private:
    FormWindow& parent_;
    UINT_PTR id_;
};

}  // namespace dv::win32
