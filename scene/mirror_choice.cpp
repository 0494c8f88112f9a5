// The Scene's choice of kaleidoscope layout: the random pick, the selection with its smooth
// transition, and the layout to draw in a frame. Pairs with scene.h and mirror_config.h.
#include "scene/mirror_config.h"
#include "scene/random.h"
#include "scene/scene.h"

void Scene::pickRandomMirrorConfig(bool animate) {
    // The product in double: 32767 gives 7.99999..., truncated to 7, never 8.
    const std::int32_t index = static_cast<std::int32_t>(uniformRandom() * 8.0);
    selectMirrorConfig(index, animate);
}

void Scene::selectMirrorConfig(std::int32_t index, bool animate) {
    const MirrorConfig* previous = currentConfig;
    index %= 8;
    if (index < 0) index += 8;
    currentConfig = &mirrorConfigs[index];
    if (!animate) return;

    MirrorTransition& transition = mirrorTransition;
    if (transition.active) {
        // Continue from the angle on screen now, even when interrupting another transition.
        transition.fromAngle = blendedAngle(transition, time);
    } else {
        transition.fromAngle = previous ? previous->wedgeAngle : currentConfig->wedgeAngle;
        transition.active = true;
    }
    transition.duration = 2.0f;
    transition.startTime = time;
    transition.toAngle = currentConfig->wedgeAngle;
}

const MirrorConfig& Scene::configToDraw() {
    MirrorTransition& transition = mirrorTransition;
    if (!transition.active) return *currentConfig;
    // The frame in which the two seconds are over draws the end angle and closes the transition.
    if ((time - transition.startTime) / transition.duration >= 1.0f) transition.active = false;
    buildMirrorConfig(transition.blendConfig, blendedAngle(transition, time));
    return transition.blendConfig;
}
