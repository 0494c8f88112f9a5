// The soak's per-frame check of the scene's state. Pairs with state_check.h. The bounds are those
// the scene's own rules guarantee; a value outside them is a fault, not a tolerance to widen.
#include "tools/render/state_check.h"

#include <cmath>
#include <cstdio>

#include "scene/mirror_config.h"
#include "scene/scene.h"
#include "sprites/sprite_field.h"

namespace {

// `low <= value < high` (or <= high when `closed`), and finite.
bool within(float value, float low, float high, bool closed) {
    if (!std::isfinite(value)) return false;
    return value >= low && (closed ? value <= high : value < high);
}

std::string describe(const char* name, double value, double low, double high, bool closed) {
    char text[160];
    std::snprintf(text, sizeof text, "%s is %.9g, outside [%g, %g%c", name, value, low, high, closed ? ']' : ')');
    return text;
}

}  // namespace

bool SceneCheck::check(const Scene& scene, std::string& error) {
    char where[64];
    std::snprintf(where, sizeof where, "frame %lld: ", static_cast<long long>(frames));
    const auto fault = [&](const std::string& what) {
        error = where + what;
        return false;
    };
    ++frames;

    if (!std::isfinite(scene.time) || scene.time < lastTime) {
        char text[96];
        std::snprintf(text, sizeof text, "time went from %.9g to %.9g s", lastTime, scene.time);
        return fault(text);
    }
    lastTime = scene.time;
    if (scene.pauseMs < 1 || scene.pauseMs > 1000) return fault(describe("pauseMs", scene.pauseMs, 1, 1000, true));
    if (!scene.currentConfig || scene.currentConfig < scene.mirrorConfigs || scene.currentConfig >= scene.mirrorConfigs + 8)
        return fault("currentConfig is not one of the eight layouts");

    // A transition closes in the first frame whose blend parameter reaches 1: at most one frame
    // after its two seconds. One that starts again while running restarts its own clock.
    const MirrorTransition& transition = mirrorTransition;
    if (transition.active && (!transitionWasActive || transition.startTime != transitionStart)) ++transitionsStarted;
    if (!transition.active && transitionWasActive) ++transitionsEnded;
    if (transition.active) {
        const double running = static_cast<double>(scene.time) - transition.startTime;
        if (running > transition.duration + frameSeconds + 0.002)
            return fault(describe("a transition's running time", running, 0, transition.duration, true));
        if (!within(transition.blendConfig.wedgeAngle, 15.0f, 36.0f, true))
            return fault(describe("the blended wedge angle", transition.blendConfig.wedgeAngle, 15, 36, true));
        if (transition.blendConfig.segmentCount < 10 || transition.blendConfig.segmentCount > 24)
            return fault(describe("the blended segment count", transition.blendConfig.segmentCount, 10, 24, true));
    }
    transitionWasActive = transition.active;
    transitionStart = transition.startTime;

    const SpriteField* field = scene.spriteField;
    if (!field || !field->sprites) return fault("the sprite field is not set up");
    // The drift's targets lie below 1.5 and 360, but a segment's last step adds the rounded
    // difference back to its start in single precision, and after the largest draw (32767) the
    // sum rounds to the bound itself. So the tops are closed, and so are the sprites' that follow.
    if (!within(field->driftScale, 0.25f, 1.5f, true)) return fault(describe("driftScale", field->driftScale, 0.25, 1.5, true));
    if (!within(field->driftSpin, 0.0f, 360.0f, true)) return fault(describe("driftSpin", field->driftSpin, 0, 360, true));
    // 0 until the first respawn opens the first segment.
    if (field->driftSpan < 0 || field->driftSpan > 20) return fault(describe("driftSpan", field->driftSpan, 0, 20, true));
    if (field->driftCount < 0 || field->driftCount > field->driftSpan)
        return fault(describe("driftCount", field->driftCount, 0, field->driftSpan, true));
    if (field->sharedRow < 0 || field->sharedRow > 14) return fault(describe("sharedRow", field->sharedRow, 0, 14, true));

    // x = w * phase * 3 - w with w the chord read at the sprite's own advance: a later sprite's
    // respawn in the same frame may change the layout, so the bound is the widest layout's.
    float w = 0.0f;
    for (const MirrorConfig& config : scene.mirrorConfigs) w = std::fmax(w, config.chord);
    for (int i = 0; i < kSpriteCount; ++i) {
        const Sprite& s = field->sprites[i];
        char name[48];
        const auto value = [&](const char* what) {
            std::snprintf(name, sizeof name, "sprite %d's %s", i, what);
            return name;
        };
        if (!within(s.phase, 0.0f, 1.0f, true)) return fault(describe(value("phase"), s.phase, 0, 1, true));
        if (!within(s.position[0], -w - 1e-4f, 2 * w + 1e-4f, true))
            return fault(describe(value("x"), s.position[0], -w, 2 * w, true));
        if (!within(s.position[1], -2.4f, 0.0f, true)) return fault(describe(value("y"), s.position[1], -2.4, 0, true));
        if (!within(s.position[2], 0.0f, 2.0f, true)) return fault(describe(value("z"), s.position[2], 0, 2, true));
        if (!within(s.scale, 0.25f, 1.75f, true)) return fault(describe(value("scale"), s.scale, 0.25, 1.75, true));
        if (!within(s.spin, 0.0f, 720.0f, true)) return fault(describe(value("spin"), s.spin, 0, 720, true));
        if (!within(s.angle, 0.0f, 720.0f, true)) return fault(describe(value("angle"), s.angle, 0, 720, true));
        if (!within(s.alpha, 0.5f, 1.0f, true)) return fault(describe(value("alpha"), s.alpha, 0.5, 1, true));
        if (s.atlasRow < 0 || s.atlasRow > 14) return fault(describe(value("atlas row"), s.atlasRow, 0, 14, true));
        if (!within(s.texU, 0.0f, 1.0f, true) || !within(s.texV, 0.0f, 1.0f, true) ||
            !within(s.texU + s.texWidth, 0.0f, 1.0f, true) || !within(s.texV + s.texHeight, 0.0f, 1.0f, true) ||
            !within(s.aspect, 0.0f, 16.0f, false))
            return fault(value("texture rectangle or aspect is outside the sheet"));
        // A life lasts 16 s: the birth time moves on only by a respawn, and never lies in the future.
        if (!std::isfinite(s.birthTime) || s.birthTime > scene.time)
            return fault(value("birth time is not finite or lies after the scene's time"));
        if (frames > 1 && s.birthTime != birthTimes[i]) ++respawns;
        birthTimes[i] = s.birthTime;
    }
    return true;
}
