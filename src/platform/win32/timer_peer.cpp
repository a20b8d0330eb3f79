#include "control_peers.h"

namespace dv::win32 {

void TimerPeer::arm(int intervalMs) {
    if (intervalMs > 0)
        ::SetTimer(parent_.hwnd(), id_, static_cast<UINT>(intervalMs), nullptr);
    else
        ::KillTimer(parent_.hwnd(), id_);
}

}  // namespace dv::win32
