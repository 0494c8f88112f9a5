// The geometry of one kaleidoscope wedge and the blend of the wedge angle during a transition.
// Pairs with mirror_config.h; the Scene's choice of layout is in mirror_choice.cpp.
#include "scene/mirror_config.h"

#include <cmath>

MirrorTransition mirrorTransition;

namespace {
constexpr float kStraightDown = 4.712385f;  // 270 degrees, in radians
constexpr float kRimRadius = 4.0f;
}  // namespace

float tableWedgeAngle(std::int32_t index) { return 360.0f / static_cast<float>(10 + 2 * index); }

float smoothStep(float d) { return d * d * (3.0f - 2.0f * d); }

float blendedAngle(const MirrorTransition& transition, float time) {
    float d = (time - transition.startTime) / transition.duration;
    if (d > 1.0f) d = 1.0f;
    return transition.fromAngle + smoothStep(d) * (transition.toAngle - transition.fromAngle);
}

void buildMirrorConfig(MirrorConfig& config, float wedgeAngle) {
    config.wedgeAngle = wedgeAngle;

    // A remainder of more than half a degree adds a wedge; up to half a degree is dropped.
    std::int32_t n = 0;
    if (wedgeAngle > 0.0f) {
        n = static_cast<std::int32_t>(360.0f / wedgeAngle);
        if (360.0f - static_cast<float>(n) * wedgeAngle > 0.5f) n += 1;
    }
    config.segmentCount = n;

    config.rimStart[0] = kRimRadius * std::cos(kStraightDown);
    config.rimStart[1] = kRimRadius * std::sin(kStraightDown);
    config.rimStart[2] = 0.0f;
    const float rimAngle = (wedgeAngle + 270.0f) * kRadiansPerDegree;
    config.rimEnd[0] = kRimRadius * std::cos(rimAngle);
    config.rimEnd[1] = kRimRadius * std::sin(rimAngle);
    config.rimEnd[2] = 0.0f;

    const float dx = config.rimStart[0] - config.rimEnd[0];
    const float dy = config.rimStart[1] - config.rimEnd[1];
    const float dz = config.rimStart[2] - config.rimEnd[2];
    config.chord = std::sqrt(dx * dx + dy * dy + dz * dz);

    // First edge: keep x >= 0. Second edge: keep the side of the line at 90 + wedgeAngle degrees
    // that lies away from the direction wedgeAngle.
    config.clipStart[0] = 1.0;
    config.clipStart[1] = 0.0;
    config.clipStart[2] = 0.0;
    config.clipStart[3] = 0.0;
    const float normalAngle = (wedgeAngle + 270.0f - 90.0f) * kRadiansPerDegree;
    config.clipEnd[0] = std::cos(normalAngle);
    config.clipEnd[1] = std::sin(normalAngle);
    config.clipEnd[2] = 0.0;
    config.clipEnd[3] = 0.0;
}
