// The program's one loop: every waiting message first, then one frame, then the pause the frame
// clock asks for. Pairs with saver.h (runFrameLoop) and saver_window.cpp, which runs it.
#include "host/measurement.h"
#include "host/saver.h"
#include "host/saver_constants.h"

std::int32_t frameFlags(std::uint32_t useMirrors) { return useMirrors != 0 ? kMirrorFlag : 0; }

void runFrameLoop(const SaverSettings& settings, const FrameStep& step) {
    bool dark = false;
    for (;;) {
        // The system's stop closes the saver as a measured run's last frame does, below.
        if (platform::takeStopRequest()) platform::destroyWindow(settings.window);
        platform::Message message;
        if (platform::peekMessage(message)) {
            if (message.message == WM_QUIT) return;
            platform::translateMessage(message);
            platform::dispatchMessage(message);
            continue;
        }
        if (platform::isDisplayOff()) {
            // Nothing to see: no frame and no clock update; the clock's time is real elapsed time, so
            // the animation simply goes on from there when the display comes back.
            dark = true;
            platform::sleepMs(kDisplayOffPauseMs);
            continue;
        }
        if (dark) {
            // The dark spell is no frame rate to pace by.
            dark = false;
            if (step.resume) step.resume(step.target);
        }
        if (step.render(step.target, frameFlags(settings.useMirrors)) && framePresented()) {
            // A measured run's last frame: the saver closes as it does on a stop request.
            platform::destroyWindow(settings.window);
            continue;
        }
        // Read after the frame: the frame clock may have changed it while drawing. The clock keeps it
        // within 1..1000 ms; a value below that must not become an unsigned sleep of days.
        const std::int32_t pause = step.pauseMs(step.target);
        platform::sleepMs(pause > 0 ? static_cast<std::uint32_t>(pause) : 0u);
    }
}
