// The kaleidoscope laid from copies of one drawing of the field. Pairs with wedge_copies.h.
//
// Camera and clip planes both sit on the viewing axis, so every wedge of the clip-plane drawing is
// the screen image of the unturned field inside the wedge from 270 degrees to 270 + the wedge angle,
// turned (and, for every second wedge, mirrored) about the centre of the viewport. That image is
// drawn once, turned to open along +x, with the same pixel scale into a texture of the saver's own
// (a framebuffer object), or where the context has none into the bottom-left corner of the window,
// copied into textures from there. It is then laid out again as one textured triangle (or a few
// trapezoids, one per texture) per wedge, cut to the rectangle the sprites cover. Where a
// transition's last wedges overlap the first ones, those are left to the clip planes, which blend
// them over the copies as they would over their own earlier wedges.
#include "scene/wedge_copies.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <new>
#include <string>

#include "scene/framebuffer.h"
#include "scene/mirror_config.h"
#include "scene/viewports.h"
#include "sprites/sprite.h"
#include "sprites/sprite_field.h"

namespace {

constexpr std::int32_t kMargin = 2;  // pixels of field kept beyond each edge, for the filtering
constexpr double kWidestWedge = 36.5;  // degrees; the widest layout has 36
// The widest texture even an old software renderer takes: the copies read back from the window
// are split into tiles of this width.
constexpr std::int32_t kWindowTileWidth = 1024;
constexpr std::int32_t kCopyStrip = 128;  // columns copied from the window at a time
// A smaller viewport is left to the clip planes, which cost little there: the copies sample the
// drawn field again, and where the sprites' detail is as fine as the pixels, the second sampling
// shows. Measured with morvane-render --compare over 90 s of 8 seeds: at most 0.38 % of 4x4 blocks
// differ at 640x480 and 0.43 % at 600x400, but 0.96 % at 480x270 and 10 % at 128x72.
constexpr std::int32_t kSmallestCopiedSide = 400;
constexpr std::int32_t kSmallestCopiedArea = 640 * 480;

using Area = WedgeCopies::Area;

bool largeEnoughForCopies(std::int32_t width, std::int32_t height) {
    return std::min(width, height) >= kSmallestCopiedSide && std::int64_t{width} * height >= kSmallestCopiedArea;
}

// Whether the context takes textures of any size: OpenGL 2.0, or the extension before it.
bool texturesOfAnySize() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return (version && version[0] >= '2' && version[0] <= '9') ||
           (extensions && std::strstr(extensions, "GL_ARB_texture_non_power_of_two"));
}
using Rect = WedgeCopies::Rect;

std::int32_t powerOfTwoAtLeast(std::int32_t n) {
    std::int32_t p = 1;
    while (p < n) p *= 2;
    return p;
}

bool containsIgnoringCase(const char* text, const char* word) {
    if (!text) return false;
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find(word) != std::string::npos;
}

Area areaFor(std::int32_t width, std::int32_t height, double wedgeAngle) {
    Area area;
    area.radius = 0.5 * std::sqrt(static_cast<double>(width) * width + static_cast<double>(height) * height);
    area.halfAngle = 0.5 * wedgeAngle * kRadiansPerDegree;
    area.slope = std::tan(area.halfAngle);
    area.columns = static_cast<std::int32_t>(std::ceil(area.radius)) + 2 * kMargin;
    area.halfRows = static_cast<std::int32_t>(std::ceil(area.radius * area.slope)) + kMargin;
    area.rows = 2 * area.halfRows;
    return area;
}

// The rows of the widest layout's area: the textures hold it, so that a change of layout needs none.
std::int32_t widestRows(double radius) {
    return 2 * (static_cast<std::int32_t>(std::ceil(radius * std::tan(0.5 * kWidestWedge * kRadiansPerDegree))) +
                kMargin);
}

// The first of the clip-plane drawing's wedges that reaches past a whole turn. Wedge w covers
// 270 + w * angle to 270 + (w + 1) * angle degrees, from w = -1 on, in whole pairs; those past a
// whole turn (only during a transition) overlap earlier ones and are left to the clip planes.
std::int32_t firstOverlappingWedge(const MirrorConfig& config) {
    const std::int32_t steps = config.segmentCount <= 0 ? 1 : (config.segmentCount + 1) / 2;
    std::int32_t first = 2 * steps - 1;
    while (first > 0 && (first + 1) * config.wedgeAngle > 360.0 + 1e-3) --first;
    return first;
}

