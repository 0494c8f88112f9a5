// The renderer of the saver: viewport and projection, frame clock and pacing, the eight kaleidoscope
// configurations with their transitions, and the sprite field. Created, rendered and destroyed with
// one OpenGL context current.
#pragma once

#include <cstdint>

#include "scene/mirror_config.h"

class SpriteField;

class Scene {
public:
    // The client size in pixels. The GL context must be current.
    Scene(std::int32_t width, std::int32_t height);
    // A scene for the logic alone, with no GL context: seeded, layouts built and the first chosen,
    // clock started, the sprite field constructed but not set up (no sprites, no textures). Its
    // render must not be called.
    struct WithoutGraphics {};
    Scene(std::int32_t width, std::int32_t height, WithoutGraphics);
    // Must run while the GL context is still current: the sprite field deletes its textures.
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Composes one frame into the back buffer. Only bit 16 of `flags` is read (mirrors on).
    // Returns true: the caller swaps buffers.
    bool render(std::int32_t flags);

    // The clock, then the sprite field, moved on to this frame's time.
    void advance();
    void startClock();
    void updateClock();
    void pickRandomMirrorConfig(bool animate);
    void selectMirrorConfig(std::int32_t index, bool animate);
    // The blended layout while a transition runs (closing it in its last frame), else currentConfig.
    const MirrorConfig& configToDraw();
    void drawKaleidoscope(const MirrorConfig& config);

    MirrorConfig mirrorConfigs[8];
    SpriteField* spriteField = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    MirrorConfig* currentConfig = nullptr;
    bool mirrorsOn = true;
    float framesPerSecond = 10.0f;
    float time = 0.0f;  // seconds since the clock start, in whole milliseconds
    float lastMeasureTime = 0.0f;
    std::int32_t frameCount = 0;
    std::int32_t targetFps = 30;
    std::int32_t pauseMs = 41;  // the host sleeps this long after each frame; 1..1000
};
