// X11 platform: display power from the server's DPMS state, asked at most twice a second since
// each question is a round trip to the server. Pairs with host/platform.h (isDisplayOff).
// Xlib first: the DPMS header relies on its types.
#include "host/platform/x11_internal.h"

#include <X11/Xmd.h>
#include <X11/extensions/dpms.h>

namespace {

// Milliseconds an answer is kept before the server is asked again.
constexpr std::uint32_t kQueryIntervalMs = 500;

struct PowerState {
    bool known = false;       // asked at least once
    bool supported = false;   // the server has DPMS and a monitor that uses it
    bool off = false;
    std::uint32_t askedAt = 0;  // platform tick of the last question
};
PowerState power;

bool askServer(Display* d) {
    if (!power.supported) return false;
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    if (!DPMSInfo(d, &level, &enabled)) return false;
    // Standby and suspend blank the monitor as well: anything but on counts as off. With DPMS
    // disabled the server keeps the monitor on whatever level it last reported.
    return enabled && level != DPMSModeOn;
}

}  // namespace

namespace x11 {

bool isDisplayOff() {
    Display* d = x11::openedDisplay();
    if (!d) return false;
    const std::uint32_t now = getTickCount();
    if (power.known && now - power.askedAt < kQueryIntervalMs) return power.off;
    if (!power.known) {
        int eventBase = 0, errorBase = 0;
        power.supported = DPMSQueryExtension(d, &eventBase, &errorBase) && DPMSCapable(d);
    }
    power.known = true;
    power.askedAt = now;
    power.off = askServer(d);
    return power.off;
}

}  // namespace x11