// A corner of the polygon a wedge's copy is laid as, in the frame of the copied area: pixels from the
// centre, +x along the wedge's axis. `edges` says which of the wedge's edges it lies on: bit 0 the
// one at y = -x * slope, bit 1 the one at y = +x * slope.
struct Corner {
    double x, y;
    unsigned edges;
};

// Keeps the part of `polygon` where a * x + b * y <= c (Sutherland-Hodgman, one plane).
void clipPolygon(std::vector<Corner>& polygon, double a, double b, double c, std::vector<Corner>& scratch) {
    scratch.clear();
    for (std::size_t k = 0; k < polygon.size(); ++k) {
        const Corner& p = polygon[k];
        const Corner& q = polygon[(k + 1) % polygon.size()];
        const double dp = a * p.x + b * p.y - c, dq = a * q.x + b * q.y - c;
        if (dp <= 0.0) scratch.push_back(p);
        if ((dp < 0.0 && dq > 0.0) || (dp > 0.0 && dq < 0.0)) {
            const double t = dp / (dp - dq);
            scratch.push_back(Corner{p.x + t * (q.x - p.x), p.y + t * (q.y - p.y), p.edges & q.edges});
        }
    }
    polygon.swap(scratch);
}

// The current matrices and the area's viewport, to find where the field's points land in the area.
struct AreaProjection {
    GLdouble modelview[16];
    GLdouble projection[16];
    GLint viewport[4];
};

// A sprite's quad in the area's frame (pixels from the centre); false where a corner does not project.
bool spriteQuad(const Sprite& sprite, const AreaProjection& to, const Area& area, std::vector<Corner>& quad) {
    double corners[4][2];
    sprite.shownCorners(corners);
    quad.clear();
    for (const auto& corner : corners) {
        GLdouble wx = 0.0, wy = 0.0, wz = 0.0;
        if (!gluProject(corner[0], corner[1], sprite.position[2], to.modelview, to.projection, to.viewport, &wx, &wy,
                        &wz))
            return false;
        quad.push_back(Corner{wx - kMargin, wy - area.halfRows, 0u});
    }
    return true;
}

// The rectangle of the area that the sprites cover inside the drawn wedge, with a pixel to spare:
// each sprite's quad, the part that can show, cut to the wedge and its margin (a pixel wider, for the
// rounding), so that a sprite the clip planes leave out widens nothing. Each sprite's own rectangle
// goes into `boxes` (empty where it shows nothing there). Reads the current matrices.
Rect coveredRect(const SpriteField& field, const Area& area, Rect* boxes) {
    AreaProjection to = {{}, {}, {0, 0, area.columns, area.rows}};
    glGetDoublev(GL_MODELVIEW_MATRIX, to.modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, to.projection);
    const double edgeOffset = (kMargin + 1) / std::cos(area.halfAngle);
    Rect covered = {area.columns, area.rows, 0, 0};
    std::vector<Corner> quad, scratch;
    for (std::int32_t k = 0; k < kSpriteCount; ++k) {
        const Sprite& sprite = field.sprites[k];
        Rect& box = boxes[k];
        box = Rect{};
        if (sprite.showsNothing()) continue;
        if (!spriteQuad(sprite, to, area, quad)) {
            box = Rect{0, 0, area.columns, area.rows};
        } else {
            clipPolygon(quad, -area.slope, -1.0, edgeOffset, scratch);
            clipPolygon(quad, -area.slope, 1.0, edgeOffset, scratch);
            if (quad.empty()) continue;
            double left = area.columns, right = 0.0, bottom = area.rows, top = 0.0;
            for (const Corner& p : quad) {
                left = std::min(left, p.x + kMargin);
                right = std::max(right, p.x + kMargin);
                bottom = std::min(bottom, p.y + area.halfRows);
                top = std::max(top, p.y + area.halfRows);
            }
            box.left = std::max(0, static_cast<std::int32_t>(std::floor(left)) - 2);
            box.right = std::min(area.columns, static_cast<std::int32_t>(std::ceil(right)) + 2);
            box.bottom = std::max(0, static_cast<std::int32_t>(std::floor(bottom)) - 2);
            box.top = std::min(area.rows, static_cast<std::int32_t>(std::ceil(top)) + 2);
        }
        covered.left = std::min(covered.left, box.left);
        covered.right = std::max(covered.right, box.right);
        covered.bottom = std::min(covered.bottom, box.bottom);
        covered.top = std::max(covered.top, box.top);
    }
    if (covered.right <= covered.left || covered.top <= covered.bottom) covered = Rect{};
    return covered;
}

