// The kaleidoscope from one drawing of the sprite field, for software rasterizers, where every
// fragment costs processor time: the field is drawn once for the area of one wedge into a texture,
// and copies of it are laid around the centre, turned and mirrored as the clip-plane drawing turns
// and mirrors the field. Pairs with wedge_copies.cpp; Scene::drawKaleidoscope chooses.
#pragma once

#include <cstdint>
#include <vector>

struct FramebufferCalls;
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

    // A new frame begins: none of its viewports is drawn yet.
    void startFrame() { drawnViewports.clear(); }
    // Draws the wedges of `config` into the current viewport from one drawing of the field, all but
    // those from `firstClipped` on (an overlap during a transition), which the caller draws through
    // clip planes over them; leaves the sprites' drawing state on. Returns false, having drawn
    // nothing, where the wedge does not fit the viewport or a texture, or nothing may be read.
    bool lay(Scene& scene, const MirrorConfig& config, std::int32_t& firstClipped);
    // Clears the logo band's rectangle and leaves the scissor on around it: the caller draws that
    // rectangle the clip-plane way, band under the sprites as everywhere else, and calls finish.
    void clipToBand();
    // Restores the state that lay found.
    void finish();
    // Where the field is drawn; Undecided before the first lay.
    Surface surface() const { return surface_; }

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
    // State that lay and clipToBand change, put back by restoreState.
    struct SavedState {
        std::int32_t viewport[4] = {0, 0, 0, 0};
        float projection[16] = {};
        bool scissorOn = false;
        std::int32_t scissorBox[4] = {0, 0, 0, 0};
        std::int32_t readBuffer = 0;
        std::int32_t drawBuffer = 0;
        std::int32_t framebuffer = 0;
    };

    void chooseSurface();
    bool reserve(std::int32_t columns, std::int32_t rows);
    bool allocateTiles(std::int32_t columns, std::int32_t rows, std::int32_t tileWidth);
    bool attachFramebuffer();
    void release();
    bool overlapsDrawnViewport(const std::int32_t* corner) const;
    void saveState();
    void restoreState() const;
    Rect drawField(Scene& scene, const Area& area, float wedgeAngle);
    void copyFromWindow(const Area& area, const Rect& covered);
    void layWedges(const Area& area, const Rect& covered, float wedgeAngle, std::int32_t firstClipped);
    void layWedge(const Area& area, const Rect& covered, double wedgeAngle, std::int32_t wedge);

    const bool windowReadable;
    Surface surface_ = Surface::Undecided;
    FramebufferCalls* calls = nullptr;  // owned, with Surface::Framebuffer
    unsigned int framebuffer = 0;
    // The textures hold an area of up to this many columns and rows: the largest asked for so far.
    std::int32_t reservedColumns = 0, reservedRows = 0;
    // The smallest area the textures could not be made for (out of memory, or too large): larger
    // ones are not tried again.
    std::int32_t refusedColumns = 0, refusedRows = 0;
    std::int32_t textureHeight = 0;
    std::vector<Tile> tiles;
    SavedState saved;
    // The viewports of this frame drawn so far: a corner of the window that one of them covers
    // holds its picture, so the field cannot be drawn there to be read back.
    std::vector<std::int32_t> drawnViewports;  // four a viewport
};
