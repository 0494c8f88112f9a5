// The kaleidoscope from one drawing of the sprite field, for software rasterizers, where every
// fragment costs processor time: the field is drawn once for the area of one wedge into a texture,
// and copies of it are laid around the centre, turned and mirrored as the clip-plane drawing turns
// and mirrors the field. Pairs with wedge_copies.cpp; Scene::drawFrame chooses.
#pragma once

#include <cstdint>
#include <vector>

struct FramebufferCalls;
struct MirrorConfig;
struct SceneViewport;
class SpriteField;

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
    // Where the field is drawn before it is copied: into a texture through a framebuffer object,
    // or, where the context has none, into a corner of the window, read back from there.
    enum class Surface : std::uint8_t { Undecided, Framebuffer, Window, None };

    // `windowReadable`: whether the window may be read back where the context has no framebuffer
    // objects. Only a window of the saver's own may: another program can destroy its window at any
    // moment, and Mesa's software rasterizer crashes in a copy from a drawable that went away.
    explicit WedgeCopies(bool windowReadable);
    // Must run with the context current: deletes the textures and the framebuffer.
    ~WedgeCopies();
    WedgeCopies(const WedgeCopies&) = delete;
    WedgeCopies& operator=(const WedgeCopies&) = delete;

    // Where the field is drawn, decided at the first call; the context must be current.
    Surface surface();
    // Makes the textures fit the largest area the copies draw this frame and the one before, in any
    // of `viewports` of any drawable (`frame` tells one frame from the next): a window that shrank
    // frees what it no longer needs from its second frame at the new size and draws as one made at
    // that size; monitors and outputs of different sizes share one set. Before each drawable's
    // first drawField.
    void fitTextures(const SceneViewport* viewports, std::int32_t count, std::uint64_t frame);
    // The field inside the first wedge of `config`, for the current viewport and its projection,
    // drawn once: into the texture, or into the viewport's bottom-left corner of the window (which
    // must be cleared already), copied into textures from there and that corner cleared again.
    // Changes the viewport, the projection and the sprites' drawing state; the caller sets them
    // again. False, having drawn nothing, where the viewport is too small for copies to show what
    // the clip planes show, the wedge does not fit the viewport or the textures, or the window may
    // not be read.
    bool drawField(const SpriteField& field, const MirrorConfig& config);
    // Lays the copies of the last drawField into the current viewport (the one it was drawn for):
    // every wedge before the one returned. That wedge and those after it overlap the first ones (a
    // transition's), and are left to the clip planes, which blend them over the copies as they would
    // over their own earlier wedges. Leaves blending off and the texture mode GL_REPLACE.
    std::int32_t lay(const MirrorConfig& config);

    // The rectangle of one wedge's area for a viewport, in pixels: the wedge from the centre to the
    // farthest corner, opening along +x with the centre kMargin columns in and `halfRows` up.
    struct Area {
        double radius = 0.0;
        double halfAngle = 0.0;  // radians
        double slope = 0.0;  // tan(halfAngle)
        std::int32_t columns = 0;
        std::int32_t halfRows = 0;
        std::int32_t rows = 0;
    };
    // A rectangle of the area, in pixels, right and top excluded.
    struct Rect {
        std::int32_t left = 0, bottom = 0, right = 0, top = 0;
    };

private:
    struct Tile {
        unsigned int texture = 0;
        std::int32_t firstColumn = 0;  // of the area
        std::int32_t textureWidth = 0;
    };

    bool reserve(std::int32_t columns, std::int32_t rows);
    std::int32_t textureSide(std::int32_t pixels) const;
    bool allocateTiles(std::int32_t columns, std::int32_t rows, std::int32_t tileWidth);
    bool attachFramebuffer();
    void release();
    void copyFromWindow(const std::int32_t* viewport);
    void layWedge(std::int32_t wedge);

    const bool windowReadable;
    Surface surface_ = Surface::Undecided;
    FramebufferCalls* calls = nullptr;  // owned, with Surface::Framebuffer
    unsigned int framebuffer = 0;
    // Whether textures may have any size (OpenGL 2.0); else powers of two.
    bool anySize = false;
    // The largest area asked for in the frame `fittedFrame` and in the one before.
    std::uint64_t fittedFrame = 0;
    std::int32_t frameColumns = 0, frameRows = 0, lastColumns = 0, lastRows = 0;
    // The textures hold an area of up to this many columns and rows.
    std::int32_t reservedColumns = 0, reservedRows = 0;
    // The smallest area the textures could not be made for (out of memory, or too large): larger
    // ones are not tried again.
    std::int32_t refusedColumns = 0, refusedRows = 0;
    std::int32_t textureHeight = 0;
    std::vector<Tile> tiles;
    // What the last drawField drew: the area, the part of it the sprites cover, the wedge angle.
    Area area;
    Rect covered;
    double wedgeAngle = 0.0;
};