// Clears a rectangle of the bound framebuffer, x and y from (x0, y0); leaves the scissor on.
void clearRect(std::int32_t x0, std::int32_t y0, const Rect& rect) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(x0 + rect.left, y0 + rect.bottom, std::max(0, rect.right - rect.left),
              std::max(0, rect.top - rect.bottom));
    glClear(GL_COLOR_BUFFER_BIT);
}

// Only the wedge and kMargin pixels around it are drawn: two clip planes through the eye, given in
// eye coordinates, along the turned wedge's edges moved out by the margin.
void clipToWedge(const Area& area, double pixelsPerSlope) {
    glPushMatrix();
    glLoadIdentity();
    const double normalX = std::sin(area.halfAngle) * pixelsPerSlope;
    const double normalY = std::cos(area.halfAngle) * pixelsPerSlope;
    const GLdouble lowerEdge[4] = {normalX, normalY, -static_cast<double>(kMargin), 0.0};
    const GLdouble upperEdge[4] = {normalX, -normalY, -static_cast<double>(kMargin), 0.0};
    glClipPlane(GL_CLIP_PLANE0, lowerEdge);
    glClipPlane(GL_CLIP_PLANE1, upperEdge);
    glPopMatrix();
}

// Where one wedge's copy goes on screen: the area's frame turned back to the field's, mirrored for
// odd wedges, then turned by the step of the clip-plane drawing that draws this wedge.
struct WedgePlacement {
    std::int32_t wedge;
    bool mirrored;
    double angle;  // degrees
    double halfAngle;  // radians
    double toFieldCos, toFieldSin;
    double stepCos, stepSin;

    WedgePlacement(std::int32_t wedge, double angle, double halfAngle)
        : wedge(wedge), mirrored(wedge % 2 != 0), angle(angle), halfAngle(halfAngle) {
        const double turn = (90.0 - 0.5 * angle) * kRadiansPerDegree;
        const double stepTurn = (mirrored ? wedge + 1 : wedge) * angle * kRadiansPerDegree;
        toFieldCos = std::cos(turn);
        toFieldSin = std::sin(turn);
        stepCos = std::cos(stepTurn);
        stepSin = std::sin(stepTurn);
    }

    void screenPoint(const Corner& p, double& sx, double& sy) const {
        // A mirrored copy swaps the wedge's edges.
        const unsigned edge = mirrored && (p.edges == 1u || p.edges == 2u) ? 3u - p.edges : p.edges;
        if (edge == 1u || edge == 2u) {
            // On an edge of the circle: placed from the edge and the distance alone, so that the
            // neighbouring copy's corner is the same point.
            const double along = p.x / std::cos(halfAngle);
            const double direction = (270.0 + (wedge + (edge == 2u ? 1 : 0)) * angle) * kRadiansPerDegree;
            sx = along * std::cos(direction);
            sy = along * std::sin(direction);
            return;
        }
        double fx = toFieldCos * p.x + toFieldSin * p.y;
        const double fy = -toFieldSin * p.x + toFieldCos * p.y;
        if (mirrored) fx = -fx;
        sx = stepCos * fx - stepSin * fy;
        sy = stepSin * fx + stepCos * fy;
    }
};

}  // namespace

bool isSoftwareRenderer(const char* renderer, const char* vendor) {
    for (const char* name : {"llvmpipe", "softpipe", "swrast", "software rasterizer", "gdi generic"})
        if (containsIgnoringCase(renderer, name) || containsIgnoringCase(vendor, name)) return true;
    return false;
}

MirrorDrawing mirrorDrawingForContext() {
    return isSoftwareRenderer(reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                              reinterpret_cast<const char*>(glGetString(GL_VENDOR)))
               ? MirrorDrawing::Copies
               : MirrorDrawing::ClipPlanes;
}

WedgeCopies::WedgeCopies(bool windowReadable) : windowReadable(windowReadable) {}

WedgeCopies::~WedgeCopies() {
    release();
    if (calls && framebuffer) calls->deleteFramebuffers(1, &framebuffer);
    delete calls;
}

