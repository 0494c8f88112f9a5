// The kaleidoscope laid from copies of one drawing of the field. Pairs with wedge_copies.h.
//
// Camera and clip planes both sit on the viewing axis, so every wedge of the clip-plane drawing is
// the screen image of the unturned field inside the wedge from 270 degrees to 270 + the wedge angle,
// turned (and, for every second wedge, mirrored) about the centre of the viewport. That image is
// drawn once, turned to open along +x, into the bottom-left corner of the viewport with the same
// pixel scale, copied into textures and laid out again as one textured triangle (or a few
// trapezoids, one per texture) per wedge, cut to the rectangle the sprites cover. Where a
// transition's last wedges overlap the first ones, those are left to the clip planes, which blend
// them over the copies as they would over their own earlier wedges.
#include "scene/wedge_copies.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

#include "scene/mirror_config.h"
#include "scene/scene.h"
#include "sprites/sprite.h"
#include "sprites/sprite_field.h"

namespace {

constexpr std::int32_t kMargin = 2;  // pixels of field kept beyond each edge, for the filtering
constexpr double kWidestWedge = 36.5;  // degrees; the widest layout has 36
constexpr std::int32_t kTileWidth = 1024;
constexpr std::int32_t kCopyStrip = 128;  // columns copied at a time  // the widest texture even an old software renderer takes
constexpr double kPi = 3.14159265358979323846;

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

WedgeCopies::~WedgeCopies() { release(); }

void WedgeCopies::release() {
    for (Tile& tile : tiles) glDeleteTextures(1, &tile.texture);
    tiles.clear();
}

// The area of one wedge for a viewport of this size, and textures for it; false where either does
// not fit (the area must lie inside the viewport, a tile inside a texture).
bool WedgeCopies::fit(std::int32_t viewportWidth, std::int32_t viewportHeight) {
    if (viewportWidth == fittedWidth && viewportHeight == fittedHeight) return fits;
    release();
    fittedWidth = viewportWidth;
    fittedHeight = viewportHeight;
    fits = false;
    radius = 0.5 * std::sqrt(static_cast<double>(viewportWidth) * viewportWidth +
                             static_cast<double>(viewportHeight) * viewportHeight);
    columns = static_cast<std::int32_t>(std::ceil(radius)) + 2 * kMargin;
    const std::int32_t rows =
        2 * (static_cast<std::int32_t>(std::ceil(radius * std::tan(kWidestWedge * kPi / 360.0))) + kMargin);
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    const std::int32_t tileWidth = std::min<std::int32_t>(maxSize, kTileWidth);
    textureHeight = powerOfTwoAtLeast(rows);
    if (columns > viewportWidth || rows > viewportHeight || textureHeight > maxSize || tileWidth <= 4 * kMargin)
        return false;

    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    bool allocated = true;
    // Neighbouring tiles share 2 * kMargin columns, so that each has its margin on both sides.
    for (std::int32_t first = 0; first < radius; first += tileWidth - 2 * kMargin) {
        Tile tile;
        tile.firstColumn = first;
        tile.columns = std::min(tileWidth, columns - first);
        tile.textureWidth = powerOfTwoAtLeast(tile.columns);
        GLint width = 0;
        glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA, tile.textureWidth, textureHeight, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
        glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        if (width == 0) {
            allocated = false;
            break;
        }
        glGenTextures(1, &tile.texture);
        glBindTexture(GL_TEXTURE_2D, tile.texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, tile.textureWidth, textureHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
        tiles.push_back(tile);
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    if (!allocated) release();
    fits = allocated;
    return fits;
}

bool WedgeCopies::lay(Scene& scene, const MirrorConfig& config, std::int32_t& firstClipped) {
    SpriteField* field = scene.spriteField;
    const double angle = config.wedgeAngle;
    if (!field || !field->sprites || !(angle > 0.0 && angle <= kWidestWedge)) return false;
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (!fit(viewport[2], viewport[3])) return false;
    const GLint x0 = viewport[0], y0 = viewport[1], width = viewport[2], height = viewport[3];

    const double halfAngle = angle * kPi / 360.0;
    const double slope = std::tan(halfAngle);
    const std::int32_t halfRows = static_cast<std::int32_t>(std::ceil(radius * slope)) + kMargin;
    const std::int32_t rows = 2 * halfRows;
    // The clip-plane drawing's whole pairs of wedges. Wedge w covers 270 + w * angle to
    // 270 + (w + 1) * angle degrees, from w = -1 on; those that reach past a whole turn from there
    // (only during a transition) overlap earlier ones and are left to the clip planes.
    const std::int32_t steps = config.segmentCount <= 0 ? 1 : (config.segmentCount + 1) / 2;
    firstClipped = 2 * steps - 1;
    while (firstClipped > 0 && (firstClipped + 1) * angle > 360.0 + 1e-3) --firstClipped;

    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    std::copy(viewport, viewport + 4, savedViewport);
    scissorWasOn = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
    glGetIntegerv(GL_SCISSOR_BOX, scissorBox);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    GLint drawBuffer = GL_BACK;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);

    // The field once, into the bottom-left corner of the viewport (still the clear colour): the same
    // projection, scaled and moved so that the centre lands kMargin columns in from the left edge
    // of the area and halfway up it, at the same pixel scale.
    glViewport(x0, y0, columns, rows);
    const GLfloat area[16] = {static_cast<GLfloat>(width) / static_cast<GLfloat>(columns), 0.0f, 0.0f, 0.0f,
                              0.0f, static_cast<GLfloat>(height) / static_cast<GLfloat>(rows), 0.0f, 0.0f,
                              0.0f, 0.0f, 1.0f, 0.0f,
                              2.0f * kMargin / static_cast<GLfloat>(columns) - 1.0f, 0.0f, 0.0f, 1.0f};
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(area);
    glMultMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    // The wedge from 270 to 270 + angle degrees, turned to open along +x.
    glRotatef(90.0f - 0.5f * config.wedgeAngle, 0.0f, 0.0f, 1.0f);

    // The rectangle of the area that the sprites cover inside the drawn wedge, with a pixel to spare:
    // each sprite's corners, in pixels from the centre, and its quad cut to the wedge and its margin
    // (a pixel wider, for the rounding), so that a sprite the clip planes leave out widens nothing.
    GLdouble modelview[16], areaProjection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, areaProjection);
    const GLint areaViewport[4] = {0, 0, columns, rows};
    const double edgeOffset = (kMargin + 1) / std::cos(halfAngle);
    double left = columns, right = 0.0, bottom = rows, top = 0.0;
    std::vector<Corner> quad, scratch;
    for (std::int32_t k = 0; k < kSpriteCount; ++k) {
        const Sprite& sprite = field->sprites[k];
        const double turn = -sprite.angle * kPi / 180.0;
        const double c = std::cos(turn), s = std::sin(turn);
        quad.clear();
        bool projected = true;
        for (const double u : {-1.0, 1.0}) {
            for (const double v : {-1.0, 1.0}) {
                const double lx = u * sprite.scale, ly = u * v * sprite.scale * sprite.aspect;
                GLdouble wx = 0.0, wy = 0.0, wz = 0.0;
                projected = projected && gluProject(sprite.position[0] + c * lx - s * ly,
                                                    sprite.position[1] + s * lx + c * ly, sprite.position[2],
                                                    modelview, areaProjection, areaViewport, &wx, &wy, &wz);
                quad.push_back(Corner{wx - kMargin, wy - halfRows, 0u});
            }
        }
        if (!projected) {
            left = bottom = 0.0;
            right = columns;
            top = rows;
            break;
        }
        clipPolygon(quad, -slope, -1.0, edgeOffset, scratch);
        clipPolygon(quad, -slope, 1.0, edgeOffset, scratch);
        for (const Corner& p : quad) {
            left = std::min(left, p.x + kMargin);
            right = std::max(right, p.x + kMargin);
            bottom = std::min(bottom, p.y + halfRows);
            top = std::max(top, p.y + halfRows);
        }
    }
    const GLint copyLeft = std::max(0, static_cast<GLint>(std::floor(left)) - 2);
    const GLint copyRight = std::min(columns, static_cast<GLint>(std::ceil(right)) + 2);
    const GLint copyBottom = std::max(0, static_cast<GLint>(std::floor(bottom)) - 2);
    const GLint copyTop = std::min(rows, static_cast<GLint>(std::ceil(top)) + 2);

    // Only the wedge and kMargin pixels around it are drawn: two clip planes through the eye, given
    // in eye coordinates, along the turned wedge's edges moved out by the margin.
    glPushMatrix();
    glLoadIdentity();
    const double pixelsPerSlope = 0.5 * height * projection[5];  // pixels per unit of y / -z
    const double normalX = std::sin(halfAngle) * pixelsPerSlope, normalY = std::cos(halfAngle) * pixelsPerSlope;
    const GLdouble lowerEdge[4] = {normalX, normalY, -static_cast<double>(kMargin), 0.0};
    const GLdouble upperEdge[4] = {normalX, -normalY, -static_cast<double>(kMargin), 0.0};
    glClipPlane(GL_CLIP_PLANE0, lowerEdge);
    glClipPlane(GL_CLIP_PLANE1, upperEdge);
    glPopMatrix();
    glEnable(GL_CLIP_PLANE0);
    glEnable(GL_CLIP_PLANE1);
    field->beginSprites();
    glFrontFace(GL_CCW);
    field->drawSprites();
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_CLIP_PLANE1);
    glPopMatrix();

