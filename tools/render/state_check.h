// The soak's per-frame check of the scene's state: every sprite and drift value in its range and
// finite, the clock moving forward, every mirror transition ending in time. Pairs with
// state_check.cpp; morvane-render runs it after each frame's advance with --check.
#pragma once

#include <cstdint>
#include <string>

class Scene;

class SceneCheck {
public:
    // `frameSeconds`: the virtual clock's step, so that a transition may end up to one frame late.
    explicit SceneCheck(double frameSeconds) : frameSeconds(frameSeconds) {}

    // Checks the state after a frame's advance and the choice of the configuration to draw. On the
    // first fault returns false and `error` says which value, what it was and where it belongs.
    bool check(const Scene& scene, std::string& error);

    std::int64_t frames = 0;
    std::int64_t transitionsStarted = 0;
    std::int64_t transitionsEnded = 0;
    std::int64_t respawns = 0;

private:
    double frameSeconds;
    float lastTime = -1.0f;
    bool transitionWasActive = false;
    float transitionStart = 0.0f;
    float birthTimes[20] = {};
};