WedgeCopies::Surface WedgeCopies::surface() {
    if (surface_ != Surface::Undecided) return surface_;
    FramebufferCalls* found = new (std::nothrow) FramebufferCalls;
    if (found && loadFramebufferCalls(*found)) {
        calls = found;
        surface_ = Surface::Framebuffer;
        anySize = texturesOfAnySize();
        return surface_;
    }
    delete found;
    surface_ = windowReadable ? Surface::Window : Surface::None;
    return surface_;
}

void WedgeCopies::release() {
    for (Tile& tile : tiles) glDeleteTextures(1, &tile.texture);
    tiles.clear();
    reservedColumns = reservedRows = 0;
}

void WedgeCopies::fitTextures(const SceneViewport* viewports, std::int32_t count, std::uint64_t frame) {
    const Surface where = surface();
    std::int32_t columns = 0, rows = 0;
    for (std::int32_t i = 0; viewports && i < count; ++i) {
        const SceneViewport& v = viewports[i];
        if (!largeEnoughForCopies(v.width, v.height)) continue;
        const Area wanted = areaFor(v.width, v.height, kWidestWedge);
        const std::int32_t wantedRows = widestRows(wanted.radius);
        if (where == Surface::Window && (wanted.columns > v.width || wantedRows > v.height)) continue;
        columns = std::max(columns, wanted.columns);
        rows = std::max(rows, wantedRows);
    }
    if (frame != fittedFrame) {
        fittedFrame = frame;
        lastColumns = frameColumns;
        lastRows = frameRows;
        frameColumns = frameRows = 0;
    }
    frameColumns = std::max(frameColumns, columns);
    frameRows = std::max(frameRows, rows);
    if (columns > 0) reserve(std::max(frameColumns, lastColumns), std::max(frameRows, lastRows));
}

std::int32_t WedgeCopies::textureSide(std::int32_t pixels) const {
    return anySize ? pixels : powerOfTwoAtLeast(pixels);
}

// Textures for an area of this size. False where they cannot be made; a size that failed is not
// tried again, nor a larger one.
bool WedgeCopies::reserve(std::int32_t columns, std::int32_t rows) {
    if (columns == reservedColumns && rows == reservedRows) return true;
    if (refusedColumns > 0 && columns >= refusedColumns && rows >= refusedRows) return false;
    release();
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    // The field is drawn into one texture; copies from the window go into tiles of old renderers' width.
    const bool framebufferSurface = surface_ == Surface::Framebuffer;
    const std::int32_t tileWidth = framebufferSurface ? maxSize : std::min<std::int32_t>(maxSize, kWindowTileWidth);
    const bool made = (!framebufferSurface || columns <= maxSize) && textureSide(rows) <= maxSize &&
                      tileWidth > 4 * kMargin && allocateTiles(columns, rows, tileWidth) &&
                      (!framebufferSurface || attachFramebuffer());
    if (!made) {
        release();
        refusedColumns = columns;
        refusedRows = rows;
        return false;
    }
    reservedColumns = columns;
    reservedRows = rows;
    return true;
}

