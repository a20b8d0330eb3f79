#include "peers_win32.h"

namespace dv::win32 {

namespace {

// A window timer of the form; the form routes WM_TIMER back to it.
class TimerPeerImpl final : public TimerPeer {
public:
    TimerPeerImpl(FormWindow& parent, Timer& timer) : parent_(parent), id_(parent.addTimer(timer)) {}
    ~TimerPeerImpl() override { parent_.removeTimer(id_); }

    void arm(int intervalMs) override {
        if (intervalMs > 0)
            ::SetTimer(parent_.hwnd(), id_, static_cast<UINT>(intervalMs), nullptr);
        else
            ::KillTimer(parent_.hwnd(), id_);
    }

private:
    FormWindow& parent_;
    UINT_PTR id_;
};

}  // namespace

std::unique_ptr<TimerPeer> makeTimerPeer(FormWindow& parent, Timer& timer) {
    return std::make_unique<TimerPeerImpl>(parent, timer);
}

}  // namespace dv::win32