    glReadBuffer(static_cast<GLenum>(drawBuffer));
    for (const Tile& tile : tiles) {
        const GLint first = std::max(copyLeft, tile.firstColumn);
        const GLint last = std::min(copyRight, tile.firstColumn + tile.columns);
        if (last <= first || copyTop <= copyBottom) continue;
        glBindTexture(GL_TEXTURE_2D, tile.texture);
        // In strips of columns, each only as tall as the wedge is at its far side.
        for (GLint strip = first; strip < last; strip += kCopyStrip) {
            const GLint stripEnd = std::min(last, strip + kCopyStrip);
            const GLint reach = static_cast<GLint>(std::ceil((stripEnd - kMargin) * slope)) + 2 * kMargin;
            const GLint bottom = std::max(copyBottom, halfRows - reach), top = std::min(copyTop, halfRows + reach);
            if (top <= bottom) continue;
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, strip - tile.firstColumn, bottom, x0 + strip, y0 + bottom,
                                stripEnd - strip, top - bottom);
        }
    }
    // Back to the background where the sprites were drawn.
    glEnable(GL_SCISSOR_TEST);
    glScissor(x0 + copyLeft, y0 + copyBottom, std::max(0, copyRight - copyLeft), std::max(0, copyTop - copyBottom));
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    // The copies, in pixels about the centre of the viewport, over the background: where a copy
    // shows no sprite it is the background's black, so only the sprites' rectangle is laid.
    glViewport(x0, y0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-0.5 * width, 0.5 * width, -0.5 * height, 0.5 * height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_BLEND);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    // In the area's frame, x from the centre along the axis and y across it.
    const double laidLeft = copyLeft + 1 - kMargin, laidRight = copyRight - 1 - kMargin;
    const double laidBottom = copyBottom + 1 - halfRows, laidTop = copyTop - 1 - halfRows;
    const double turn = (90.0 - 0.5 * angle) * kPi / 180.0;
    std::vector<Corner> polygon;
    // Direct wedge 2j, then its mirror image 2j - 1.
    for (std::int32_t i = 0; i < firstClipped + 1; i += 2) {
        for (const std::int32_t wedge : {i, i - 1}) {
            if (wedge >= firstClipped) continue;
            const bool mirrored = wedge != i;
            const std::int32_t step = mirrored ? wedge + 1 : wedge;
            // Screen angle of a point of the area: the area's frame turned back to the field's,
            // mirrored for odd wedges, then turned by the step.
            const double stepTurn = step * angle * kPi / 180.0;
            for (std::size_t k = 0; k < tiles.size(); ++k) {
                const Tile& tile = tiles[k];
                const double inner = std::max(laidLeft, k == 0 ? 0.0 : static_cast<double>(tile.firstColumn));
                const double outer = std::min(
                    laidRight, k + 1 == tiles.size() ? radius : static_cast<double>(tiles[k + 1].firstColumn));
                if (outer <= inner) continue;
                polygon.assign({Corner{0.0, 0.0, 3u}, Corner{radius, -radius * slope, 1u},
                                Corner{radius, radius * slope, 2u}});
                clipPolygon(polygon, -1.0, 0.0, -inner, scratch);
                clipPolygon(polygon, 1.0, 0.0, outer, scratch);
                clipPolygon(polygon, 0.0, -1.0, -laidBottom, scratch);
                clipPolygon(polygon, 0.0, 1.0, laidTop, scratch);
                if (polygon.size() < 3) continue;
                glBindTexture(GL_TEXTURE_2D, tile.texture);
                glBegin(GL_POLYGON);
                // A mirrored copy reverses the polygon's turn: walk it backwards to keep it
                // counter-clockwise on screen.
                for (std::size_t n = 0; n < polygon.size(); ++n) {
                    const Corner& p = polygon[mirrored ? polygon.size() - 1 - n : n];
                    glTexCoord2d((kMargin + p.x - tile.firstColumn) / tile.textureWidth,
                                 (halfRows + p.y) / textureHeight);
                    double sx = 0.0, sy = 0.0;
                    const unsigned edgeBit = mirrored ? (p.edges == 1u ? 2u : p.edges == 2u ? 1u : p.edges) : p.edges;
                    if (edgeBit == 1u || edgeBit == 2u) {
                        // On an edge of the circle: placed from the edge and the distance alone, so
                        // that the neighbouring copy's corner is the same point.
                        const std::int32_t edge = wedge + (edgeBit == 2u ? 1 : 0);
                        const double along = p.x / std::cos(halfAngle);
                        const double direction = (270.0 + edge * angle) * kPi / 180.0;
                        sx = along * std::cos(direction);
                        sy = along * std::sin(direction);
                    } else {
                        // Back to the field's frame, mirrored across its y axis if need be, then turned.
                        double fx = std::cos(turn) * p.x + std::sin(turn) * p.y;
                        const double fy = -std::sin(turn) * p.x + std::cos(turn) * p.y;
                        if (mirrored) fx = -fx;
                        sx = std::cos(stepTurn) * fx - std::sin(stepTurn) * fy;
                        sy = std::sin(stepTurn) * fx + std::cos(stepTurn) * fy;
                    }
                    glVertex2d(sx, sy);
                }
                glEnd();
            }
        }
    }
    glPopMatrix();
    glEnable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    field->beginSprites();
    return true;
}