// Neighbouring tiles share 2 * kMargin columns, so that each has its margin on both sides. False
// where the renderer refuses a texture or runs out of memory making one.
bool WedgeCopies::allocateTiles(std::int32_t columns, std::int32_t rows, std::int32_t tileWidth) {
    textureHeight = textureSide(rows);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    // Errors left by earlier calls are not this allocation's.
    for (int k = 0; k < 16 && glGetError() != GL_NO_ERROR; ++k) {
    }
    bool made = true;
    for (std::int32_t first = 0; made && first < columns - 2 * kMargin; first += tileWidth - 2 * kMargin) {
        Tile tile;
        tile.firstColumn = first;
        tile.textureWidth = textureSide(std::min(tileWidth, columns - first));
        GLint width = 0;
        glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA, tile.textureWidth, textureHeight, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
        glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        if (width == 0) break;
        glGenTextures(1, &tile.texture);
        glBindTexture(GL_TEXTURE_2D, tile.texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, tile.textureWidth, textureHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
        tiles.push_back(tile);
        // Out of memory leaves an incomplete texture, which would lay flat colour.
        made = glGetError() == GL_NO_ERROR;
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    return made && !tiles.empty() && tiles.back().firstColumn + tileWidth >= columns;
}

bool WedgeCopies::attachFramebuffer() {
    if (tiles.size() != 1) return false;
    if (!framebuffer) calls->genFramebuffers(1, &framebuffer);
    GLint previous = 0;
    glGetIntegerv(kFramebufferBinding, &previous);
    calls->bindFramebuffer(kFramebuffer, framebuffer);
    calls->framebufferTexture2D(kFramebuffer, kColorAttachment0, GL_TEXTURE_2D, tiles[0].texture, 0);
    const bool complete = calls->checkFramebufferStatus(kFramebuffer) == kFramebufferComplete;
    calls->bindFramebuffer(kFramebuffer, static_cast<GLuint>(previous));
    return complete;
}

bool WedgeCopies::drawField(const SpriteField& field, const MirrorConfig& config) {
    if (!field.sprites || !(config.wedgeAngle > 0.0f && config.wedgeAngle <= kWidestWedge)) return false;
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (!largeEnoughForCopies(viewport[2], viewport[3])) return false;
    const Area wanted = areaFor(viewport[2], viewport[3], config.wedgeAngle);
    const std::int32_t rows = widestRows(wanted.radius);
    // In the window the area must lie inside the viewport.
    const Surface where = surface();
    const bool inWindow = where == Surface::Window && wanted.columns <= viewport[2] && rows <= viewport[3];
    if (!(where == Surface::Framebuffer || inWindow) || wanted.columns > reservedColumns || rows > reservedRows)
        return false;
    area = wanted;
    wedgeAngle = config.wedgeAngle;

    // The field with the projection of the viewport scaled and moved so that the centre lands kMargin
    // columns in from the left edge of the area and halfway up it, at the same pixel scale; the wedge
    // from 270 to 270 + the angle degrees turned to open along +x.
    GLint windowFramebuffer = 0;
    if (where == Surface::Framebuffer) {
        glGetIntegerv(kFramebufferBinding, &windowFramebuffer);
        calls->bindFramebuffer(kFramebuffer, framebuffer);
        glViewport(0, 0, area.columns, area.rows);
    } else {
        glViewport(viewport[0], viewport[1], area.columns, area.rows);
    }
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const GLfloat columns = static_cast<GLfloat>(area.columns), areaRows = static_cast<GLfloat>(area.rows);
    const GLfloat toArea[16] = {static_cast<GLfloat>(viewport[2]) / columns, 0.0f, 0.0f, 0.0f,
                                0.0f, static_cast<GLfloat>(viewport[3]) / areaRows, 0.0f, 0.0f,
                                0.0f, 0.0f, 1.0f, 0.0f,
                                2.0f * kMargin / columns - 1.0f, 0.0f, 0.0f, 1.0f};
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(toArea);
    glMultMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glRotatef(90.0f - 0.5f * config.wedgeAngle, 0.0f, 0.0f, 1.0f);
    Rect boxes[kSpriteCount];
    covered = coveredRect(field, area, boxes);
    // The window's corner still holds the clear colour; the texture holds the last frame's field.
    if (where == Surface::Framebuffer) clearRect(0, 0, covered);
    glDisable(GL_SCISSOR_TEST);
    clipToWedge(area, 0.5 * viewport[3] * projection[5]);  // pixels per unit of y / -z
    glEnable(GL_CLIP_PLANE0);
    glEnable(GL_CLIP_PLANE1);
    field.beginSprites();
    glFrontFace(GL_CCW);
    // Each sprite only where it can show: the scissor leaves the rest of its quad, which would blend
    // in nothing, to no fragment at all, and keeps the quad's own rasterization inside.
    const std::int32_t x0 = where == Surface::Framebuffer ? 0 : viewport[0];
    const std::int32_t y0 = where == Surface::Framebuffer ? 0 : viewport[1];
    glEnable(GL_SCISSOR_TEST);
    for (std::int32_t k = 0; k < kSpriteCount; ++k) {
        const Rect& box = boxes[k];
        if (box.right <= box.left || box.top <= box.bottom) continue;
        glScissor(x0 + box.left, y0 + box.bottom, box.right - box.left, box.top - box.bottom);
        field.sprites[k].draw();
    }
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_CLIP_PLANE1);
    glPopMatrix();
    if (where == Surface::Framebuffer)
        calls->bindFramebuffer(kFramebuffer, static_cast<GLuint>(windowFramebuffer));
    else
        copyFromWindow(viewport);
    return true;
}

// The drawn field from the window's corner into the tiles, then that corner back to the background.
void WedgeCopies::copyFromWindow(const std::int32_t* viewport) {
    const std::int32_t x0 = viewport[0], y0 = viewport[1];
    GLint drawBuffer = 0;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    glReadBuffer(static_cast<GLenum>(drawBuffer));
    for (std::size_t k = 0; k < tiles.size(); ++k) {
        const Tile& tile = tiles[k];
        const std::int32_t tileEnd = k + 1 < tiles.size() ? tiles[k + 1].firstColumn + 2 * kMargin : area.columns;
        const GLint first = std::max(covered.left, tile.firstColumn);
        const GLint last = std::min(covered.right, tileEnd);
        if (last <= first || covered.top <= covered.bottom) continue;
        glBindTexture(GL_TEXTURE_2D, tile.texture);
        // In strips of columns, each only as tall as the wedge is at its far side.
        for (GLint strip = first; strip < last; strip += kCopyStrip) {
            const GLint stripEnd = std::min(last, strip + kCopyStrip);
            const GLint reach = static_cast<GLint>(std::ceil((stripEnd - kMargin) * area.slope)) + 2 * kMargin;
            const GLint bottom = std::max(covered.bottom, area.halfRows - reach);
            const GLint top = std::min(covered.top, area.halfRows + reach);
            if (top <= bottom) continue;
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, strip - tile.firstColumn, bottom, x0 + strip, y0 + bottom,
                                stripEnd - strip, top - bottom);
        }
    }
    clearRect(x0, y0, covered);
    glDisable(GL_SCISSOR_TEST);
}

