// One wedge layout of the kaleidoscope, and the process-wide record of the smooth change between two.
#pragma once

#include <cstdint>

// The renderer's one degree-to-radian factor, for every angle it turns from degrees into radians.
// The fixed value of the design, a little under pi / 180.
constexpr float kRadiansPerDegree = 0.01745328f;

struct MirrorConfig {
    float wedgeAngle;  // degrees
    std::int32_t segmentCount;
    float rimStart[3];  // point at radius 4 on the wedge's first edge (straight down)
    float rimEnd[3];  // point at radius 4 on the second edge, at 270 degrees + wedgeAngle
    float chord;  // |rimStart - rimEnd|: the wedge's width at radius 4
    double clipStart[4];  // plane of the first edge
    double clipEnd[4];  // plane of the second edge
};

struct MirrorTransition {
    bool active = false;
    float fromAngle = 0.0f;  // degrees
    float toAngle = 0.0f;  // degrees
    float startTime = 0.0f;  // seconds of scene time
    float duration = 2.0f;  // seconds
    MirrorConfig blendConfig = {};
};

// Process-wide, initially inactive; outlives the frame that starts a transition.
extern MirrorTransition mirrorTransition;

// Fills every field of `config` from a wedge angle in degrees.
void buildMirrorConfig(MirrorConfig& config, float wedgeAngle);

// The angle to use for `index` of the eight table entries: 360 / (10 + 2 index), as a float.
float tableWedgeAngle(std::int32_t index);

// The smooth step d * d * (3 - 2d) for d in [0, 1].
float smoothStep(float d);

// The wedge angle on screen at scene time `time`: from fromAngle toward toAngle over `duration`,
// smoothed, held at toAngle once the duration is over.
float blendedAngle(const MirrorTransition& transition, float time);
