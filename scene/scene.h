// The renderer of the saver: viewport and projection, frame clock and pacing, the eight kaleidoscope
// configurations with their transitions, and the sprite field. Created, rendered and destroyed with
// one OpenGL context current.
#pragma once

#include <cstdint>

#include "scene/mirror_config.h"
#include "scene/viewports.h"
#include "scene/wedge_copies.h"

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
    // The same frame on several monitors: one clock update and one advance, then the picture drawn
    // into each viewport (see monitorViewports), centred there with that viewport's aspect ratio.
    // With one viewport over the whole window the frame is render's. Returns true.
    bool renderViewports(std::int32_t flags, const SceneViewport* viewports, std::int32_t count);
    // A frame in two steps, for a host that shows one animation in several drawables: beginFrame
    // once (the mirror flag, the clock and the sprites moved on; nothing drawn), then drawFrame into
    // each drawable with its context current. Returns the layout to draw.
    const MirrorConfig& beginFrame(std::int32_t flags);
    // Clears the current drawable whole and draws the picture into each of `viewports` (pixels of
    // the drawable, from its bottom-left corner); with none, into width x height. The GL state it
    // changes is back as it found it, but for the viewport and projection, which are width x
    // height's. Flushes.
    void drawFrame(const MirrorConfig& config, const SceneViewport* viewports, std::int32_t count);
    // glViewport and the fixed perspective for that rectangle of the window, in pixels.
    void setViewport(std::int32_t x, std::int32_t y, std::int32_t viewportWidth, std::int32_t viewportHeight);
    // The window took a new client size: viewport and projection follow from the next frame on;
    // the animation goes on where it was. A side of 0 draws nothing.
    void resize(std::int32_t newWidth, std::int32_t newHeight);

    // The clock, then the sprite field, moved on to this frame's time.
    void advance();
    void startClock();
    void updateClock();
    // After a spell without frames (the display was off): the next clock update starts a new rate
    // measurement instead of measuring the dark spell as one very slow second. The clock does the
    // same by itself after the process was stopped and continued.
    void restartRateMeasurement() { rateRestartPending = true; }
    void pickRandomMirrorConfig(bool animate);
    void selectMirrorConfig(std::int32_t index, bool animate);
    // The blended layout while a transition runs (closing it in its last frame), else currentConfig.
    const MirrorConfig& configToDraw();
    // The kaleidoscope into the current viewport, camera set and drawable cleared: through clip
    // planes, or from `copies` where they hold this viewport's field (WedgeCopies::drawField).
    void drawKaleidoscope(const MirrorConfig& config, WedgeCopies* copies = nullptr);

    MirrorConfig mirrorConfigs[8];
    SpriteField* spriteField = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    MirrorConfig* currentConfig = nullptr;
    bool mirrorsOn = true;
    float framesPerSecond = 10.0f;  // until the clock start, which sets 50
    float time = 0.0f;  // seconds since the clock start, in whole milliseconds
    float lastMeasureTime = 0.0f;
    std::int32_t frameCount = 0;
    std::uint64_t frameNumber = 0;  // beginFrame's count
    std::int32_t targetFps = 30;
    std::int32_t pauseMs = 41;  // the host sleeps this long after each frame; 1..1000
    bool rateRestartPending = false;
    // Chosen at set-up from the renderer; may be changed between frames.
    MirrorDrawing mirrorDrawing = MirrorDrawing::ClipPlanes;
    WedgeCopies* wedgeCopies = nullptr;  // owned; made at the first frame drawn from copies
    // Whether the copies may read the window back where the context cannot draw them into a
    // texture: false for a window another program owns. Set before the first frame.
    bool windowReadable = true;
};