// The copies, in pixels about the centre of the viewport, over the background: where a copy shows
// no sprite it is the background's black, so only the sprites' rectangle is laid. Direct wedge i,
// then its mirror image i - 1, as the clip planes draw them.
std::int32_t WedgeCopies::lay(const MirrorConfig& config) {
    const std::int32_t firstClipped = firstOverlappingWedge(config);
    GLint v[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, v);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-0.5 * v[2], 0.5 * v[2], -0.5 * v[3], 0.5 * v[3], -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_BLEND);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    for (std::int32_t i = 0; i - 1 < firstClipped; i += 2) {
        if (i < firstClipped) layWedge(i);
        layWedge(i - 1);
    }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    return firstClipped;
}

// One wedge's copy, tile by tile: the wedge's triangle cut to the covered rectangle, less the
// pixel at its border that the copies may not hold.
void WedgeCopies::layWedge(std::int32_t wedge) {
    const WedgePlacement placement(wedge, wedgeAngle, area.halfAngle);
    const double laidLeft = covered.left + 1 - kMargin, laidRight = covered.right - 1 - kMargin;
    const double laidBottom = covered.bottom + 1 - area.halfRows, laidTop = covered.top - 1 - area.halfRows;
    std::vector<Corner> polygon, scratch;
    for (std::size_t k = 0; k < tiles.size(); ++k) {
        const Tile& tile = tiles[k];
        const double inner = std::max(laidLeft, k == 0 ? 0.0 : static_cast<double>(tile.firstColumn));
        const double outer =
            std::min(laidRight, k + 1 == tiles.size() ? area.radius : static_cast<double>(tiles[k + 1].firstColumn));
        if (outer <= inner) continue;
        polygon.assign({Corner{0.0, 0.0, 3u}, Corner{area.radius, -area.radius * area.slope, 1u},
                        Corner{area.radius, area.radius * area.slope, 2u}});
        clipPolygon(polygon, -1.0, 0.0, -inner, scratch);
        clipPolygon(polygon, 1.0, 0.0, outer, scratch);
        clipPolygon(polygon, 0.0, -1.0, -laidBottom, scratch);
        clipPolygon(polygon, 0.0, 1.0, laidTop, scratch);
        if (polygon.size() < 3) continue;
        glBindTexture(GL_TEXTURE_2D, tile.texture);
        glBegin(GL_POLYGON);
        // A mirrored copy reverses the polygon's turn: walk it backwards to keep it counter-clockwise.
        for (std::size_t n = 0; n < polygon.size(); ++n) {
            const Corner& p = polygon[placement.mirrored ? polygon.size() - 1 - n : n];
            glTexCoord2d((kMargin + p.x - tile.firstColumn) / tile.textureWidth, (area.halfRows + p.y) / textureHeight);
            double sx = 0.0, sy = 0.0;
            placement.screenPoint(p, sx, sy);
            glVertex2d(sx, sy);
        }
        glEnd();
    }
}
