// The kaleidoscope from one drawing of the sprite field, for software rasterizers, where every
// fragment costs processor time: the field is drawn once for the area of one wedge, copied into
// textures, and the copies are laid around the centre, turned and mirrored as the clip-plane drawing
// turns and mirrors the field. Pairs with wedge_copies.cpp; Scene::drawKaleidoscope chooses.
#pragma once

#include <cstdint>
#include <vector>

struct MirrorConfig;
class Scene;

// How the kaleidoscope's wedges are drawn.
enum class MirrorDrawing : std::uint8_t {
    ClipPlanes,  // the field once per wedge under two clip planes
    Copies,  // the field once, its copies laid as textured triangles
};

// Whether GL_RENDERER / GL_VENDOR name a rasterizer that runs on the processor. Either may be null.
bool isSoftwareRenderer(const char* renderer, const char* vendor);
// The drawing for the current context: copies on a software rasterizer, clip planes elsewhere.
MirrorDrawing mirrorDrawingForContext();

class WedgeCopies {
public:
    WedgeCopies() = default;
    // Must run with the context current: deletes the textures.
    ~WedgeCopies();
    WedgeCopies(const WedgeCopies&) = delete;
    WedgeCopies& operator=(const WedgeCopies&) = delete;

    // Draws the wedges of `config` into the current viewport from one drawing of the field, all but
    // those from `firstClipped` on (an overlap during a transition), which the caller draws through
    // clip planes over them; leaves the sprites' drawing state on. Returns false, having drawn
    // nothing, where the wedge does not fit the viewport or a texture.
    bool lay(Scene& scene, const MirrorConfig& config, std::int32_t& firstClipped);
    // Clears the logo band's rectangle and leaves the scissor on around it: the caller draws that
    // rectangle the clip-plane way, band under the sprites as everywhere else, and calls finish.
    void clipToBand();
    // Restores the scissor and read-buffer state that lay found.
    void finish();

private:
    struct Tile {
        unsigned int texture = 0;
        std::int32_t firstColumn = 0;  // of the wedge's area
        std::int32_t columns = 0;
        std::int32_t textureWidth = 0;
    };
    bool fit(std::int32_t viewportWidth, std::int32_t viewportHeight);
    void release();

    std::int32_t fittedWidth = -1, fittedHeight = -1;
    bool fits = false;
    double radius = 0.0;  // centre to the farthest corner of the viewport, pixels
    std::int32_t columns = 0;  // of the wedge's area: the radius and a margin each side
    std::int32_t textureHeight = 0;
    std::vector<Tile> tiles;
    float projection[16] = {};
    std::int32_t savedViewport[4] = {0, 0, 0, 0};
    // State that lay changes and finish restores.
    bool scissorWasOn = false;
    std::int32_t scissorBox[4] = {0, 0, 0, 0};
    std::int32_t readBuffer = 0;
};