void WedgeCopies::clipToBand() {
    // The band's rectangle, with a pixel to spare, cleared for the clip-plane drawing.
    GLdouble modelview[16], projected[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    for (int j = 0; j < 16; ++j) projected[j] = projection[j];
    const GLint* v = savedViewport;
    double left = 1e9, right = -1e9, bottom = 1e9, top = -1e9;
    for (const double sx : {-1.0, 1.0}) {
        for (const double sy : {-1.0, 1.0}) {
            GLdouble wx = 0.0, wy = 0.0, wz = 0.0;
            gluProject(kBandCentre[0] + sx * kBandHalfWidth, kBandCentre[1] + sy * kBandHalfHeight, 0.0, modelview,
                       projected, v, &wx, &wy, &wz);
            left = std::min(left, wx);
            right = std::max(right, wx);
            bottom = std::min(bottom, wy);
            top = std::max(top, wy);
        }
    }
    const GLint bandLeft = std::max<GLint>(v[0], static_cast<GLint>(std::floor(left)) - 1);
    const GLint bandBottom = std::max<GLint>(v[1], static_cast<GLint>(std::floor(bottom)) - 1);
    const GLint bandRight = std::min<GLint>(v[0] + v[2], static_cast<GLint>(std::ceil(right)) + 1);
    const GLint bandTop = std::min<GLint>(v[1] + v[3], static_cast<GLint>(std::ceil(top)) + 1);
    glEnable(GL_SCISSOR_TEST);
    glScissor(bandLeft, bandBottom, std::max(0, bandRight - bandLeft), std::max(0, bandTop - bandBottom));
    glClear(GL_COLOR_BUFFER_BIT);
}

void WedgeCopies::finish() {
    glScissor(scissorBox[0], scissorBox[1], scissorBox[2], scissorBox[3]);
    if (!scissorWasOn) glDisable(GL_SCISSOR_TEST);
    glReadBuffer(static_cast<GLenum>(readBuffer));
}
